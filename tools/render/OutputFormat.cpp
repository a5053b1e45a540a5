#include "tools/render/OutputFormat.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <utility>

#include "tools/common/ToolError.h"

namespace wrenfold {

namespace {

constexpr std::pair<const char*, int> extensionFormats[] = {
    {"wav", SF_FORMAT_WAV},   {"wave", SF_FORMAT_WAV}, {"flac", SF_FORMAT_FLAC},
    {"aiff", SF_FORMAT_AIFF}, {"aif", SF_FORMAT_AIFF}, {"aifc", SF_FORMAT_AIFF},
    {"ogg", SF_FORMAT_OGG},   {"oga", SF_FORMAT_OGG},  {"caf", SF_FORMAT_CAF},
    {"au", SF_FORMAT_AU},     {"snd", SF_FORMAT_AU},   {"w64", SF_FORMAT_W64},
    {"rf64", SF_FORMAT_RF64},
};

// The sample formats an output keeps from its input; any other (8-bit, u-law, A-law, ADPCM, ...)
// would cost the echoes' quiet tails their resolution, and becomes the format's default.
bool isKeptSubtype(int subtype) {
  switch (subtype) {
    case SF_FORMAT_PCM_16:
    case SF_FORMAT_PCM_24:
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT:
    case SF_FORMAT_DOUBLE:
      return true;
    default:
      return false;
  }
}

int defaultSubtype(int major) {
  switch (major) {
    case SF_FORMAT_OGG:
      return SF_FORMAT_VORBIS;
    default:
      return SF_FORMAT_PCM_24;
  }
}

// Returns the lower-case text after the name's last dot, or nothing when the name has no dot.
std::string extensionOf(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  const std::size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
    return "";
  }
  std::string extension = path.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

std::string supportedExtensions() {
  std::string text;
  for (const auto& entry : extensionFormats) {
    text += (text.empty() ? "." : ", .") + std::string(entry.first);
  }
  return text;
}

bool possible(int format, int sampleRate, int channels) {
  SF_INFO info{};
  info.format = format;
  info.samplerate = sampleRate;
  info.channels = channels;
  return sf_format_check(&info) != 0;
}

// Plain WAV, AIFF and AU count their data in 32 bits; the margin leaves room for the header's
// other chunks within the same count.
constexpr int64_t thirtyTwoBitDataLimit = (int64_t{1} << 32) - (int64_t{1} << 16);

// The formats whose header cannot describe more than thirtyTwoBitDataLimit bytes of audio, with
// the name a message gives them; the others count in 64 bits or need no length.
constexpr std::pair<int, const char*> limitedFormats[] = {{SF_FORMAT_WAV, "WAV"},
                                                          {SF_FORMAT_WAVEX, "WAV"},
                                                          {SF_FORMAT_AIFF, "AIFF"},
                                                          {SF_FORMAT_AU, "AU"}};

// Bytes per sample of the sample formats an output may have; compressed ones have no fixed size
// and their formats no 32-bit limit.
int64_t sampleBytes(int subtype) {
  switch (subtype) {
    case SF_FORMAT_PCM_16:
      return 2;
    case SF_FORMAT_PCM_24:
      return 3;
    case SF_FORMAT_DOUBLE:
      return 8;
    default:
      return 4;
  }
}

const char* limitedFormatName(int major) {
  for (const auto& [format, name] : limitedFormats) {
    if (format == major) {
      return name;
    }
  }
  return nullptr;
}

}  // namespace

int majorFormatForPath(const std::string& path) {
  const std::string extension = extensionOf(path);
  for (const auto& [name, format] : extensionFormats) {
    if (extension == name) {
      return format;
    }
  }
  return 0;
}

int chooseOutputFormat(const std::string& outputPath, int inputFormat, int sampleRate,
                       int channels) {
  const int inputMajor = inputFormat & SF_FORMAT_TYPEMASK;
  int major = majorFormatForPath(outputPath);
  if (major == 0 && !extensionOf(outputPath).empty()) {
    throw ToolError("cannot write '" + outputPath + "': unknown extension '." +
                    extensionOf(outputPath) + "'; supported: " + supportedExtensions());
  }
  if (major == 0) {
    major = inputMajor != 0 ? inputMajor : SF_FORMAT_WAV;
  }
  // A WAV file with the extensible header is still a WAV file to the user.
  if (major == SF_FORMAT_WAV && inputMajor == SF_FORMAT_WAVEX) {
    major = SF_FORMAT_WAVEX;
  }
  if (major == inputMajor && isKeptSubtype(inputFormat & SF_FORMAT_SUBMASK)) {
    const int same = inputFormat & ~SF_FORMAT_ENDMASK;
    if (possible(same, sampleRate, channels)) {
      return same;
    }
  }
  return major | defaultSubtype(major);
}

int fitFormatToLength(const std::string& outputPath, int format, int channels, int64_t frames) {
  const int major = format & SF_FORMAT_TYPEMASK;
  const char* name = limitedFormatName(major);
  const int64_t bytes = frames * channels * sampleBytes(format & SF_FORMAT_SUBMASK);
  if (name == nullptr || bytes <= thirtyTwoBitDataLimit) {
    return format;
  }
  if (major == SF_FORMAT_WAV || major == SF_FORMAT_WAVEX) {
    return SF_FORMAT_RF64 | (format & SF_FORMAT_SUBMASK);
  }
  char size[32];
  std::snprintf(size, sizeof size, "%.2f GiB", static_cast<double>(bytes) / (1 << 30));
  throw ToolError("cannot write '" + outputPath + "': " + name +
                  " holds at most 4 GiB of audio and this render may reach " + size +
                  "; write .w64, .rf64, .caf or .flac instead");
}

}  // namespace wrenfold
