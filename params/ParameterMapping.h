#pragma once

#include <cstdint>

namespace wrenfold {

// Index of every parameter; the editor's control tags use the same numbers.
enum ParameterIndex : int32_t {
  NomorRev,
  ClearBuffer,
  Bypass,
  LpfCutoff,
  LpfQ,
  HpfCutoff,
  TempoL,
  TempoR,
  NoteLenL,
  NoteLenR,
  FeedBackL,
  FeedBackR,
  WetLevelL,
  WetLevelR,
  DryLevelL,
  DryLevelR,
  WetPanL,
  WetPanR,
  RevAttack,
  RevRelease,
  parameterCountTotal = 20
};

// One selectable note length: its display name and its fraction of a whole note.
struct NoteLength {
  const char* name;
  float fraction;
};

// Number of entries of noteLengthTable.
constexpr int32_t noteLengthCount = 14;

// The note lengths from the longest ("1") to the shortest ("1/64").
extern const NoteLength noteLengthTable[noteLengthCount];

// Returns the name of a parameter, or null for an index outside 0..19.
const char* parameterName(int32_t index);

// Returns whether an index names a parameter.
bool isParameterIndex(int32_t index);

// Truncates toward zero like an integer conversion, saturating instead of overflowing; NaN gives 0.
int32_t truncateToInt(double value);

// Returns the tempo in whole beats per minute, 60 at 0.0 up to 200 at 1.0.
float tempoFromValue(float value);

// Returns the noteLengthTable index of a normalised value, always within the table.
int32_t noteIndexFromValue(float value);

// Returns a filter cutoff in hertz, 20 Hz at 0.0 up to 20000 Hz at 1.0.
float cutoffFromValue(float value);

// Returns a low-pass Q, 0.5 at 0.0 up to 4.0 at 1.0.
float qFromValue(float value);

// Returns a signed gain, -1.0 at 0.0, silence at 0.5, +1.0 at 1.0.
float levelFromValue(float value);

}  // namespace wrenfold
