#include "tools/render/StdoutDiversion.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace wrenfold {

StdoutDiversion::StdoutDiversion() {
  std::fflush(stdout);
  const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
  savedStdout_ = null >= 0 ? fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0) : -1;
  if (savedStdout_ >= 0) {
    dup2(null, STDOUT_FILENO);
  }
  if (null >= 0) {
    close(null);
  }
}

StdoutDiversion::~StdoutDiversion() {
  std::fflush(stdout);
  if (savedStdout_ >= 0) {
    dup2(savedStdout_, STDOUT_FILENO);
    close(savedStdout_);
  }
}

}  // namespace wrenfold
