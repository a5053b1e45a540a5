#pragma once

// What every tool's command line shares: file names, option values, --set and --version.

#include <string>

namespace wrenfold {

// One --set NAME=VALUE from the command line; the value is a normalised number or a display
// text, read once the effect is loaded.
struct ParameterSetting {
  std::string name;
  std::string value;
};

// Throws ToolError for a file name the tools cannot use: an empty one, or '-', which is not
// standard input or output here; role names the file ("input", "output") in the message.
void refuseFileName(const std::string& role, const std::string& name);

// Returns the value of an option that must not be empty; throws ToolError naming the option.
const std::string& requireText(const std::string& option, const std::string& value);

// Returns the setting of a NAME=VALUE text; throws ToolError when the name or value is missing.
ParameterSetting parseParameterSetting(const std::string& text);

// Returns the line --version prints for the named program: its name and the project's version.
std::string versionLine(const std::string& program);

}  // namespace wrenfold
