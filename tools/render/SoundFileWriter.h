#pragma once

#include <sndfile.h>

#include <cstdint>
#include <string>

namespace wrenfold {

// Writes an audio file under a temporary name in the destination's folder and gives it its real
// name only in commit, so a failed or interrupted render never leaves a partial file behind.
class SoundFileWriter {
 public:
  // Creates the temporary file; throws RenderError when the destination cannot be written or the
  // format is not possible for this sample rate and channel count.
  SoundFileWriter(const std::string& path, int format, int sampleRate, int channels);
  // Removes the temporary file unless commit succeeded.
  ~SoundFileWriter();

  SoundFileWriter(const SoundFileWriter&) = delete;
  SoundFileWriter& operator=(const SoundFileWriter&) = delete;

  // Appends interleaved frames; throws RenderError on a write failure such as a full disk.
  void write(const float* interleaved, int64_t frames);
  // Finishes the file and renames it to its destination; throws RenderError on failure.
  void commit();
  // Returns the temporary name the data goes to until commit.
  const std::string& temporaryPath() const { return temporaryPath_; }

 private:
  std::string path_;
  std::string temporaryPath_;
  SNDFILE* file_ = nullptr;
  bool committed_ = false;
};

}  // namespace wrenfold
