// The user's settings file where the freedesktop rules put it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "gui/platform/platform.h"

namespace wrenfold {

namespace {

constexpr off_t largestSettingsFile = 64 * 1024;

std::string settingsFilePath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  // A relative value is invalid by the rules and is passed over, as an unset one is.
  if (config != nullptr && config[0] == '/') return std::string(config) + "/wrenfold/wrenfold.conf";
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') return std::string();
  return std::string(home) + "/.config/wrenfold/wrenfold.conf";
}

}  // namespace

namespace platform {

bool readSettingsFile(std::string& text) {
  const std::string path = settingsFilePath();
  if (path.empty()) return false;
  // Opened without waiting, so a FIFO put there cannot hold up the host's editor.
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (descriptor < 0) return false;
  struct stat status {};
  bool answer = ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) &&
                status.st_size <= largestSettingsFile;
  if (answer) {
    text.assign(static_cast<std::size_t>(status.st_size), '\0');
    std::size_t done = 0;
    while (done < text.size()) {
      const ssize_t count = ::read(descriptor, &text[done], text.size() - done);
      if (count <= 0) break;
      done += static_cast<std::size_t>(count);
    }
    text.resize(done);
  }
  ::close(descriptor);
  return answer;
}

}  // namespace platform
}  // namespace wrenfold
