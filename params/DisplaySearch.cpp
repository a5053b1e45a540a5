#include "params/DisplaySearch.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

#include "params/ParameterFormat.h"
#include "params/ParameterTable.h"

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

Reading readingOfText(const std::string& text) {
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

}  // namespace

DisplaySearch::DisplaySearch(Source& searched, std::vector<float> preferred, Formatter editor)
    : source(searched), preferredValues(std::move(preferred)), editorText(editor) {}

DisplaySearch::Reading DisplaySearch::readingOf(const std::string& text) {
  return readingOfText(text);
}

std::vector<float> DisplaySearch::preferredFor(int index, float current) {
  std::vector<float> preferred = {current};
  if (isParameterIndex(index))
    preferred.insert(preferred.end(), std::begin(parameterTable[index].programValues),
                     std::end(parameterTable[index].programValues));
  return preferred;
}

std::string DisplaySearch::textAt(float value) {
  if (!readingEditorText) return source.displayAt(value);
  char text[32] = {};
  editorText(source.storedAfter(value), text);
  return text;
}

bool DisplaySearch::shows(float value, const std::string& text) {
  return sameReading(readingOf(textAt(value)), readingOf(text));
}

bool DisplaySearch::valueFor(const std::string& text, float& value) {
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
  value = switchValue(text);
  return value >= 0.0f;
}

bool DisplaySearch::typedValueFor(const std::string& text, float& value,
                                  std::string* otherDisplay) {
  const std::string squeezed = squeezedOf(text);
  constexpr std::size_t suffixLength = 4;
  const bool suffixed = squeezed.size() > suffixLength &&
                        squeezed.compare(squeezed.size() - suffixLength, suffixLength, "norm") == 0;
  double number = 0.0;
  const bool normalised =
      parseDecimal(suffixed ? squeezed.substr(0, squeezed.size() - suffixLength) : squeezed,
                   number) &&
      number >= 0.0 && number <= 1.0;
  if (normalised && suffixed) {
    value = static_cast<float>(number);
    return true;
  }
  if (valueFor(text, value)) {
    if (!normalised) return true;
    const std::string display = source.displayAt(value);
    const std::string other = source.displayAt(static_cast<float>(number));
    if (other == display) {
      value = static_cast<float>(number);
    } else if (otherDisplay != nullptr) {
      *otherDisplay = other;
    }
    return true;
  }
  value = static_cast<float>(number);
  return normalised;
}

bool DisplaySearch::findRun(const std::string& text, float& first, float& last) {
  std::vector<Reading> grid;
  for (int step = 0; step <= gridSteps; ++step) {
    grid.push_back(readingOf(textAt(gridPoint(step))));
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

bool DisplaySearch::findRunBetween(const Reading& wanted, const Reading& low, const Reading& high,
                                   float lowValue, float& first, float& last) {
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
    return [&, strictly](float value) { return reached(readingOf(textAt(value)), strictly); };
  };
  first = firstPast(lowValue, highValue, reachedAt(false));
  if (!sameReading(readingOf(textAt(first)), wanted)) return false;
  last = previousFloat(firstPast(first, highValue, reachedAt(true)));
  return true;
}

float DisplaySearch::chooseInRun(const std::string& text, float first, float last) {
  // "100%", "off" and the like at an end of the range mean that end itself.
  if (first == 0.0f) return 0.0f;
  if (last == 1.0f) return 1.0f;
  for (float preferred : preferredValues) {
    if (preferred >= first && preferred <= last && shows(preferred, text)) return preferred;
  }
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
    const float stored = source.storedAfter(trial);
    if (stored != 0.0f && stored != 1.0f) return -1.0f;
  }
  return wanted.unit == "on" ? 1.0f : 0.0f;
}

std::vector<std::string> DisplaySearch::choices() {
  constexpr std::size_t mostChoicesNamed = 16;
  std::vector<std::string> shown;
  for (int step = 0; step <= gridSteps && shown.size() <= mostChoicesNamed; ++step) {
    const std::string display = source.displayAt(gridPoint(step));
    if (shown.empty() || shown.back() != display) shown.push_back(display);
  }
  if (shown.size() > mostChoicesNamed) shown.clear();
  return shown;
}

std::string DisplaySearch::listedValue(float current) {
  const std::string display = source.displayAt(current);
  char text[32];
  for (int places = 4; places <= 9; ++places) {
    std::snprintf(text, sizeof text, "%.*f", places, static_cast<double>(current));
    if (source.displayAt(static_cast<float>(std::strtod(text, nullptr))) != display) continue;
    // A decimal that also reads as another display keeps the normalised reading by its suffix.
    std::string other;
    float read = 0.0f;
    typedValueFor(text, read, &other);
    return other.empty() ? std::string(text) : std::string(text) + "norm";
  }
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(current));
  return text;
}

}  // namespace wrenfold
