#pragma once

#include <string>

namespace wrenfold {

class EffectInstance;

// The command line's reading of --set texts for one parameter of a loaded effect, through the
// display search the LV2 plug-in's ports share. A search writes trial values to the parameter and
// puts its value back before it returns.
class EffectDisplaySearch {
 public:
  // Searches the values of the effect's parameter number `parameter`.
  EffectDisplaySearch(EffectInstance& searched, int parameter);

  // Returns the value a --set text asks for: a value whose display reads the text (for a
  // parameter the editor shows in other units, such as milliseconds, the editor's text too), the
  // current one or a factory program's when it does; else a decimal from 0 to 1 as the normalised
  // value, which a "norm" suffix always asks for. When a decimal reads both ways with different
  // displays, the display wins and `note` (when given) tells how to write the other reading.
  // Throws ToolError naming the parameter's range, or its choices, when no value shows the text.
  float valueFor(const std::string& text, std::string* note = nullptr);
  // Returns the current value as the shortest decimal, four places at least, that gives back the
  // same display when passed to --set, with the "norm" suffix when the plain decimal would read
  // as another display.
  std::string listedValue();

 private:
  // Returns the message refusing a text no value shows.
  std::string refusal(const std::string& text);

  EffectInstance& effect;
  int index;
};

}  // namespace wrenfold
