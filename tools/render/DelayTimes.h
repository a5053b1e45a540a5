#pragma once

#include <optional>
#include <string>

#include "params/ParameterFormat.h"

namespace wrenfold {

class EffectInstance;

// The two delay times of the effect, in frames at the rate they were computed for.
struct DelayTimes {
  long left = 0;
  long right = 0;
};

// Returns the delay of one note length at one tempo in frames, truncated toward zero, computed in
// single precision as the effect does.
long delayFrames(double noteFraction, double beatsPerMinute, float sampleRate);

// Reads both delay times from the effect's tempo and note-length texts (TempoL, TempoR, NoteLenL,
// NoteLenR); returns nothing when the effect has no such parameters or their texts do not parse.
std::optional<DelayTimes> readDelayTimes(const EffectInstance& effect, float sampleRate);

}  // namespace wrenfold
