#pragma once

#include <string>
#include <vector>

namespace wrenfold {

// Finds the normalised values of one parameter through the texts it displays for them: the one
// rule by which a text a musician reads ("128 BPM", "40%", "2500Hz") becomes a value, shared by
// the command line and the LV2 plug-in's ports. A search allocates: never on the audio thread.
class DisplaySearch {
 public:
  // A display text as the search compares it: its first number, if any, and the rest in lower
  // case without blanks, so that "128 BPM", "128bpm" and "BPM128" read alike.
  struct Reading {
    std::string unit;
    bool hasNumber = false;
    double number = 0.0;
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
  DisplaySearch(Source& searched, std::vector<float> preferred);

  // Sets `value` to one whose display reads the text (case, blanks and the unit's side ignored;
  // "on" and "off" for a switch): a preferred value, else the roundest decimal well inside the
  // run of such values, or the run's end at 0 or 1; false when no value shows the text.
  bool valueFor(const std::string& text, float& value);
  // Returns `current` as the shortest decimal, four places at least, with the same display.
  std::string listedValue(float current);

  static Reading readingOf(const std::string& text);
  // Returns what a search of parameter `index` prefers: its current value, then its values in the
  // factory programs, so that a program's texts give back the program itself.
  static std::vector<float> preferredFor(int index, float current);

 private:
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
};

}  // namespace wrenfold
