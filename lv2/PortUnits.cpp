#include "lv2/PortUnits.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "params/DisplaySearch.h"
#include "params/ParameterTable.h"

namespace wrenfold {

namespace {

constexpr std::size_t displayCapacity = 32;

#define WRENFOLD_UNITS "http://lv2plug.in/ns/extensions/units#"

long whole(float value) { return std::lround(value); }

void toggleText(float value, char* text, std::size_t size) {
  std::snprintf(text, size, "%s", value >= 0.5f ? "on" : "off");
}
void lowPassText(float value, char* text, std::size_t size) {
  if (value >= 20000.0f) {
    std::snprintf(text, size, "off");
  } else {
    std::snprintf(text, size, "%ldHz", whole(value));
  }
}
void highPassText(float value, char* text, std::size_t size) {
  if (whole(value) < 20) {
    std::snprintf(text, size, "off");
  } else {
    std::snprintf(text, size, "%ldHz", whole(value));
  }
}
void qText(float value, char* text, std::size_t size) {
  std::snprintf(text, size, "%.1f", static_cast<double>(value));
}
void tempoText(float value, char* text, std::size_t size) {
  std::snprintf(text, size, "BPM%ld", whole(value));
}
void noteText(float value, char* text, std::size_t size) {
  int32_t nearest = 0;
  for (int32_t i = 1; i < noteLengthCount; ++i) {
    if (std::fabs(noteLengthTable[i].fraction - value) <
        std::fabs(noteLengthTable[nearest].fraction - value))
      nearest = i;
  }
  std::snprintf(text, size, "%s", noteLengthTable[nearest].name);
}
void percentText(float value, char* text, std::size_t size) {
  std::snprintf(text, size, "%ld%%", whole(value));
}
void panText(float value, char* text, std::size_t size) {
  const long percent = whole(value);
  if (percent < 0) {
    std::snprintf(text, size, "left%ld%%", -percent);
  } else if (percent > 0) {
    std::snprintf(text, size, "right%ld%%", percent);
  } else {
    std::snprintf(text, size, "center");
  }
}
void rampText(float value, char* text, std::size_t size) {
  if (value <= 0.0f) {
    std::snprintf(text, size, "off");
  } else {
    std::snprintf(text, size, "%.2fms", static_cast<double>(value));
  }
}

// The port unit of each display formatter; a parameter without an editor display is a switch.
struct FormatterUnit {
  Formatter formatter;
  PortUnit unit;
};

constexpr PortUnit toggleUnit = {0.0f, 1.0f, true, true, false, nullptr, toggleText};

const FormatterUnit formatterUnits[] = {
    {formatLpfCutoff, {20.0f, 20000.0f, false, false, false, WRENFOLD_UNITS "hz", lowPassText}},
    {formatHpfCutoff, {0.0f, 20000.0f, false, false, false, WRENFOLD_UNITS "hz", highPassText}},
    {formatQ, {0.5f, 4.0f, false, false, false, nullptr, qText}},
    {formatTempo, {60.0f, 200.0f, false, true, false, WRENFOLD_UNITS "bpm", tempoText}},
    {formatNoteLength, {0.015625f, 1.0f, false, false, true, nullptr, noteText}},
    {formatFeedback, {0.0f, 100.0f, false, false, false, WRENFOLD_UNITS "pc", percentText}},
    {formatLevel, {-100.0f, 100.0f, false, false, false, WRENFOLD_UNITS "pc", percentText}},
    {formatPan, {-100.0f, 100.0f, false, false, false, WRENFOLD_UNITS "pc", panText}},
    {formatRampTime, {0.0f, 100.0f, false, false, false, WRENFOLD_UNITS "ms", rampText}},
};

// The editor's display of a parameter, which the search reads.
class DisplayedParameter : public DisplaySearch::Source {
 public:
  explicit DisplayedParameter(Formatter shown) : formatter(shown) {}
  std::string displayAt(float value) override {
    char text[displayCapacity] = {};
    formatter(value, text);
    return text;
  }
  float storedAfter(float written) override { return written; }

 private:
  Formatter formatter;
};

}  // namespace

const PortUnit& portUnit(int32_t index) {
  const Formatter shown = isParameterIndex(index) ? parameterTable[index].displayText : nullptr;
  for (const FormatterUnit& entry : formatterUnits)
    if (shown != nullptr && entry.formatter == shown) return entry.unit;
  return toggleUnit;
}

float portValueOf(int32_t index, float normalised) {
  const PortUnit& unit = portUnit(index);
  if (unit.isToggle) return normalised >= 0.5f ? 1.0f : 0.0f;
  if (unit.isNoteLength) return noteFractionFromValue(normalised);
  char text[displayCapacity] = {};
  parameterTable[index].displayText(normalised, text);
  const DisplaySearch::Reading reading = DisplaySearch::readingOf(text);
  if (!reading.hasNumber) {
    // "off" stands at the end of the range where the filter or ramp has no effect.
    if (reading.unit == "off") return normalised < 0.5f ? unit.minimum : unit.maximum;
    return 0.0f;  // "center"
  }
  const float number = static_cast<float>(reading.number);
  return reading.unit.rfind("left", 0) == 0 ? -number : number;
}

bool normalisedFor(int32_t index, float portValue, float current, float& normalised) {
  if (!isParameterIndex(index)) return false;
  const PortUnit& unit = portUnit(index);
  if (unit.isToggle) {
    normalised = portValue >= 0.5f ? 1.0f : 0.0f;
    return true;
  }
  char text[displayCapacity] = {};
  unit.text(portValue, text, sizeof text);
  DisplayedParameter parameter(parameterTable[index].displayText);
  return DisplaySearch(parameter, DisplaySearch::preferredFor(index, current))
      .valueFor(text, normalised);
}

}  // namespace wrenfold
