#include "tools/render/SoundFileReader.h"

#include "tools/render/RenderError.h"

namespace wrenfold {

SoundFileReader::SoundFileReader(const std::string& path) : path_(path) {
  file_ = sf_open(path.c_str(), SFM_READ, &info_);
  if (file_ == nullptr) {
    throw RenderError("cannot read '" + path + "': " + sf_strerror(nullptr));
  }
  if (info_.channels > 2) {
    const int channels = info_.channels;
    sf_close(file_);
    throw RenderError("'" + path + "' has " + std::to_string(channels) +
                      " channels; only mono and stereo files can be rendered");
  }
  if (info_.frames <= 0) {
    sf_close(file_);
    throw RenderError("'" + path + "' holds no audio");
  }
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
