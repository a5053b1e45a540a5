#include "tools/render/SoundFileReader.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <optional>

#include "tools/render/RenderError.h"

namespace wrenfold {

namespace {

constexpr int kMinSampleRate = 1000;
constexpr int kMaxSampleRate = 768000;

void refuseFolder(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
    throw RenderError("cannot read '" + path + "': it is a folder, not an audio file");
  }
}

uint32_t littleEndian32(const unsigned char* bytes) {
  return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

// Returns the sample rate a RIFF WAVE header declares, or nothing for any other file. libsndfile
// refuses a rate of 0 with an internal error text; this lets the message name the real fault.
std::optional<int64_t> declaredWaveRate(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  unsigned char header[12];
  if (!file.read(reinterpret_cast<char*>(header), sizeof header) ||
      std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0) {
    return std::nullopt;
  }
  unsigned char chunk[8];
  while (file.read(reinterpret_cast<char*>(chunk), sizeof chunk)) {
    const uint32_t size = littleEndian32(chunk + 4);
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      unsigned char format[8];
      if (!file.read(reinterpret_cast<char*>(format), sizeof format)) {
        return std::nullopt;
      }
      return littleEndian32(format + 4);
    }
    file.seekg(static_cast<std::streamoff>(size) + (size & 1), std::ios::cur);
  }
  return std::nullopt;
}

void refuseSampleRate(const std::string& path, int64_t sampleRate) {
  if (sampleRate < kMinSampleRate || sampleRate > kMaxSampleRate) {
    throw RenderError("'" + path + "' declares a sample rate of " + std::to_string(sampleRate) +
                      " Hz; only " + std::to_string(kMinSampleRate) + " to " +
                      std::to_string(kMaxSampleRate) + " Hz can be rendered");
  }
}

}  // namespace

SoundFileReader::SoundFileReader(const std::string& path) : path_(path) {
  refuseFolder(path);
  file_ = sf_open(path.c_str(), SFM_READ, &info_);
  if (file_ == nullptr) {
    const std::string reason = sf_strerror(nullptr);
    if (const std::optional<int64_t> rate = declaredWaveRate(path)) {
      refuseSampleRate(path, *rate);
    }
    throw RenderError("cannot read '" + path + "': " + reason);
  }
  try {
    refuseUnusableContent();
  } catch (const RenderError&) {
    sf_close(file_);
    throw;
  }
}

void SoundFileReader::refuseUnusableContent() const {
  if (info_.channels > 2) {
    throw RenderError("'" + path_ + "' has " + std::to_string(info_.channels) +
                      " channels; only mono and stereo files can be rendered");
  }
  if (info_.frames <= 0) {
    throw RenderError("'" + path_ + "' holds no audio");
  }
  refuseSampleRate(path_, info_.samplerate);
}

SoundFileReader::~SoundFileReader() { sf_close(file_); }

int64_t SoundFileReader::read(float* interleaved, int64_t frames) {
  const sf_count_t got = sf_readf_float(file_, interleaved, frames);
  if (got < frames && sf_error(file_) != SF_ERR_NO_ERROR) {
    throw RenderError("cannot read '" + path_ + "': " + sf_strerror(file_));
  }
  return got;
}

}  // namespace wrenfold
