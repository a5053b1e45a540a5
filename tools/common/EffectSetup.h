#pragma once

#include <string>
#include <vector>

#include "tools/common/CommandLine.h"

namespace wrenfold {

class EffectInstance;

// Returns the program a --program text names: a number in range, a name (case ignored) or its slug
// as {program} writes it; throws ToolError listing the valid programs otherwise.
int findProgram(const std::vector<std::string>& programNames, const std::string& text);

// Returns the index of the parameter with this name (exact, else with case ignored); throws
// ToolError listing the valid names otherwise.
int findParameter(const std::vector<std::string>& parameterNames, const std::string& name);

// Returns the names of every parameter of the effect.
std::vector<std::string> parameterNames(const EffectInstance& effect);

// Applies every --set to the effect's current program, in order, reading each value as a
// normalised number or as a text the parameter shows; throws ToolError for a text none shows.
void applySettings(EffectInstance& effect, const std::vector<ParameterSetting>& settings);

// Returns the text --list prints: the programs, marking the current one, and every parameter with
// its index, name, normalised value (digits enough for --set to give the same display) and
// display text.
std::string formatListing(EffectInstance& effect, const std::vector<std::string>& programNames);

// Returns a program name as a file-name part: lower case, runs of other characters as one '-'.
std::string programSlug(const std::string& name);

// Returns the path with every "{program}" replaced by the slug.
std::string expandProgramPlaceholder(const std::string& path, const std::string& slug);

}  // namespace wrenfold
