#include "params/DisplaySearch.h"

#include "params/ParameterTable.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <utility>
#include <vector>

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

Reading readingOfText(const std::string& text) {
  std::string squeezed;
  for (unsigned char c : text) {
    if (!std::isspace(c)) squeezed += static_cast<char>(std::tolower(c));
  }
  Reading reading;
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

DisplaySearch::DisplaySearch(Source& searched, std::vector<float> preferred)
    : source(searched), preferredValues(std::move(preferred)) {}

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

bool DisplaySearch::shows(float value, const std::string& text) {
  return sameReading(readingOf(source.displayAt(value)), readingOf(text));
}

bool DisplaySearch::valueFor(const std::string& text, float& value) {
  float first = 0.0f;
  float last = 0.0f;
  if (findRun(text, first, last)) {
    value = chooseInRun(text, first, last);
    return true;
  }
  value = switchValue(text);
  return value >= 0.0f;
}

bool DisplaySearch::findRun(const std::string& text, float& first, float& last) {
  std::vector<Reading> grid;
  for (int step = 0; step <= gridSteps; ++step) {
    grid.push_back(readingOf(source.displayAt(gridPoint(step))));
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
    return [&, strictly](float value) { return reached(readingOf(source.displayAt(value)), strictly); };
  };
  first = firstPast(lowValue, highValue, reachedAt(false));
  if (!sameReading(readingOf(source.displayAt(first)), wanted)) return false;
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

std::string DisplaySearch::listedValue(float current) {
  const std::string display = source.displayAt(current);
  char text[32];
  for (int places = 4; places <= 9; ++places) {
    std::snprintf(text, sizeof text, "%.*f", places, static_cast<double>(current));
    if (source.displayAt(static_cast<float>(std::strtod(text, nullptr))) == display) return text;
  }
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(current));
  return text;
}

}  // namespace wrenfold
