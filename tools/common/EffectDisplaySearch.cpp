#include "tools/common/EffectDisplaySearch.h"

#include <cctype>
#include <vector>

#include "hostkit/EffectInstance.h"
#include "params/DisplaySearch.h"
#include "params/ParameterTable.h"
#include "tools/common/ToolError.h"

namespace wrenfold {

namespace {

// One parameter of the loaded effect as the display search sees it; puts the parameter's value
// back when the search ends, however it ends.
class EffectParameter : public DisplaySearch::Source {
 public:
  EffectParameter(EffectInstance& owner, int parameter)
      : effect(owner), index(parameter), kept(owner.parameterValue(parameter)) {}
  ~EffectParameter() override { effect.setParameterValue(index, kept); }
  EffectParameter(const EffectParameter&) = delete;
  EffectParameter& operator=(const EffectParameter&) = delete;

  std::string displayAt(float value) override {
    effect.setParameterValue(index, value);
    return effect.parameterDisplay(index);
  }
  float storedAfter(float written) override {
    effect.setParameterValue(index, written);
    return effect.parameterValue(index);
  }
  // Returns the search over this parameter: the factory programs' values and the editor's text
  // count only for the module whose parameters the table names.
  DisplaySearch search() {
    const bool tabled =
        isParameterIndex(index) && effect.parameterName(index) == parameterTable[index].name;
    if (!tabled) return DisplaySearch(*this, {kept});
    const ParameterRow& row = parameterTable[index];
    return DisplaySearch(*this, DisplaySearch::preferredFor(index, kept),
                         row.displayText != row.hostText ? row.displayText : nullptr);
  }
  float value() const { return kept; }

 private:
  EffectInstance& effect;
  int index;
  float kept;
};

// Returns a text without blanks, in lower case, as the search reads it.
std::string squeezed(const std::string& text) {
  std::string result;
  for (unsigned char c : text) {
    if (!std::isspace(c)) result += static_cast<char>(std::tolower(c));
  }
  return result;
}

}  // namespace

EffectDisplaySearch::EffectDisplaySearch(EffectInstance& searched, int parameter)
    : effect(searched), index(parameter) {}

float EffectDisplaySearch::valueFor(const std::string& text, std::string* note) {
  EffectParameter parameter(effect, index);
  float found = 0.0f;
  std::string other;
  if (!parameter.search().typedValueFor(text, found, &other)) throw ToolError(refusal(text));
  if (!other.empty() && note != nullptr) {
    const std::string name = effect.parameterName(index);
    const std::string typed = squeezed(text);
    *note = "--set " + name + "=" + typed + " reads as the display " + parameter.displayAt(found) +
            "; for the normalised value " + typed + " (display " + other + ") write " + name + "=" +
            typed + "norm";
  }
  return found;
}

std::string EffectDisplaySearch::refusal(const std::string& text) {
  EffectParameter parameter(effect, index);
  const std::string name = effect.parameterName(index);
  const std::vector<std::string> choices = parameter.search().choices();
  if (!choices.empty()) {
    std::string list;
    for (const std::string& choice : choices) list += choice + ", ";
    return "--set " + name + ": no value shows '" + text + "'; give one of " + list +
           "or a normalised value from 0 to 1";
  }
  return "--set " + name + ": no value shows '" + text +
         "'; give a normalised value from 0 to 1 or a text " + name + " shows, from " +
         parameter.displayAt(0.0f) + " (at 0) to " + parameter.displayAt(1.0f) + " (at 1)";
}

std::string EffectDisplaySearch::listedValue() {
  EffectParameter parameter(effect, index);
  return parameter.search().listedValue(parameter.value());
}

}  // namespace wrenfold
