#include "tools/common/ModuleLocator.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>

#include "tools/common/ToolError.h"

namespace wrenfold {

namespace {

constexpr char moduleName[] = "wrenfold.so";

bool isFile(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace

std::string absoluteModulePath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

std::vector<std::string> moduleCandidates(const std::string& programFolder,
                                          const std::string& installedRelativeFolder,
                                          const std::string& vstPath, const std::string& lxvstPath,
                                          const std::string& home) {
  std::vector<std::string> candidates;
  const auto add = [&](const std::string& folder) {
    if (!folder.empty()) {
      candidates.push_back(folder + "/" + moduleName);
    }
  };
  const auto addEach = [&](const std::string& searchPath) {
    std::size_t start = 0;
    while (start <= searchPath.size()) {
      const std::size_t colon = searchPath.find(':', start);
      const std::size_t end = colon == std::string::npos ? searchPath.size() : colon;
      add(searchPath.substr(start, end - start));
      start = end + 1;
    }
  };
  if (!programFolder.empty()) {
    add(programFolder);
    add(programFolder + "/..");
    add(programFolder + "/../..");
    if (!installedRelativeFolder.empty()) {
      add(programFolder + "/" + installedRelativeFolder);
    }
  }
  // The vst folders are where most Linux hosts look; the lxvst ones serve the hosts that only
  // look there, and installs made before.
  addEach(vstPath);
  addEach(lxvstPath);
  if (!home.empty()) {
    add(home + "/.vst");
    add(home + "/.lxvst");
  }
  add("/usr/local/lib/vst");
  add("/usr/lib/vst");
  add("/usr/local/lib/lxvst");
  add("/usr/lib/lxvst");
  return candidates;
}

std::string locateModule(const std::vector<std::string>& candidates) {
  for (const std::string& candidate : candidates) {
    if (isFile(candidate)) {
      return candidate;
    }
  }
  std::string tried;
  for (const std::string& candidate : candidates) {
    tried += (tried.empty() ? "" : ", ") + candidate;
  }
  throw ToolError("cannot find " + std::string(moduleName) + " (give --module PATH); tried " +
                  tried);
}

std::string runningProgramFolder() {
  std::array<char, 4096> buffer{};
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0) {
    return "";
  }
  const std::string path(buffer.data(), static_cast<std::size_t>(length));
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "" : path.substr(0, slash);
}

}  // namespace wrenfold

namespace wrenfold {

std::string findModule(const std::string& installedRelativeFolder) {
  const auto environment = [](const char* name) {
    const char* value = std::getenv(name);
    return std::string(value != nullptr ? value : "");
  };
  return locateModule(moduleCandidates(runningProgramFolder(), installedRelativeFolder,
                                       environment("VST_PATH"), environment("LXVST_PATH"),
                                       environment("HOME")));
}

}  // namespace wrenfold
