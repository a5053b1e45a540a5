#include "tools/render/SoundFileWriter.h"

#include <cerrno>

#include "tools/render/RenderError.h"
#include "tools/render/StdoutDiversion.h"

namespace wrenfold {

SF_INFO SoundFileWriter::checkedFormat(const std::string& path, int format, int sampleRate,
                                       int channels) {
  SF_INFO info{};
  info.samplerate = sampleRate;
  info.channels = channels;
  info.format = format;
  if (sf_format_check(&info) == 0) {
    throw RenderError("cannot write '" + path + "': format not possible at " +
                      std::to_string(sampleRate) + " Hz with " + std::to_string(channels) +
                      " channels");
  }
  return info;
}

SoundFileWriter::SoundFileWriter(const std::string& path, int format, int sampleRate, int channels)
    : info_(checkedFormat(path, format, sampleRate, channels)), output_(path) {
  const StdoutDiversion diversion;
  errno = 0;
  file_ = sf_open_fd(output_.descriptor(), SFM_WRITE, &info_, SF_FALSE);
  if (file_ == nullptr) {
    // libsndfile's own text hides the system's reason, which is what the user needs here.
    throw output_.writeError(errno, sf_strerror(nullptr));
  }
  // Integer formats clip overs instead of wrapping them around.
  sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

SoundFileWriter::~SoundFileWriter() {
  if (file_ != nullptr) {
    const StdoutDiversion diversion;
    sf_close(file_);
  }
}

void SoundFileWriter::write(const float* interleaved, int64_t frames) {
  if (frames <= 0) {
    return;
  }
  const StdoutDiversion diversion;
  errno = 0;
  if (sf_writef_float(file_, interleaved, frames) != frames) {
    throw output_.writeError(errno, sf_strerror(file_));
  }
}

void SoundFileWriter::commit() {
  const StdoutDiversion diversion;
  errno = 0;
  const int closed = sf_close(file_);
  file_ = nullptr;
  if (closed != 0) {
    throw output_.writeError(errno, sf_error_number(closed));
  }
  output_.commit();
}

}  // namespace wrenfold
