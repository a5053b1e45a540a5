#pragma once

#include <string>
#include <vector>

#include "params/ParameterTable.h"

namespace wrenfold {

// Finds the normalised values of one parameter through the texts it displays for them: the one
// rule by which a text a musician reads ("128 BPM", "40%", "2500Hz", "1/8") becomes a value,
// shared by the command line and the LV2 plug-in's ports. A search allocates: never on the audio
// thread.
class DisplaySearch {
 public:
  // A display text as the search compares it: its first number, if any, and the rest in lower
  // case without blanks, so that "128 BPM", "128bpm" and "BPM128" read alike. A text that is a
  // plain number or a sum of fractions ("1/8+1/16") also has its amount, so that "0.25" reads as
  // "1/4".
  struct Reading {
    std::string unit;
    bool hasNumber = false;
    double number = 0.0;
    bool hasAmount = false;
    double amount = 0.0;
  };

  // The parameter searched: what it displays for a value, and what it stores when written one.
  class Source {
   public:
    virtual ~Source() = default;
    virtual std::string displayAt(float value) = 0;
    virtual float storedAfter(float written) = 0;
  };

  // Searches through `source`; a value of `preferred` that shows the text wins over the rest of
  // its run (the current value, a factory program's), so a text already shown changes nothing.
  // `editorText`, when given, is a second text the parameter is shown in (the editor's
  // milliseconds where the host shows another number), read when no display shows the text.
  DisplaySearch(Source& searched, std::vector<float> preferred, Formatter editorText = nullptr);

  // Sets `value` to one whose display, else editor text, reads the text (case, blanks and the
  // unit's side ignored; "on" and "off" for a switch): a preferred value, else the roundest
  // decimal well inside the run of such values, or the run's end at 0 or 1; false when no value
  // shows the text.
  bool valueFor(const std::string& text, float& value);
  // As valueFor, for a text a musician types, which may also be a normalised value: a decimal
  // from 0 to 1 that no display reads, or any with the "norm" suffix ("0.7norm"). When a decimal
  // reads both ways with different displays the display wins, and `otherDisplay` (when given)
  // receives the display the normalised reading would have given.
  bool typedValueFor(const std::string& text, float& value, std::string* otherDisplay = nullptr);
  // Returns `current` as the shortest decimal, four places at least, that typedValueFor reads
  // back to the same display, with the "norm" suffix when the plain decimal reads as a display.
  std::string listedValue(float current);
  // Returns the displays of a parameter of a few steps (note lengths, modes) in order; empty for
  // one of many.
  std::vector<std::string> choices();

  static Reading readingOf(const std::string& text);
  // Returns what a search of parameter `index` prefers: its current value, then its values in the
  // factory programs, so that a program's texts give back the program itself.
  static std::vector<float> preferredFor(int index, float current);

 private:
  // Returns the display of a trial value, or its editor text while that is searched.
  std::string textAt(float value);
  bool shows(float value, const std::string& text);
  // Returns the first and last value whose display reads the text; false when there is none.
  bool findRun(const std::string& text, float& first, float& last);
  // Returns the first and last value showing the wanted reading between the trial point at
  // `lowValue` and the next one, whose readings are given; false when their numbers do not run
  // towards the wanted one or jump over it.
  bool findRunBetween(const Reading& wanted, const Reading& low, const Reading& high,
                      float lowValue, float& first, float& last);
  float chooseInRun(const std::string& text, float first, float last);
  // Returns 0 or 1 for "off" or "on" when the parameter is a switch; negative otherwise.
  float switchValue(const std::string& text);

  Source& source;
  std::vector<float> preferredValues;
  Formatter editorText;
  bool readingEditorText = false;
};

}  // namespace wrenfold
