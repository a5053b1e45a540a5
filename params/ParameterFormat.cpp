#include "params/ParameterFormat.h"

#include <cstdio>
#include <cstring>

#include "params/ParameterMapping.h"

namespace wrenfold {

namespace {

// Every text fits in 16 bytes for values in 0..1; the bound only matters for values outside it.
constexpr std::size_t textCapacity = 16;

}  // namespace

void formatMode(float value, char* text) {
  std::strcpy(text, value >= 0.5f ? "reverse" : "normal");
}

void formatPlainNumber(float value, char* text) {
  std::snprintf(text, textCapacity, "%.1f", static_cast<double>(value));
}

void formatLpfCutoff(float value, char* text) {
  if (value > 0.999f) {
    std::strcpy(text, "off");
    return;
  }
  std::snprintf(text, textCapacity, "%dHz", truncateToInt(cutoffFromValue(value)));
}

void formatQ(float value, char* text) {
  std::snprintf(text, textCapacity, "%.1f", static_cast<double>(qFromValue(value)));
}

void formatHpfCutoff(float value, char* text) {
  if (value < 0.0001f) {
    std::strcpy(text, "off");
    return;
  }
  std::snprintf(text, textCapacity, "%dHz", truncateToInt(cutoffFromValue(value)));
}

void formatTempo(float value, char* text) {
  std::snprintf(text, textCapacity, "BPM%d", truncateToInt(tempoFromValue(value)));
}

void formatNoteLength(float value, char* text) {
  std::strcpy(text, noteLengthTable[noteIndexFromValue(value)].name);
}

// The percentages are computed in double precision: in single precision 0.2 would come out as
// -60% instead of -59%, and 0.95 as 90% instead of 89%.
void formatFeedback(float value, char* text) {
  std::snprintf(text, textCapacity, "%d%%", truncateToInt(static_cast<double>(value) * 100.0));
}

void formatLevel(float value, char* text) {
  const double level = 2.0 * static_cast<double>(value) - 1.0;
  std::snprintf(text, textCapacity, "%d%%", truncateToInt(level * 100.0));
}

void formatPan(float value, char* text) {
  const double x = value;
  if (x <= 0.495) {
    std::snprintf(text, textCapacity, "left%d%%", truncateToInt((1.0 - 2.0 * x) * 100.0));
  } else if (x < 0.505) {
    std::strcpy(text, "center");
  } else {
    std::snprintf(text, textCapacity, "right%d%%", truncateToInt((x - 0.5) * 200.0));
  }
}

void formatRampTime(float value, char* text) {
  if (value == 0.0f) {
    std::strcpy(text, "off");
    return;
  }
  const double x = value;
  std::snprintf(text, textCapacity, "%.2fms", x * x * 100.0);
}

}  // namespace wrenfold
