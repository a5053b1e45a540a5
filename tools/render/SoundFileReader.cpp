#include "tools/render/SoundFileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>

#include "tools/common/ToolError.h"

namespace wrenfold {

namespace {

constexpr int minSampleRate = 1000;
constexpr int maxSampleRate = 768000;

uint32_t littleEndian32(const unsigned char* bytes) {
  return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

uint16_t littleEndian16(const unsigned char* bytes) {
  return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

// What a RIFF WAVE header declares, before libsndfile corrects it to the file's real size.
struct WaveHeader {
  int64_t sampleRate = -1;
  int64_t blockAlign = 0;
  int64_t dataBytes = -1;
};

// Returns the header of a RIFF WAVE file, or nothing for any other file. libsndfile refuses a
// rate of 0 with an internal error text, and quietly shortens a data chunk longer than the file;
// the header's own figures let the messages name the real fault.
std::optional<WaveHeader> readWaveHeader(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  unsigned char header[12];
  if (!file.read(reinterpret_cast<char*>(header), sizeof header) ||
      std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0) {
    return std::nullopt;
  }
  WaveHeader wave;
  unsigned char chunk[8];
  while (wave.dataBytes < 0 && file.read(reinterpret_cast<char*>(chunk), sizeof chunk)) {
    const uint32_t size = littleEndian32(chunk + 4);
    if (std::memcmp(chunk, "data", 4) == 0) {
      wave.dataBytes = size;
      break;
    }
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      unsigned char format[14];
      if (!file.read(reinterpret_cast<char*>(format), sizeof format)) {
        break;
      }
      wave.sampleRate = littleEndian32(format + 4);
      wave.blockAlign = littleEndian16(format + 12);
      file.seekg(static_cast<std::streamoff>(size) + (size & 1) - 14, std::ios::cur);
      continue;
    }
    file.seekg(static_cast<std::streamoff>(size) + (size & 1), std::ios::cur);
  }
  return wave.sampleRate < 0 ? std::nullopt : std::optional<WaveHeader>(wave);
}

// Opens the file without waiting: a FIFO with no writer would block the open for ever, beyond
// the reach of a signal that only asks the render to stop. Only regular files are accepted.
int openRegularFile(const std::string& path) {
  const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) {
    throw ToolError("cannot read '" + path + "': " + std::strerror(errno));
  }
  struct stat status {};
  fstat(descriptor, &status);
  if (!S_ISREG(status.st_mode)) {
    close(descriptor);
    throw ToolError("cannot read '" + path + "': it is " +
                    (S_ISDIR(status.st_mode) ? "a folder, not an audio file"
                                             : "a FIFO, device or socket, not a regular file"));
  }
  fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
  return descriptor;
}

int64_t fileSize(int descriptor) {
  struct stat status {};
  return fstat(descriptor, &status) == 0 ? static_cast<int64_t>(status.st_size) : -1;
}

void refuseSampleRate(const std::string& path, int64_t sampleRate) {
  if (sampleRate < minSampleRate || sampleRate > maxSampleRate) {
    throw ToolError("'" + path + "' declares a sample rate of " + std::to_string(sampleRate) +
                    " Hz; only " + std::to_string(minSampleRate) + " to " +
                    std::to_string(maxSampleRate) + " Hz can be rendered");
  }
}

}  // namespace

SoundFileReader::SoundFileReader(const std::string& filePath) : path(filePath) {
  fileDescriptor = openRegularFile(path);
  openedSize = fileSize(fileDescriptor);
  const std::optional<WaveHeader> wave = readWaveHeader(path);
  file = sf_open_fd(fileDescriptor, SFM_READ, &info, SF_FALSE);
  if (file == nullptr) {
    const std::string reason = sf_strerror(nullptr);
    close(fileDescriptor);
    if (wave) {
      refuseSampleRate(path, wave->sampleRate);
    }
    throw ToolError("cannot read '" + path + "': " + reason);
  }
  declaredFrames = info.frames;
  // A data size of 0 or all ones marks a file written as a stream, whose length was never known.
  if (wave && wave->blockAlign > 0 && wave->dataBytes > 0 && wave->dataBytes < 0xFFFFFFFF) {
    declaredFrames = std::max<int64_t>(declaredFrames, wave->dataBytes / wave->blockAlign);
  }
  try {
    refuseUnusableContent();
  } catch (const ToolError&) {
    sf_close(file);
    close(fileDescriptor);
    throw;
  }
}

void SoundFileReader::refuseUnusableContent() const {
  if (info.channels > 2) {
    throw ToolError("'" + path + "' has " + std::to_string(info.channels) +
                    " channels; only mono and stereo files can be rendered");
  }
  if (info.frames <= 0) {
    throw ToolError("'" + path + "' holds no audio");
  }
  refuseSampleRate(path, info.samplerate);
}

SoundFileReader::~SoundFileReader() {
  sf_close(file);
  close(fileDescriptor);
}

int64_t SoundFileReader::read(float* interleaved, int64_t frames) {
  const sf_count_t got = sf_readf_float(file, interleaved, frames);
  if (got < frames && sf_error(file) != SF_ERR_NO_ERROR) {
    throw ToolError("cannot read '" + path + "': " + sf_strerror(file));
  }
  framesRead += got;
  if (got < frames) {
    refuseCutShort();
  }
  return got;
}

void SoundFileReader::refuseCutShort() const {
  const int64_t size = fileSize(fileDescriptor);
  if (size >= 0 && size < openedSize) {
    throw ToolError("'" + path + "' was cut short while it was rendered (" +
                    std::to_string(framesRead) + " of " + std::to_string(declaredFrames) +
                    " frames read); nothing written");
  }
}

std::string SoundFileReader::shortfall() const {
  if (framesRead >= declaredFrames) {
    return "";
  }
  char seconds[64];
  std::snprintf(seconds, sizeof seconds, " (%.2f of %.2f s)",
                static_cast<double>(framesRead) / info.samplerate,
                static_cast<double>(declaredFrames) / info.samplerate);
  return "'" + path + "' is shorter than its header says: " + std::to_string(declaredFrames) +
         " frames declared, " + std::to_string(framesRead) + " read" + seconds +
         "; the output ends with the audio there was";
}

}  // namespace wrenfold
