#include "tools/render/StdoutDiversion.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace wrenfold {

StdoutDiversion::StdoutDiversion() {
  std::fflush(stdout);
  savedStdout_ = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
  if (savedStdout_ >= 0) {
    dup2(STDERR_FILENO, STDOUT_FILENO);
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
