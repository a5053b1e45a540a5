#include "params/ParameterMapping.h"

#include <cmath>

namespace wrenfold {

const NoteLength noteLengthTable[noteLengthCount] = {
    {"1", 1.0f},         {"1/2+1/4", 0.75f},      {"2/3", 2.0f / 3.0f},   {"1/2", 0.5f},
    {"1/4+1/8", 0.375f}, {"1/3", 1.0f / 3.0f},    {"1/4", 0.25f},         {"1/8+1/16", 0.1875f},
    {"1/8", 0.125f},     {"1/16+1/32", 0.09375f}, {"1/12", 1.0f / 12.0f}, {"1/16", 0.0625f},
    {"1/32", 0.03125f},  {"1/64", 0.015625f},
};

float tempoFromValue(float value) { return 60.0f - std::trunc(value * -140.0f); }

int32_t noteIndexFromValue(float value) {
  const int32_t index = truncateToInt(value * 12.999999f + 0.0001f);
  if (index < 0) return 0;
  if (index >= noteLengthCount) return noteLengthCount - 1;
  return index;
}

float noteFractionFromValue(float value) {
  return noteLengthTable[noteIndexFromValue(value)].fraction;
}

float unmappedValue(float value) { return value; }

float clearLatchAfter(float state, float written) {
  if (state < 0.5f && written >= 0.5f) return 1.0f;
  if (state > 0.5f && written <= 0.5f) return 0.0f;
  return state;
}

float cutoffFromValue(float value) { return std::pow(19981.0f, std::sqrt(value)) + 19.0f; }

float qFromValue(float value) { return 3.5f * value + 0.5f; }

float levelFromValue(float value) { return 2.0f * value - 1.0f; }

}  // namespace wrenfold
