#include "tools/render/OutputFormat.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <utility>

namespace wrenfold {

namespace {

constexpr std::pair<const char*, int> kExtensions[] = {
    {"wav", SF_FORMAT_WAV},   {"wave", SF_FORMAT_WAV}, {"flac", SF_FORMAT_FLAC},
    {"aiff", SF_FORMAT_AIFF}, {"aif", SF_FORMAT_AIFF}, {"aifc", SF_FORMAT_AIFF},
    {"ogg", SF_FORMAT_OGG},   {"oga", SF_FORMAT_OGG},  {"caf", SF_FORMAT_CAF},
    {"au", SF_FORMAT_AU},     {"snd", SF_FORMAT_AU},   {"w64", SF_FORMAT_W64},
    {"rf64", SF_FORMAT_RF64},
};

int defaultSubtype(int major) {
  switch (major) {
    case SF_FORMAT_OGG:
      return SF_FORMAT_VORBIS;
    default:
      return SF_FORMAT_PCM_24;
  }
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
  const std::size_t dot = path.rfind('.');
  const std::size_t slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
    return 0;
  }
  std::string extension = path.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const auto& [name, format] : kExtensions) {
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
  if (major == 0) {
    major = inputMajor != 0 ? inputMajor : SF_FORMAT_WAV;
  }
  if (major == inputMajor) {
    const int same = inputFormat & ~SF_FORMAT_ENDMASK;
    if (possible(same, sampleRate, channels)) {
      return same;
    }
  }
  return major | defaultSubtype(major);
}

}  // namespace wrenfold
