#include "tools/common/OutputPath.h"

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "tools/common/ToolError.h"

namespace wrenfold {

namespace {

// Links deeper than this are a loop, as the kernel counts them.
constexpr int maxLinkHops = 40;
constexpr std::size_t maxNameBytes = 255;
constexpr char temporaryMark[] = ".part-";
// Room for the dot, the mark and the longest process number.
constexpr std::size_t maxKeptNameBytes = maxNameBytes - 1 - (sizeof temporaryMark - 1) - 10;

std::string folderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

std::string nameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

[[noreturn]] void refuse(const std::string& path, const std::string& why) {
  throw ToolError("cannot write '" + path + "': " + why);
}

void refuseFolderName(const std::string& path, const std::string& destination) {
  const std::string name = nameOf(destination);
  if (name.empty() || name == "." || name == "..") {
    refuse(path, "it names a folder; give a file name");
  }
}

std::string linkTarget(const std::string& path, const std::string& shownPath) {
  std::array<char, 4096> buffer{};
  const ssize_t length = readlink(path.c_str(), buffer.data(), buffer.size() - 1);
  if (length < 0) {
    refuse(shownPath, std::strerror(errno));
  }
  const std::string target(buffer.data(), static_cast<std::size_t>(length));
  return target.rfind('/', 0) == 0 ? target : folderOf(path) + target;
}

std::string temporaryPrefixFor(const std::string& destination) {
  return "." + nameOf(destination).substr(0, maxKeptNameBytes) + temporaryMark;
}

// Returns the process number a temporary name ends in, or 0 when the rest is no number.
long processIdIn(const std::string& rest) {
  if (rest.empty() || rest.size() > 10 ||
      rest.find_first_not_of("0123456789") != std::string::npos) {
    return 0;
  }
  return std::stol(rest);
}

bool processIsGone(long processId) {
  return processId == static_cast<long>(getpid()) ||
         (kill(static_cast<pid_t>(processId), 0) != 0 && errno == ESRCH);
}

}  // namespace

std::string resolveDestination(const std::string& path) {
  refuseFolderName(path, path);
  std::string current = path;
  for (int hop = 0;; ++hop) {
    struct stat status {};
    if (lstat(current.c_str(), &status) != 0) {
      if (errno != ENOENT) {
        refuse(path, std::strerror(errno));
      }
      break;
    }
    if (!S_ISLNK(status.st_mode)) {
      break;
    }
    if (hop == maxLinkHops) {
      refuse(path, std::strerror(ELOOP));
    }
    current = linkTarget(current, path);
  }
  refuseFolderName(path, current);
  return current;
}

void refuseUnusableDestination(const std::string& path, const std::string& destination) {
  struct stat status {};
  if (stat(destination.c_str(), &status) != 0) {
    return;
  }
  if (S_ISDIR(status.st_mode)) {
    refuse(path, "it is a folder; give a file name");
  }
  if (!S_ISREG(status.st_mode)) {
    refuse(path, "it is a device, FIFO or socket, not a regular file");
  }
  if (access(destination.c_str(), W_OK) != 0) {
    refuse(path, std::strerror(errno));
  }
  // Root passes every access check, but a file without write bits was made read-only on purpose.
  if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    refuse(path, "it is read-only; make it writable or give another name");
  }
}

void refuseOverwritingInput(const std::string& inputPath, const std::string& outputPath) {
  if (inputPath.empty()) {
    return;
  }
  struct stat input {};
  struct stat output {};
  bool same = stat(inputPath.c_str(), &input) == 0 && stat(outputPath.c_str(), &output) == 0 &&
              input.st_dev == output.st_dev && input.st_ino == output.st_ino;
  std::error_code inputError;
  std::error_code outputError;
  const std::filesystem::path inputPlace = std::filesystem::weakly_canonical(inputPath, inputError);
  const std::filesystem::path outputPlace =
      std::filesystem::weakly_canonical(outputPath, outputError);
  same = same || (!inputError && !outputError && inputPlace == outputPlace);
  if (same) {
    throw ToolError("'" + outputPath + "' is the input file '" + inputPath +
                    "'; give another output name (nothing written)");
  }
}

std::string temporaryPathFor(const std::string& destination, long processId) {
  return folderOf(destination) + temporaryPrefixFor(destination) + std::to_string(processId);
}

void removeStaleTemporaries(const std::string& destination) {
  const std::string folder = folderOf(destination);
  const std::string prefix = temporaryPrefixFor(destination);
  DIR* directory = opendir(folder.empty() ? "." : folder.c_str());
  if (directory == nullptr) {
    return;
  }
  while (const dirent* entry = readdir(directory)) {
    const std::string name = entry->d_name;
    if (name.rfind(prefix, 0) != 0) {
      continue;
    }
    const long processId = processIdIn(name.substr(prefix.size()));
    struct stat status {};
    const std::string path = folder + name;
    if (processId > 0 && processIsGone(processId) && lstat(path.c_str(), &status) == 0 &&
        S_ISREG(status.st_mode)) {
      unlink(path.c_str());
    }
  }
  closedir(directory);
}

}  // namespace wrenfold
