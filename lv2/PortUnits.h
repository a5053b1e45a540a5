#pragma once

#include <cstddef>
#include <cstdint>

namespace wrenfold {

// How a parameter shows as an LV2 control port: in the units of the text the editor displays
// (whole BPM, the fraction of a whole note, percent, hertz, milliseconds), the switches as
// toggles. Port values and normalised values meet through the display texts, by the same search
// the command line uses.
struct PortUnit {
  float minimum;
  float maximum;
  bool isToggle;
  bool isInteger;
  bool isNoteLength;    // the fraction of a whole note, the note lengths as scale points
  const char* unitUri;  // a unit of the LV2 units vocabulary, or null
  // Writes the display text a port value reads as (blanks and case as the display has them).
  void (*text)(float portValue, char* text, std::size_t size);
};

// Returns the port unit of a parameter index 0..19.
const PortUnit& portUnit(int32_t index);

// Returns the port value that shows a normalised value: the number of its display text.
float portValueOf(int32_t index, float normalised);

// Finds the normalised value a port value asks for: the value the display search finds for its
// text, preferring `current` and the factory programs' values; the switches as they stand. False
// when no value displays the port value's text (a cutoff between the highest number and "off").
// Allocates: never on the audio thread.
bool normalisedFor(int32_t index, float portValue, float current, float& normalised);

}  // namespace wrenfold
