#pragma once

#include <string>

namespace wrenfold {

class EffectInstance;

// Finds values of one parameter through the texts the effect displays for them, which is all a
// host learns of what a value means. A search writes trial values to the parameter and puts its
// value back before it returns.
class DisplaySearch {
 public:
  // A display text as the search compares it: its first number, if any, and the rest in lower
  // case without blanks, so that "128 BPM", "128bpm" and "BPM128" read alike.
  // A text that is a plain number or a sum of fractions ("1/8+1/16") also has its amount, so that
  // "0.25" reads as "1/4".
  struct Reading {
    std::string unit;
    bool hasNumber = false;
    double number = 0.0;
    bool hasAmount = false;
    double amount = 0.0;
  };

  // Searches the values of the effect's parameter number `parameter`.
  DisplaySearch(EffectInstance& searched, int parameter);

  // Returns the value a --set text asks for: a value whose display reads the text (case, blanks
  // and the unit's side ignored; "on" and "off" for a switch; for a parameter the editor shows in
  // other units, such as milliseconds, the editor's text too), well inside the run of such values
  // or the run's end at 0 or 1; else a decimal from 0 to 1 as the normalised value, which a
  // "norm" suffix ("0.7norm") always asks for. When a decimal reads both ways with different
  // displays, the display wins and `note` (when given) tells how to write the other reading.
  // Throws RenderError naming the parameter's range, or its choices, when no value shows the text.
  float valueFor(const std::string& text, std::string* note = nullptr);
  // Returns the current value as the shortest decimal, four places at least, that gives back the
  // same display when passed to --set, with the "norm" suffix when the plain decimal would read
  // as another display.
  std::string listedValue();

 private:
  // Returns the value a text shows in the host's texts, else in the editor's; false when none.
  bool findShown(const std::string& text, float& value);
  // Returns the display of a trial value: the host's text, or the editor's while it is searched.
  std::string displayAt(float value);
  // Answers whether the display of a trial value reads the text.
  bool shows(float value, const std::string& text);
  // Returns the first and last value whose display reads the text; false when there is none.
  bool findRun(const std::string& text, float& first, float& last);
  // Returns the first and last value showing the wanted reading between the trial point at
  // `lowValue` and the next one, whose readings are given; false when their numbers do not run
  // towards the wanted one or jump over it.
  bool findRunBetween(const Reading& wanted, const Reading& low, const Reading& high,
                      float lowValue, float& first, float& last);
  // Returns a round value in the middle of the run, or its end at 0 or 1.
  float chooseInRun(const std::string& text, float first, float last);
  // Returns 0 or 1 for "off" or "on" when the parameter is a switch; negative otherwise.
  float switchValue(const std::string& text);
  // Returns the message refusing a text no value shows.
  std::string refusal(const std::string& text);

  EffectInstance& effect;
  int index;
  // The editor's text of this parameter when it differs from the host's (milliseconds for the
  // reverse ramps), and whether a search reads it.
  void (*editorText)(float value, char* text) = nullptr;
  bool readingEditorText = false;
};

}  // namespace wrenfold
