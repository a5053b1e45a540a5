#include "tools/render/StdoutDiversion.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace wrenfold {

StdoutDiversion::StdoutDiversion() {
  std::fflush(stdout);
  const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
  savedStdout = null >= 0 ? fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0) : -1;
  if (savedStdout >= 0) {
    dup2(null, STDOUT_FILENO);
  }
  if (null >= 0) {
    close(null);
  }
}

StdoutDiversion::~StdoutDiversion() {
  std::fflush(stdout);
  if (savedStdout >= 0) {
    dup2(savedStdout, STDOUT_FILENO);
    close(savedStdout);
  }
}

}  // namespace wrenfold
