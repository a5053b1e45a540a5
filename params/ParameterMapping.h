#pragma once

#include <cstdint>

#include "base/Truncation.h"

namespace wrenfold {

// One selectable note length: its display name and its fraction of a whole note.
struct NoteLength {
  const char* name;
  float fraction;
};

// Number of entries of noteLengthTable.
constexpr int32_t noteLengthCount = 14;

// The note lengths from the longest ("1") to the shortest ("1/64").
extern const NoteLength noteLengthTable[noteLengthCount];

// Returns the tempo in whole beats per minute, 60 at 0.0 up to 200 at 1.0.
float tempoFromValue(float value);

// Returns the noteLengthTable index of a normalised value, always within the table.
int32_t noteIndexFromValue(float value);

// Returns the fraction of a whole note of the note length a normalised value selects.
float noteFractionFromValue(float value);

// Returns the value itself, for parameters the engine uses unmapped.
float unmappedValue(float value);

// Returns the clear switch's state after a write: a write of 0.5 or more raises a low switch, one
// of 0.5 or less drops a high one, and a switch at exactly 0.5 stays.
float clearLatchAfter(float state, float written);

// Returns a filter cutoff in hertz, 20 Hz at 0.0 up to 20000 Hz at 1.0.
float cutoffFromValue(float value);

// Returns a low-pass Q, 0.5 at 0.0 up to 4.0 at 1.0.
float qFromValue(float value);

// Returns a signed gain, -1.0 at 0.0, silence at 0.5, +1.0 at 1.0.
float levelFromValue(float value);

}  // namespace wrenfold
