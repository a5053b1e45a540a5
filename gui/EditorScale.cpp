#include "gui/EditorScale.h"

#include <cmath>
#include <cstdlib>
#include <new>

#include "gui/platform/platform.h"

namespace wrenfold {

namespace {

constexpr const char* scaleVariable = "WRENFOLD_EDITOR_SCALE";
constexpr const char* scaleSetting = "editor-scale";
// Longer texts are no scale anyone wrote by hand.
constexpr std::size_t longestNumber = 16;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string trimmed(const std::string& text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && isBlank(text[first])) ++first;
  while (last > first && isBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

// The user's choice: the variable, else the settings file; false for neither (or `auto`).
bool userChoice(float& factor) {
  const char* variable = std::getenv(scaleVariable);
  if (variable != nullptr && EditorScale::parse(variable, factor)) return true;
  std::string settings;
  try {
    if (!platform::readSettingsFile(settings)) return false;
    return EditorScale::parse(EditorScale::settingOf(settings), factor);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace

float EditorScale::choose(float hostScale, void* parent) {
  float factor = 0;
  if (userChoice(factor)) return held(factor);
  if (std::isfinite(hostScale) && hostScale > 0) return held(hostScale);
  return held(platform::desktopScale(parent));
}

float EditorScale::held(float factor) {
  if (!(factor >= smallest)) return smallest;  // NaN too
  if (factor >= largest) return largest;
  return std::round(factor * 4.0f) / 4.0f;
}

bool EditorScale::parse(const std::string& text, float& factor) {
  const std::string number = trimmed(text);
  if (number.empty() || number.size() > longestNumber) return false;
  double value = 0;
  double step = 1;
  bool point = false;
  bool digits = false;
  for (char c : number) {
    if (c == '.' && !point) {
      point = true;
    } else if (c >= '0' && c <= '9') {
      digits = true;
      if (point) {
        step /= 10;
        value += (c - '0') * step;
      } else {
        value = value * 10 + (c - '0');
      }
    } else {
      return false;
    }
  }
  if (!digits || value <= 0) return false;
  factor = static_cast<float>(value);
  return true;
}

std::string EditorScale::settingOf(const std::string& settings) {
  std::string value;
  std::size_t start = 0;
  while (start <= settings.size()) {
    std::size_t end = settings.find('\n', start);
    if (end == std::string::npos) end = settings.size();
    const std::string line = trimmed(settings.substr(start, end - start));
    const std::size_t equals = line.find('=');
    if (line.empty() || line[0] == '#' || equals == std::string::npos) {
      start = end + 1;
      continue;
    }
    if (trimmed(line.substr(0, equals)) == scaleSetting) value = trimmed(line.substr(equals + 1));
    start = end + 1;
  }
  return value;
}

}  // namespace wrenfold
