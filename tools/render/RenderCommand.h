#pragma once

#include <csignal>
#include <string>

#include "tools/render/RenderOptions.h"

namespace wrenfold {

// The whole command: loads the module, sets the effect up, lists or renders, reports.
class RenderCommand {
 public:
  // Prepares a run of the given options; installedRelativeFolder locates the installed module
  // relative to the program's folder.
  RenderCommand(RenderOptions options, std::string installedRelativeFolder);

  // Runs the command and returns the exit status; failures throw RenderError.
  int run();
  // Returns the flag that an interrupt handler sets to stop a render cleanly.
  static volatile std::sig_atomic_t& interruptFlag();

 private:
  // Returns the module path to load: --module, else the first one found.
  std::string modulePath() const;

  RenderOptions options_;
  std::string installedRelativeFolder_;
};

}  // namespace wrenfold
