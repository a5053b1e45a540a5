#pragma once

#include <optional>
#include <string>

namespace wrenfold {

// Value-text formatters: each writes one NUL-terminated text of at most 16 bytes for a normalised
// value. They are shared by the host's parameter display and the editor's value displays.

// Writes "reverse" or "normal".
void formatMode(float value, char* text);
// Writes the value itself with one decimal, e.g. "0.1".
void formatPlainNumber(float value, char* text);
// Writes the low-pass cutoff as e.g. "12039Hz", or "off" at the top of the range.
void formatLpfCutoff(float value, char* text);
// Writes the low-pass Q with one decimal, e.g. "1.9".
void formatQ(float value, char* text);
// Writes the high-pass cutoff as e.g. "41Hz", or "off" at the bottom of the range.
void formatHpfCutoff(float value, char* text);
// Writes the tempo as e.g. "BPM130".
void formatTempo(float value, char* text);
// Writes the note length's name, e.g. "1/8+1/16".
void formatNoteLength(float value, char* text);
// Writes the feedback as a percentage, e.g. "33%".
void formatFeedback(float value, char* text);
// Writes a signed level as a percentage, e.g. "-59%".
void formatLevel(float value, char* text);
// Writes a pan position as "left50%", "center" or "right50%".
void formatPan(float value, char* text);
// Writes a reverse ramp length as e.g. "1.00ms", or "off" for 0.
void formatRampTime(float value, char* text);

// Readers of texts a musician types or a display shows.

// Reads a plain decimal number ([sign] digits [. digits] [e [sign] digits]) into `value`; answers
// false for anything else, hexadecimal, "inf", "nan" and blanks included, and for an overflow.
bool parseDecimal(const std::string& text, double& value);
// Returns the fraction of a whole note a note-length text such as "1/8+1/16" or "1" names, or
// nothing when the text is no such sum.
std::optional<double> noteFractionFromText(const std::string& text);
// Returns the beats per minute of a tempo text such as "BPM130", or nothing.
std::optional<double> tempoFromText(const std::string& text);

}  // namespace wrenfold
