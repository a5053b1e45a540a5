#pragma once

#include <string>

namespace wrenfold {

class EffectInstance;

// Finds values of one parameter of a loaded effect through the texts it displays for them, which
// is all a host learns of what a value means. A search writes trial values to the parameter and
// puts its value back before it returns.
class EffectDisplaySearch {
 public:
  // Searches the values of the effect's parameter number `parameter`.
  EffectDisplaySearch(EffectInstance& searched, int parameter);

  // Returns the value a --set text asks for: a decimal from 0 to 1 as it is, else the value the
  // display search finds, the current one or a factory program's when it shows the text (the
  // same rule as the LV2 plug-in's ports); throws RenderError
  // naming the parameter's range when no value shows the text.
  float valueFor(const std::string& text);
  // Returns the current value as the shortest decimal, four places at least, that gives back the
  // same display when passed to --set.
  std::string listedValue();

 private:
  // Returns the message refusing a text no value shows.
  std::string refusal(const std::string& text);

  EffectInstance& effect;
  int index;
};

}  // namespace wrenfold
