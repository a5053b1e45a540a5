#include "tools/common/EffectSetup.h"

#include <errno.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "hostkit/EffectInstance.h"
#include "tools/common/EffectDisplaySearch.h"
#include "tools/common/ToolError.h"

namespace wrenfold {

namespace {

std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) {
    text += (text.empty() ? "" : ", ") + item;
  }
  return text;
}

}  // namespace

int findProgram(const std::vector<std::string>& programNames, const std::string& text) {
  char* end = nullptr;
  const long number = std::strtol(text.c_str(), &end, 10);
  if (!text.empty() && end == text.c_str() + text.size()) {
    if (number >= 0 && number < static_cast<long>(programNames.size())) {
      return static_cast<int>(number);
    }
  } else {
    // The slug is what {program} wrote into a file name, so it must select the program again.
    for (std::size_t program = 0; program < programNames.size(); ++program) {
      if (lowerCase(programNames[program]) == lowerCase(text) ||
          programSlug(programNames[program]) == lowerCase(text)) {
        return static_cast<int>(program);
      }
    }
  }
  std::vector<std::string> valid;
  for (std::size_t program = 0; program < programNames.size(); ++program) {
    valid.push_back(std::to_string(program) + " \"" + programNames[program] + "\"");
  }
  throw ToolError("no program '" + text + "'; valid programs: " + joined(valid));
}

int findParameter(const std::vector<std::string>& parameterNames, const std::string& name) {
  const auto exact = std::find(parameterNames.begin(), parameterNames.end(), name);
  if (exact != parameterNames.end()) {
    return static_cast<int>(exact - parameterNames.begin());
  }
  for (std::size_t index = 0; index < parameterNames.size(); ++index) {
    if (lowerCase(parameterNames[index]) == lowerCase(name)) {
      return static_cast<int>(index);
    }
  }
  throw ToolError("no parameter '" + name + "'; valid names: " + joined(parameterNames));
}

std::vector<std::string> parameterNames(const EffectInstance& effect) {
  std::vector<std::string> names;
  for (int index = 0; index < effect.parameterCount(); ++index) {
    names.push_back(effect.parameterName(index));
  }
  return names;
}

void applySettings(EffectInstance& effect, const std::vector<ParameterSetting>& settings) {
  const std::vector<std::string> names = parameterNames(effect);
  for (const ParameterSetting& setting : settings) {
    const int index = findParameter(names, setting.name);
    std::string note;
    effect.setParameterValue(index,
                             EffectDisplaySearch(effect, index).valueFor(setting.value, &note));
    if (!note.empty()) {
      std::fprintf(stderr, "%s: note: %s\n", program_invocation_short_name, note.c_str());
    }
  }
}

std::string formatListing(EffectInstance& effect, const std::vector<std::string>& programNames) {
  std::string text = effect.effectName() + "\n\nprograms:\n";
  char line[256];
  const int current = effect.currentProgram();
  for (std::size_t program = 0; program < programNames.size(); ++program) {
    std::snprintf(line, sizeof line, "  %c %2zu  %s\n",
                  static_cast<int>(program) == current ? '*' : ' ', program,
                  programNames[program].c_str());
    text += line;
  }
  text += "\nparameters:\n";
  std::snprintf(line, sizeof line, "  %5s  %-12s %7s  %s\n", "index", "name", "value", "display");
  text += line;
  for (int index = 0; index < effect.parameterCount(); ++index) {
    std::snprintf(line, sizeof line, "  %5d  %-12s %7s  %s\n", index,
                  effect.parameterName(index).c_str(),
                  EffectDisplaySearch(effect, index).listedValue().c_str(),
                  effect.parameterDisplay(index).c_str());
    text += line;
  }
  return text;
}

std::string programSlug(const std::string& name) {
  std::string slug;
  bool pendingDash = false;
  for (unsigned char c : name) {
    if (std::isalnum(c)) {
      if (pendingDash && !slug.empty()) {
        slug += '-';
      }
      pendingDash = false;
      slug += static_cast<char>(std::tolower(c));
    } else {
      pendingDash = true;
    }
  }
  return slug.empty() ? "program" : slug;
}

std::string expandProgramPlaceholder(const std::string& path, const std::string& slug) {
  static const std::string placeholder = "{program}";
  std::string result = path;
  for (std::size_t at = result.find(placeholder); at != std::string::npos;
       at = result.find(placeholder, at + slug.size())) {
    result.replace(at, placeholder.size(), slug);
  }
  return result;
}

}  // namespace wrenfold
