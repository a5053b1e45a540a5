#include "tools/render/SoundFileWriter.h"

#include <cerrno>

#include "tools/common/ToolError.h"
#include "tools/render/StdoutDiversion.h"

namespace wrenfold {

SF_INFO SoundFileWriter::checkedFormat(const std::string& path, int format, int sampleRate,
                                       int channels) {
  SF_INFO info{};
  info.samplerate = sampleRate;
  info.channels = channels;
  info.format = format;
  if (sf_format_check(&info) == 0) {
    throw ToolError("cannot write '" + path + "': format not possible at " +
                    std::to_string(sampleRate) + " Hz with " + std::to_string(channels) +
                    " channels");
  }
  return info;
}

SoundFileWriter::SoundFileWriter(const std::string& path, int format, int sampleRate, int channels,
                                 bool plainWhenSmall)
    : info(checkedFormat(path, format, sampleRate, channels)), output(path) {
  const StdoutDiversion diversion;
  errno = 0;
  file = sf_open_fd(output.descriptor(), SFM_WRITE, &info, SF_FALSE);
  if (file == nullptr) {
    // libsndfile's own text hides the system's reason, which is what the user needs here.
    throw output.writeError(errno, sf_strerror(nullptr));
  }
  // Integer formats clip overs instead of wrapping them around.
  sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  if (plainWhenSmall) {
    sf_command(file, SFC_RF64_AUTO_DOWNGRADE, nullptr, SF_TRUE);
  }
}

SoundFileWriter::~SoundFileWriter() {
  if (file != nullptr) {
    const StdoutDiversion diversion;
    sf_close(file);
  }
}

void SoundFileWriter::write(const float* interleaved, int64_t frames) {
  if (frames <= 0) {
    return;
  }
  const StdoutDiversion diversion;
  errno = 0;
  if (sf_writef_float(file, interleaved, frames) != frames) {
    throw output.writeError(errno, sf_strerror(file));
  }
}

void SoundFileWriter::commit() {
  const StdoutDiversion diversion;
  errno = 0;
  const int closed = sf_close(file);
  file = nullptr;
  if (closed != 0) {
    throw output.writeError(errno, sf_error_number(closed));
  }
  output.commit();
}

}  // namespace wrenfold
