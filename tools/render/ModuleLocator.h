#pragma once

#include <string>
#include <vector>

namespace wrenfold {

// Returns the places to look for the module, in order: beside the program and in its build tree,
// the installed lxvst folder relative to the program, every folder of lxvstPath (colon-separated),
// the user's ~/.lxvst and the system's lxvst folders.
std::vector<std::string> moduleCandidates(const std::string& programFolder,
                                          const std::string& installedRelativeFolder,
                                          const std::string& lxvstPath, const std::string& home);

// Returns the first candidate that exists; throws RenderError listing every place tried.
std::string locateModule(const std::vector<std::string>& candidates);

// Returns the folder of the running program, or an empty text when it cannot be found.
std::string runningProgramFolder();

}  // namespace wrenfold
