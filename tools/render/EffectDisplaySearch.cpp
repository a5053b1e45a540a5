#include "tools/render/EffectDisplaySearch.h"

#include "params/DisplaySearch.h"
#include "params/ParameterTable.h"
#include "tools/render/EffectInstance.h"
#include "tools/render/RenderError.h"
#include "tools/render/RenderOptions.h"

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
  float value() const { return kept; }

 private:
  EffectInstance& effect;
  int index;
  float kept;
};

}  // namespace

EffectDisplaySearch::EffectDisplaySearch(EffectInstance& searched, int parameter)
    : effect(searched), index(parameter) {}

float EffectDisplaySearch::valueFor(const std::string& text) {
  double number = 0.0;
  if (parseDecimal(text, number) && number >= 0.0 && number <= 1.0) {
    return static_cast<float>(number);
  }
  float found = 0.0f;
  {
    EffectParameter parameter(effect, index);
    // The factory programs' values count only for the module whose parameters the table names.
    const bool tabled = isParameterIndex(index) && effect.parameterName(index) == parameterTable[index].name;
    const std::vector<float> preferred =
        tabled ? DisplaySearch::preferredFor(index, parameter.value()) : std::vector<float>{parameter.value()};
    if (DisplaySearch(parameter, preferred).valueFor(text, found)) return found;
  }
  throw RenderError(refusal(text));
}

std::string EffectDisplaySearch::refusal(const std::string& text) {
  EffectParameter parameter(effect, index);
  const std::string name = effect.parameterName(index);
  return "--set " + name + ": no value shows '" + text + "'; give a normalised value from 0 to 1 or a text " +
         name + " shows, from " + parameter.displayAt(0.0f) + " (at 0) to " +
         parameter.displayAt(1.0f) + " (at 1)";
}

std::string EffectDisplaySearch::listedValue() {
  EffectParameter parameter(effect, index);
  return DisplaySearch(parameter, {}).listedValue(parameter.value());
}

}  // namespace wrenfold
