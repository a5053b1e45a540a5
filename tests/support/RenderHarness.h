#pragma once

#include <sndfile.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace wrenfold::test {

// What one run of wrenfold-render left behind.
struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Interleaved samples of a sound file with its header.
struct Sound {
  SF_INFO info{};
  std::vector<float> samples;

  // Returns one sample of one channel.
  float at(long frame, int channel) const {
    return samples[static_cast<std::size_t>(frame * info.channels + channel)];
  }
};

// A fresh folder that is removed with everything in it when the object goes.
class TemporaryFolder {
 public:
  // Creates the folder under the system's temporary folder.
  TemporaryFolder();
  // Removes the folder.
  ~TemporaryFolder();
  // Returns the path of a file in the folder.
  std::string file(const std::string& name) const { return (folderPath / name).string(); }
  // Returns the names of everything in the folder.
  std::vector<std::string> entries() const;

 private:
  std::filesystem::path folderPath;
};

// A signal sent to a running program once a condition holds.
struct Interruption {
  int signal = 0;
  std::function<bool()> ready;  // polled until true, for at most 20 s
};

// Runs a program with the arguments and extra environment settings, stdin closed; sends it the
// interruption's signal when one is given.
RunResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                     const std::vector<std::pair<std::string, std::string>>& environment = {},
                     const Interruption* interruption = nullptr);

// Runs wrenfold-render as runProgram does.
RunResult runRender(const std::vector<std::string>& arguments,
                    const std::vector<std::pair<std::string, std::string>>& environment = {},
                    const Interruption* interruption = nullptr);

// Writes interleaved samples into a new sound file; fails the test on error.
void writeSound(const std::string& path, int format, int sampleRate, int channels,
                const std::vector<float>& samples);

// Reads a whole sound file; an empty result (0 channels) when it cannot be read.
Sound readSound(const std::string& path);

// Returns a stereo signal of the given length with one full-scale impulse at the given frame.
std::vector<float> stereoImpulse(long frames, long at);

}  // namespace wrenfold::test
