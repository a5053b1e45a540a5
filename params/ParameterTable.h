#pragma once

// The parameters as one table: everything the effect, its programs, the host's texts and the
// editor's displays need of a parameter is in its row, and the effect's and editor's pending-work
// bits follow from its length. Adding a parameter:
// 1. here, a name in ParameterIndex and a row in parameterTable at the same place;
// 2. the engine code its write sets off: a WriteEffect it shares, or a new one and its case in
//    DelayEffect, where processing or the update it names reads the engine value;
// 3. its control, and its display if it has one, as rows of editor/EditorLayout.h, with the
//    label printed under it; then the skin pictures and the golden editor image are made again
//    by their own commands (CONTRIBUTING.md);
// 4. a row in the test table of the behaviour it adds.

#include <cstdint>

#include "params/ParameterFormat.h"
#include "params/ParameterMapping.h"

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
  parameterCountTotal  // the number of parameters; stays last
};

// Number of factory programs.
constexpr int32_t programCountTotal = 5;

// Names of the factory programs, program 0 first.
constexpr const char* factoryProgramNames[programCountTotal] = {"init", "space", "reverse FX",
                                                                "like analog", "robot"};

// What a write sets off in the engine besides taking the parameter's engine value.
enum class WriteEffect : uint8_t {
  plainValue,     // nothing: processing reads the engine value itself
  channelGains,   // recomputes the feedback, wet, dry and pan gains of both channels
  filterUpdate,   // gives both loop filters new settings
  restart,        // sets both delay lengths and the direction, restarting lines and envelopes
  clearLatch,     // moves the clear latch; a rising latch silences both lines
  envelopeRamps,  // gives both reverse envelopes new attack and release ramps
};

// Formats a normalised value as text.
using Formatter = void (*)(float value, char* text);

// One parameter. Its label is its name: units are part of the value texts.
struct ParameterRow {
  ParameterIndex index;
  const char* name;
  bool isSwitch;                           // stored as 0.0 below 0.5, else 1.0
  float (*engineQuantity)(float stored);   // what the engine computes with
  Formatter hostText;                      // the host's value text
  Formatter displayText;                   // the editor display's text; null where it has none
  WriteEffect effect;                      // what a write sets off
  float programValues[programCountTotal];  // factory program 0 (the default) to 4
  const char* purpose;                     // what it does, in the user's manual
};

// The parameters in index order: index, name, switch, engine quantity, host text, editor
// display, what a write sets off, factory values, purpose.
inline constexpr ParameterRow parameterTable[] = {
    {NomorRev,
     "NomorRev",
     true,
     unmappedValue,
     formatMode,
     nullptr,
     WriteEffect::restart,
     {0.0f, 0.0f, 1.0f, 0.0f, 0.0f},
     "the mode: normal echoes, or each delay's stretch played backwards"},
    {ClearBuffer,
     "ClearBuffer",
     false,
     unmappedValue,
     formatPlainNumber,
     nullptr,
     WriteEffect::clearLatch,
     {0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
     "the clear button: raising it silences both delay lines at once"},
    {Bypass,
     "Bypass",
     true,
     unmappedValue,
     formatPlainNumber,
     nullptr,
     WriteEffect::plainValue,
     {0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
     "passes the input through unchanged"},
    {LpfCutoff,
     "LpfCutoff",
     false,
     unmappedValue,
     formatLpfCutoff,
     formatLpfCutoff,
     WriteEffect::filterUpdate,
     {0.9f, 0.6f, 0.6f, 0.7f, 0.57f},
     "cut-off of the low-pass filter in the echoes' loop (off at the top)"},
    {LpfQ,
     "LpfQ",
     false,
     unmappedValue,
     formatQ,
     formatQ,
     WriteEffect::filterUpdate,
     {0.0f, 0.4f, 0.45f, 0.05f, 0.55f},
     "resonance (Q) of that low-pass filter"},
    {HpfCutoff,
     "HpfCutoff",
     false,
     unmappedValue,
     formatHpfCutoff,
     formatHpfCutoff,
     WriteEffect::filterUpdate,
     {0.1f, 0.1f, 0.23f, 0.15f, 0.3f},
     "cut-off of the high-pass filter in the echoes' loop (off at the bottom)"},
    {TempoL,
     "TempoL",
     false,
     tempoFromValue,
     formatTempo,
     formatTempo,
     WriteEffect::restart,
     {0.5f, 0.5f, 0.3f, 0.6f, 1.0f},
     "tempo of the left delay, in whole beats per minute"},
    {TempoR,
     "TempoR",
     false,
     tempoFromValue,
     formatTempo,
     formatTempo,
     WriteEffect::restart,
     {0.5f, 0.5f, 0.3f, 0.6f, 1.0f},
     "tempo of the right delay"},
    {NoteLenL,
     "NoteLenL",
     false,
     noteFractionFromValue,
     formatNoteLength,
     formatNoteLength,
     WriteEffect::restart,
     {0.5f, 0.6f, 0.3f, 0.6f, 1.0f},
     "note length of the left delay: its echo comes that note after the sound"},
    {NoteLenR,
     "NoteLenR",
     false,
     noteFractionFromValue,
     formatNoteLength,
     formatNoteLength,
     WriteEffect::restart,
     {0.5f, 0.65f, 0.4f, 0.6f, 1.0f},
     "note length of the right delay"},
    {FeedBackL,
     "FeedBackL",
     false,
     unmappedValue,
     formatFeedback,
     formatFeedback,
     WriteEffect::channelGains,
     {0.5f, 0.4f, 0.33f, 0.5f, 0.28f},
     "how much of each left echo comes back as the next one"},
    {FeedBackR,
     "FeedBackR",
     false,
     unmappedValue,
     formatFeedback,
     formatFeedback,
     WriteEffect::channelGains,
     {0.5f, 0.4f, 0.33f, 0.5f, 0.28f},
     "how much of each right echo comes back"},
    {WetLevelL,
     "WetLevelL",
     false,
     levelFromValue,
     formatLevel,
     formatLevel,
     WriteEffect::channelGains,
     {0.75f, 0.8f, 0.95f, 0.8f, 0.95f},
     "level of the left echoes; below 0 % with the phase inverted"},
    {WetLevelR,
     "WetLevelR",
     false,
     levelFromValue,
     formatLevel,
     formatLevel,
     WriteEffect::channelGains,
     {0.75f, 0.2f, 0.95f, 0.8f, 0.95f},
     "level of the right echoes"},
    {DryLevelL,
     "DryLevelL",
     false,
     levelFromValue,
     formatLevel,
     formatLevel,
     WriteEffect::channelGains,
     {1.0f, 1.0f, 0.8f, 1.0f, 1.0f},
     "level of the left input passed through (dry); below 0 % inverted"},
    {DryLevelR,
     "DryLevelR",
     false,
     levelFromValue,
     formatLevel,
     formatLevel,
     WriteEffect::channelGains,
     {1.0f, 1.0f, 0.8f, 1.0f, 1.0f},
     "level of the right input passed through"},
    {WetPanL,
     "WetPanL",
     false,
     unmappedValue,
     formatPan,
     formatPan,
     WriteEffect::channelGains,
     {0.0f, 0.0f, 0.0f, 0.5f, 0.25f},
     "where the left echoes sit between the speakers"},
    {WetPanR,
     "WetPanR",
     false,
     unmappedValue,
     formatPan,
     formatPan,
     WriteEffect::channelGains,
     {1.0f, 1.0f, 1.0f, 0.5f, 0.75f},
     "where the right echoes sit"},
    {RevAttack,
     "RevAttack",
     false,
     unmappedValue,
     formatPlainNumber,
     formatRampTime,
     WriteEffect::envelopeRamps,
     {0.1f, 0.1f, 0.1f, 0.1f, 0.1f},
     "fade-in of each reversed stretch (reverse mode)"},
    {RevRelease,
     "RevRelease",
     false,
     unmappedValue,
     formatPlainNumber,
     formatRampTime,
     WriteEffect::envelopeRamps,
     {0.1f, 0.1f, 0.1f, 0.1f, 0.1f},
     "fade-out of each reversed stretch (reverse mode)"},
};

// Returns whether every row sits at its own index.
constexpr bool rowsInIndexOrder() {
  for (int32_t i = 0; i < parameterCountTotal; ++i)
    if (parameterTable[i].index != i) return false;
  return true;
}

static_assert(sizeof(parameterTable) / sizeof(parameterTable[0]) == parameterCountTotal,
              "one row per parameter");
static_assert(rowsInIndexOrder(), "rows in index order");

// Returns whether an index names a parameter.
constexpr bool isParameterIndex(int32_t index) { return index >= 0 && index < parameterCountTotal; }

// Returns the name of a parameter, or null for an index outside 0..19.
constexpr const char* parameterName(int32_t index) {
  return isParameterIndex(index) ? parameterTable[index].name : nullptr;
}

// Returns the bit of a parameter in a 32-bit mask with one bit per parameter.
constexpr uint32_t parameterBit(int32_t index) { return 1u << index; }

// Returns the mask of every parameter.
constexpr uint32_t allParameterBits() { return (parameterBit(parameterCountTotal - 1) << 1) - 1u; }

// Returns the mask of the parameters whose write sets off `effect`.
constexpr uint32_t parametersSetting(WriteEffect effect) {
  uint32_t mask = 0;
  for (const ParameterRow& row : parameterTable)
    if (row.effect == effect) mask |= parameterBit(row.index);
  return mask;
}

}  // namespace wrenfold
