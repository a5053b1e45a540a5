#include "tools/common/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tools/common/OutputPath.h"

namespace wrenfold {

namespace {

constexpr int cleanedSignals[] = {SIGHUP, SIGINT, SIGTERM, SIGPIPE};

// What the signal handler may touch: a fixed buffer and flags, nothing that allocates.
char gTemporaryPath[4096];
volatile std::sig_atomic_t gTemporaryRegistered = 0;
volatile std::sig_atomic_t* gStopFlag = nullptr;

void registerTemporary(const std::string& path) {
  if (path.size() < sizeof gTemporaryPath) {
    std::memcpy(gTemporaryPath, path.c_str(), path.size() + 1);
    gTemporaryRegistered = 1;
  }
}

std::string folderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
}

void onSignal(int number) {
  if (gStopFlag != nullptr && *gStopFlag == 0) {
    *gStopFlag = number;
    return;
  }
  if (gTemporaryRegistered != 0) {
    unlink(gTemporaryPath);
  }
  signal(number, SIG_DFL);
  raise(number);
}

// Blocks the cleaned signals; returns the mask to restore.
sigset_t holdSignals() {
  sigset_t held;
  sigemptyset(&held);
  for (int number : cleanedSignals) {
    sigaddset(&held, number);
  }
  sigset_t previous;
  sigprocmask(SIG_BLOCK, &held, &previous);
  return previous;
}

}  // namespace

OutputFile::OutputFile(const std::string& outputPath)
    : path(outputPath), destination(resolveDestination(outputPath)) {
  refuseUnusableDestination(path, destination);
  removeStaleTemporaries(destination);
  temporaryFilePath = temporaryPathFor(destination, static_cast<long>(getpid()));
  createTemporary();
  copyOwnerAndMode();
}

void OutputFile::check(const std::string& path) { const OutputFile probe(path); }

OutputFile::~OutputFile() {
  closeTemporary();
  if (!committed) {
    unlink(temporaryFilePath.c_str());
    gTemporaryRegistered = 0;
  }
}

ToolError OutputFile::writeError(int reason, const std::string& fallback) const {
  return ToolError("cannot write '" + path +
                   "': " + (reason != 0 ? std::strerror(reason) : fallback));
}

void OutputFile::createTemporary() {
  registerTemporary(temporaryFilePath);
  fileDescriptor = open(temporaryFilePath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fileDescriptor < 0) {
    // The temporary file is new, so a refusal here concerns the folder, not the named file.
    const int reason = errno;
    gTemporaryRegistered = 0;
    const std::string folder = folderOf(temporaryFilePath);
    throw ToolError("cannot write '" + path + "': cannot create a file in the folder '" + folder +
                    "': " + std::strerror(reason));
  }
}

void OutputFile::copyOwnerAndMode() {
  struct stat replaced {};
  if (stat(destination.c_str(), &replaced) != 0) {
    return;
  }
  if (fchown(fileDescriptor, replaced.st_uid, replaced.st_gid) != 0) {
    // Only root may give a file away; anyone else's copy stays their own.
  }
  if (fchmod(fileDescriptor, replaced.st_mode & 07777) != 0) {
    throw writeError(errno, "");
  }
}

int OutputFile::closeTemporary() {
  if (fileDescriptor < 0) {
    return 0;
  }
  const int closed = close(fileDescriptor);
  fileDescriptor = -1;
  return closed == 0 ? 0 : errno;
}

void OutputFile::commit() {
  // A signal arriving now waits until the file carries its name, so none cuts the rename short.
  const sigset_t previous = holdSignals();
  const int reason = flushAndRename();
  sigprocmask(SIG_SETMASK, &previous, nullptr);
  if (reason != 0) {
    throw writeError(reason, "");
  }
}

int OutputFile::flushAndRename() {
  if (fsync(fileDescriptor) != 0) {
    return errno;
  }
  if (const int reason = closeTemporary(); reason != 0) {
    return reason;
  }
  if (rename(temporaryFilePath.c_str(), destination.c_str()) != 0) {
    return errno;
  }
  committed = true;
  gTemporaryRegistered = 0;
  return 0;
}

void OutputFile::removeOnSignals(volatile std::sig_atomic_t* flag) {
  gStopFlag = flag;
  struct sigaction action {};
  action.sa_handler = onSignal;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (int number : cleanedSignals) {
    sigaction(number, &action, nullptr);
  }
}

}  // namespace wrenfold
