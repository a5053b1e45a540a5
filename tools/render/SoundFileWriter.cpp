#include "tools/render/SoundFileWriter.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tools/render/RenderError.h"

namespace wrenfold {

namespace {

// A hidden sibling of the destination, so the final rename stays on one file system.
std::string temporaryNameFor(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return folder + "." + name + ".part-" + std::to_string(getpid());
}

}  // namespace

SoundFileWriter::SoundFileWriter(const std::string& path, int format, int sampleRate, int channels)
    : path_(path), temporaryPath_(temporaryNameFor(path)) {
  SF_INFO info{};
  info.samplerate = sampleRate;
  info.channels = channels;
  info.format = format;
  if (sf_format_check(&info) == 0) {
    throw RenderError("cannot write '" + path + "': format not possible at " +
                      std::to_string(sampleRate) + " Hz with " + std::to_string(channels) +
                      " channels");
  }
  errno = 0;
  file_ = sf_open(temporaryPath_.c_str(), SFM_WRITE, &info);
  if (file_ == nullptr) {
    // libsndfile's own text hides the system's reason, which is what the user needs here.
    const int reason = errno;
    std::remove(temporaryPath_.c_str());
    throw RenderError("cannot write '" + path + "': " +
                      (reason != 0 ? std::strerror(reason) : sf_strerror(nullptr)));
  }
  // Integer formats clip overs instead of wrapping them around.
  sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

SoundFileWriter::~SoundFileWriter() {
  if (file_ != nullptr) {
    sf_close(file_);
  }
  if (!committed_) {
    std::remove(temporaryPath_.c_str());
  }
}

void SoundFileWriter::write(const float* interleaved, int64_t frames) {
  if (frames <= 0) {
    return;
  }
  if (sf_writef_float(file_, interleaved, frames) != frames) {
    throw RenderError("cannot write '" + path_ + "': " + sf_strerror(file_));
  }
}

void SoundFileWriter::commit() {
  const int closed = sf_close(file_);
  file_ = nullptr;
  if (closed != 0) {
    throw RenderError("cannot write '" + path_ + "': " + sf_error_number(closed));
  }
  if (std::rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
    throw RenderError("cannot write '" + path_ + "': " + std::strerror(errno));
  }
  committed_ = true;
}

}  // namespace wrenfold
