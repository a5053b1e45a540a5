#include "support/RenderHarness.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace wrenfold::test {

namespace {

std::string contents(const std::string& path) {
  std::ifstream stream(path);
  std::stringstream text;
  text << stream.rdbuf();
  return text.str();
}

void interrupt(pid_t child, const Interruption& interruption) {
  for (int waited = 0; waited < 20000 && !interruption.ready(); waited += 5) {
    usleep(5000);
  }
  kill(child, interruption.signal);
}

}  // namespace

TemporaryFolder::TemporaryFolder() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "wrenfold-render-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    ADD_FAILURE() << "cannot create a temporary folder";
  }
  folderPath = pattern;
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(folderPath, ignored);
}

std::vector<std::string> TemporaryFolder::entries() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folderPath)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

RunResult runProgram(const std::string& programPath, const std::vector<std::string>& arguments,
                     const std::vector<std::pair<std::string, std::string>>& environment,
                     const Interruption* interruption) {
  TemporaryFolder capture;
  const std::string outPath = capture.file("stdout");
  const std::string errPath = capture.file("stderr");
  const pid_t child = fork();
  if (child == 0) {
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    for (const auto& [name, value] : environment) {
      setenv(name.c_str(), value.c_str(), 1);
    }
    std::vector<char*> argv;
    std::string program = programPath;
    argv.push_back(program.data());
    std::vector<std::string> copies = arguments;
    for (std::string& argument : copies) {
      argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  if (interruption != nullptr) {
    interrupt(child, *interruption);
  }
  RunResult result;
  int status = 0;
  waitpid(child, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = contents(outPath);
  result.err = contents(errPath);
  return result;
}

RunResult runRender(const std::vector<std::string>& arguments,
                    const std::vector<std::pair<std::string, std::string>>& environment,
                    const Interruption* interruption) {
  return runProgram(WRENFOLD_RENDER_PATH, arguments, environment, interruption);
}

void writeSound(const std::string& path, int format, int sampleRate, int channels,
                const std::vector<float>& samples) {
  SF_INFO info{};
  info.format = format;
  info.samplerate = sampleRate;
  info.channels = channels;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
  const sf_count_t frames = static_cast<sf_count_t>(samples.size()) / channels;
  EXPECT_EQ(sf_writef_float(file, samples.data(), frames), frames);
  sf_close(file);
}

Sound readSound(const std::string& path) {
  Sound sound;
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &sound.info);
  if (file == nullptr) {
    sound.info = SF_INFO{};
    return sound;
  }
  sound.samples.resize(static_cast<std::size_t>(sound.info.frames * sound.info.channels));
  sf_readf_float(file, sound.samples.data(), sound.info.frames);
  sf_close(file);
  return sound;
}

std::vector<float> stereoImpulse(long frames, long at) {
  std::vector<float> samples(static_cast<std::size_t>(2 * frames), 0.0f);
  samples[static_cast<std::size_t>(2 * at)] = 1.0f;
  samples[static_cast<std::size_t>(2 * at + 1)] = 1.0f;
  return samples;
}

}  // namespace wrenfold::test
