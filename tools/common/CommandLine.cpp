#include "tools/common/CommandLine.h"

#include "tools/common/ToolError.h"

namespace wrenfold {

void refuseFileName(const std::string& role, const std::string& name) {
  if (name.empty()) {
    throw ToolError("the " + role + " file name is empty");
  }
  if (name == "-") {
    throw ToolError(
        "'-' (standard input or output) is not supported; give a file name, or ./- "
        "for a file named '-'");
  }
}

const std::string& requireText(const std::string& option, const std::string& value) {
  if (value.empty()) {
    throw ToolError(option + " needs a value, not an empty text");
  }
  return value;
}

ParameterSetting parseParameterSetting(const std::string& text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string::npos || equals == 0) {
    throw ToolError("--set needs NAME=VALUE, not '" + text + "'");
  }
  // Blanks around the name never change it, as they never change how a value reads.
  std::string name = text.substr(0, equals);
  name.erase(0, name.find_first_not_of(" \t"));
  name.erase(name.find_last_not_of(" \t") + 1);
  if (name.empty()) {
    throw ToolError("--set needs NAME=VALUE, not '" + text + "'");
  }
  ParameterSetting setting{name, text.substr(equals + 1)};
  if (setting.value.empty()) {
    throw ToolError("--set " + setting.name +
                    " needs a value: a normalised one from 0 to 1 or a text it shows");
  }
  return setting;
}

std::string versionLine(const std::string& program) {
  return program + " " + WRENFOLD_VERSION + "\n";
}

}  // namespace wrenfold
