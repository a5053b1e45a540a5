#pragma once

#include <sndfile.h>

#include <cstdint>
#include <string>

#include "tools/common/OutputFile.h"

namespace wrenfold {

// Writes an audio file through an OutputFile, so a failed or interrupted render never leaves a
// partial file behind and the destination only changes in commit.
class SoundFileWriter {
 public:
  // Creates the temporary file; throws ToolError when the destination cannot be written or the
  // format is not possible for this sample rate and channel count. An RF64 file marked
  // plainWhenSmall is written as plain WAV when it ends up small enough for that.
  SoundFileWriter(const std::string& path, int format, int sampleRate, int channels,
                  bool plainWhenSmall = false);
  // Removes the temporary file unless commit succeeded.
  ~SoundFileWriter();

  SoundFileWriter(const SoundFileWriter&) = delete;
  SoundFileWriter& operator=(const SoundFileWriter&) = delete;

  // Appends interleaved frames; throws ToolError with the system's reason on a write failure
  // such as a full disk.
  void write(const float* interleaved, int64_t frames);
  // Finishes the file and renames it to its destination; throws ToolError on failure.
  void commit();
  // Returns the temporary name the data goes to until commit.
  const std::string& temporaryPath() const { return output.temporaryPath(); }

 private:
  // Returns the file description for the format; throws ToolError when it is not possible.
  static SF_INFO checkedFormat(const std::string& path, int format, int sampleRate, int channels);

  SF_INFO info;
  OutputFile output;
  SNDFILE* file = nullptr;
};

}  // namespace wrenfold
