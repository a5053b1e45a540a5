#include "tools/render/OutputFormat.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <utility>

#include "tools/render/RenderError.h"

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
    throw RenderError("cannot write '" + outputPath + "': unknown extension '." +
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

}  // namespace wrenfold
