#pragma once

#include <sndfile.h>

#include <string>

#include "tools/render/AudioSource.h"

namespace wrenfold {

// An audio file in any format libsndfile reads, as a source of mono or stereo frames.
class SoundFileReader : public AudioSource {
 public:
  // Opens the file; throws ToolError when it is missing, a folder, a FIFO, device or socket,
  // unreadable, empty, in an unknown format, has more than two channels or a sample rate outside
  // 1000..768000 Hz.
  explicit SoundFileReader(const std::string& filePath);
  // Closes the file.
  ~SoundFileReader() override;

  SoundFileReader(const SoundFileReader&) = delete;
  SoundFileReader& operator=(const SoundFileReader&) = delete;

  // Returns the number of channels, 1 or 2.
  int channels() const override { return info.channels; }
  // Returns the sample rate in Hz.
  int sampleRate() const override { return info.samplerate; }
  // Returns the number of frames the header declares.
  int64_t frames() const override { return info.frames; }
  // Reads interleaved frames; throws ToolError when the file turns out to be damaged or was
  // cut short since it was opened.
  int64_t read(float* interleaved, int64_t frames) override;
  // Returns a warning when fewer frames were read than the header declares, else an empty text.
  std::string shortfall() const override;
  // Returns libsndfile's format code of the file (major format and subtype).
  int format() const { return info.format; }

 private:
  // Throws ToolError when the open file has too many channels, no frames or an unusable rate.
  void refuseUnusableContent() const;
  // Throws ToolError when the file has shrunk since it was opened.
  void refuseCutShort() const;

  std::string path;
  SF_INFO info{};
  SNDFILE* file = nullptr;
  int fileDescriptor = -1;
  int64_t openedSize = 0;
  int64_t declaredFrames = 0;
  int64_t framesRead = 0;
};

}  // namespace wrenfold
