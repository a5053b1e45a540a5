#pragma once

#include <stdexcept>
#include <string>

namespace wrenfold {

// A failure the command line reports as one line on stderr before exiting with status 1.
class ToolError : public std::runtime_error {
 public:
  // Stores the one-line message shown to the user.
  explicit ToolError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace wrenfold
