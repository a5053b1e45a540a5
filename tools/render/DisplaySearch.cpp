#include "tools/render/DisplaySearch.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <vector>

#include "params/ParameterTable.h"
#include "tools/render/DelayTimes.h"
#include "tools/render/EffectInstance.h"
#include "tools/render/RenderError.h"
#include "tools/render/RenderOptions.h"

namespace wrenfold {

namespace {

// Trial points over 0..1: every step of a parameter with a few thousand steps or fewer holds one.
// Exact binary fractions, so each point is itself a value the effect can store.
constexpr int gridSteps = 4096;

using Reading = DisplaySearch::Reading;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Returns the length of the plain number ([sign] digits [. digits]) starting at `at`, 0 if none.
std::size_t numberLength(const std::string& text, std::size_t at) {
  std::size_t end = at;
  if (end < text.size() && (text[end] == '-' || text[end] == '+')) ++end;
  std::size_t digits = 0;
  while (end < text.size() && isDigit(text[end])) ++end, ++digits;
  if (end < text.size() && text[end] == '.') {
    ++end;
    while (end < text.size() && isDigit(text[end])) ++end, ++digits;
  }
  return digits > 0 ? end - at : 0;
}

std::string squeezedOf(const std::string& text) {
  std::string squeezed;
  for (unsigned char c : text) {
    if (!std::isspace(c)) squeezed += static_cast<char>(std::tolower(c));
  }
  return squeezed;
}

// Reads a plain number or a sum of fractions ("1/8+1/16") into its amount; false for other texts.
bool amountOf(const std::string& squeezed, double& amount) {
  if (parseDecimal(squeezed, amount)) return true;
  const std::optional<double> fraction = noteFractionFromText(squeezed);
  amount = fraction.value_or(0.0);
  return fraction.has_value();
}

Reading readingOf(const std::string& text) {
  const std::string squeezed = squeezedOf(text);
  Reading reading;
  reading.hasAmount = amountOf(squeezed, reading.amount);
  for (std::size_t at = 0; at < squeezed.size(); ++at) {
    const std::size_t length = numberLength(squeezed, at);
    if (length > 0) {
      reading.hasNumber = true;
      reading.number = std::strtod(squeezed.substr(at, length).c_str(), nullptr);
      reading.unit = squeezed.substr(0, at) + squeezed.substr(at + length);
      return reading;
    }
  }
  reading.unit = squeezed;
  return reading;
}

bool sameReading(const Reading& a, const Reading& b) {
  if (a.hasAmount && b.hasAmount) return std::fabs(a.amount - b.amount) < 1e-9;
  return a.unit == b.unit && a.hasNumber == b.hasNumber && (!a.hasNumber || a.number == b.number);
}

float gridPoint(int step) { return static_cast<float>(step) / gridSteps; }

uint32_t bitsOf(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

float floatOf(uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// Returns the first value in (low, high] for which `past` holds, given that it does not hold at
// low and holds at high; non-negative floats order as their bit patterns, so every float between
// is a candidate.
float firstPast(float low, float high, const std::function<bool(float)>& past) {
  uint32_t below = bitsOf(low);
  uint32_t at = bitsOf(high);
  while (at - below > 1) {
    const uint32_t middle = below + (at - below) / 2;
    if (past(floatOf(middle))) {
      at = middle;
    } else {
      below = middle;
    }
  }
  return floatOf(at);
}

float previousFloat(float value) { return floatOf(bitsOf(value) - 1); }

// Puts a parameter's value back when a search ends, however it ends.
class ValueKeeper {
 public:
  ValueKeeper(EffectInstance& owner, int parameter)
      : effect(owner), index(parameter), kept(owner.parameterValue(parameter)) {}
  ~ValueKeeper() { effect.setParameterValue(index, kept); }
  ValueKeeper(const ValueKeeper&) = delete;
  ValueKeeper& operator=(const ValueKeeper&) = delete;
  float value() const { return kept; }

 private:
  EffectInstance& effect;
  int index;
  float kept;
};

}  // namespace

DisplaySearch::DisplaySearch(EffectInstance& searched, int parameter)
    : effect(searched), index(parameter) {
  for (const ParameterRow& row : parameterTable) {
    if (row.displayText != nullptr && row.displayText != row.hostText &&
        effect.parameterName(index) == row.name) {
      editorText = row.displayText;
    }
  }
}

std::string DisplaySearch::displayAt(float value) {
  effect.setParameterValue(index, value);
  if (!readingEditorText) return effect.parameterDisplay(index);
  char text[32];
  editorText(effect.parameterValue(index), text);
  return text;
}

bool DisplaySearch::shows(float value, const std::string& text) {
  return sameReading(readingOf(displayAt(value)), readingOf(text));
}

float DisplaySearch::valueFor(const std::string& text, std::string* note) {
  const std::string squeezed = squeezedOf(text);
  const bool suffixed = squeezed.size() > 4 && squeezed.compare(squeezed.size() - 4, 4, "norm") == 0;
  double number = 0.0;
  const bool normalised = parseDecimal(suffixed ? squeezed.substr(0, squeezed.size() - 4) : squeezed,
                                       number) && number >= 0.0 && number <= 1.0;
  if (normalised && suffixed) return static_cast<float>(number);
  const ValueKeeper keeper(effect, index);
  float shown = 0.0f;
  if (findShown(text, shown)) {
    const std::string display = displayAt(shown);
    const std::string other = normalised ? displayAt(static_cast<float>(number)) : display;
    if (other == display) return normalised ? static_cast<float>(number) : shown;
    if (note != nullptr) {
      const std::string name = effect.parameterName(index);
      *note = "--set " + name + "=" + squeezed + " reads as the display " + display +
              "; for the normalised value " + squeezed + " (display " + other + ") write " +
              name + "=" + squeezed + "norm";
    }
    return shown;
  }
  if (normalised) return static_cast<float>(number);
  const float onOrOff = switchValue(text);
  if (onOrOff >= 0.0f) {
    return onOrOff;
  }
  throw RenderError(refusal(text));
}

bool DisplaySearch::findShown(const std::string& text, float& value) {
  float first = 0.0f;
  float last = 0.0f;
  for (bool editor : {false, true}) {
    readingEditorText = editor;
    if ((!editor || editorText != nullptr) && findRun(text, first, last)) {
      value = chooseInRun(text, first, last);
      readingEditorText = false;
      return true;
    }
  }
  readingEditorText = false;
  return false;
}

bool DisplaySearch::findRun(const std::string& text, float& first, float& last) {
  std::vector<Reading> grid;
  for (int step = 0; step <= gridSteps; ++step) {
    grid.push_back(readingOf(displayAt(gridPoint(step))));
  }
  const Reading wanted = readingOf(text);
  const auto matches = [&](float value) { return shows(value, text); };
  for (int step = 0; step <= gridSteps; ++step) {
    if (!sameReading(grid[step], wanted)) continue;
    int low = step;
    while (low > 0 && sameReading(grid[low - 1], wanted)) --low;
    int high = step;
    while (high < gridSteps && sameReading(grid[high + 1], wanted)) ++high;
    first = low == 0 ? 0.0f : firstPast(gridPoint(low - 1), gridPoint(low), matches);
    last = high == gridSteps
               ? 1.0f
               : previousFloat(firstPast(gridPoint(high), gridPoint(high + 1),
                                         [&](float value) { return !matches(value); }));
    return true;
  }
  // A run narrower than the grid (a cutoff in Hz near the top) lies between two points where the
  // numbers of the text's unit run towards the text's number, or end in a text of another kind.
  for (int step = 0; wanted.hasNumber && step < gridSteps; ++step) {
    if (findRunBetween(wanted, grid[step], grid[step + 1], gridPoint(step), first, last)) {
      return true;
    }
  }
  return false;
}

bool DisplaySearch::findRunBetween(const Reading& wanted, const Reading& low,
                                   const Reading& high, float lowValue, float& first,
                                   float& last) {
  const bool lowCounts = low.hasNumber && low.unit == wanted.unit;
  const bool highCounts = high.hasNumber && high.unit == wanted.unit;
  if (!lowCounts && !highCounts) return false;
  const double direction = highCounts ? high.number - wanted.number : wanted.number - low.number;
  // Reached: the number is at (or, strictly, beyond) the text's; past the end of the numbers, a
  // text of another kind counts as beyond them.
  const auto reached = [&](const Reading& reading, bool strictly) {
    if (!reading.hasNumber || reading.unit != wanted.unit) return !highCounts;
    const double beyond = direction * (reading.number - wanted.number);
    return strictly ? beyond > 0.0 : beyond >= 0.0;
  };
  if (direction == 0.0 || reached(low, false) || !reached(high, false)) return false;
  const float highValue = gridPoint(1) + lowValue;
  const auto reachedAt = [&](bool strictly) {
    return [&, strictly](float value) { return reached(readingOf(displayAt(value)), strictly); };
  };
  first = firstPast(lowValue, highValue, reachedAt(false));
  if (!sameReading(readingOf(displayAt(first)), wanted)) return false;
  last = previousFloat(firstPast(first, highValue, reachedAt(true)));
  return true;
}

float DisplaySearch::chooseInRun(const std::string& text, float first, float last) {
  // "100%", "off" and the like at an end of the range mean that end itself.
  if (first == 0.0f) return 0.0f;
  if (last == 1.0f) return 1.0f;
  // The roundest decimal near the centre whose display the effect confirms, so that a mapping
  // which truncates never lands a step low; the centre itself when none is shorter.
  const double centre = (static_cast<double>(first) + last) / 2.0;
  for (int places = 1; places <= 9; ++places) {
    const double scale = std::pow(10.0, places);
    const float round = static_cast<float>(std::round(centre * scale) / scale);
    if (round >= first && round <= last && shows(round, text)) return round;
  }
  return shows(static_cast<float>(centre), text) ? static_cast<float>(centre) : first;
}

float DisplaySearch::switchValue(const std::string& text) {
  const Reading wanted = readingOf(text);
  if (wanted.hasNumber || (wanted.unit != "on" && wanted.unit != "off")) return -1.0f;
  // A switch stores only 0 or 1, whatever is written.
  for (float trial : {0.3f, 0.7f}) {
    effect.setParameterValue(index, trial);
    const float stored = effect.parameterValue(index);
    if (stored != 0.0f && stored != 1.0f) return -1.0f;
  }
  return wanted.unit == "on" ? 1.0f : 0.0f;
}

std::string DisplaySearch::refusal(const std::string& text) {
  const std::string name = effect.parameterName(index);
  // A parameter of a few steps (note lengths, modes) names them all.
  constexpr std::size_t mostChoicesNamed = 16;
  std::vector<std::string> choices;
  for (int step = 0; step <= gridSteps && choices.size() <= mostChoicesNamed; ++step) {
    const std::string display = displayAt(gridPoint(step));
    if (choices.empty() || choices.back() != display) choices.push_back(display);
  }
  if (choices.size() <= mostChoicesNamed) {
    std::string list;
    for (const std::string& choice : choices) list += choice + ", ";
    return "--set " + name + ": no value shows '" + text + "'; give one of " + list +
           "or a normalised value from 0 to 1";
  }
  return "--set " + name + ": no value shows '" + text + "'; give a normalised value from 0 to 1 or a text " +
         name + " shows, from " + displayAt(0.0f) + " (at 0) to " + displayAt(1.0f) + " (at 1)";
}

std::string DisplaySearch::listedValue() {
  const ValueKeeper keeper(effect, index);
  const std::string display = effect.parameterDisplay(index);
  char text[32];
  for (int places = 4; places <= 9; ++places) {
    std::snprintf(text, sizeof text, "%.*f", places, static_cast<double>(keeper.value()));
    if (displayAt(static_cast<float>(std::strtod(text, nullptr))) != display) continue;
    // A decimal that also reads as another display keeps the normalised reading by its suffix.
    std::string note;
    valueFor(text, &note);
    return note.empty() ? std::string(text) : std::string(text) + "norm";
  }
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(keeper.value()));
  return text;
}

}  // namespace wrenfold
