#pragma once

#include <string>
#include <vector>

namespace wrenfold {

// Returns the places to look for the module, in order: beside the program and in its build tree,
// the installed folder relative to the program, every folder of vstPath and then of lxvstPath
// (colon-separated), the user's ~/.vst and ~/.lxvst, the system's vst and then lxvst folders.
std::vector<std::string> moduleCandidates(const std::string& programFolder,
                                          const std::string& installedRelativeFolder,
                                          const std::string& vstPath, const std::string& lxvstPath,
                                          const std::string& home);

// Returns the first candidate that exists; throws ToolError listing every place tried.
std::string locateModule(const std::vector<std::string>& candidates);

// Returns the first module found for the running program, with VST_PATH, LXVST_PATH and HOME
// from the environment; throws ToolError listing every place tried.
std::string findModule(const std::string& installedRelativeFolder);

// Returns a module's path as the tools print it on their first line: absolute and without
// '.' or '..', links kept.
std::string absoluteModulePath(const std::string& path);

// Returns the folder of the running program, or an empty text when it cannot be found.
std::string runningProgramFolder();

}  // namespace wrenfold
