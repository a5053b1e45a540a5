#include "tools/render/DelayTimes.h"

#include <cstdlib>

#include "hostkit/EffectInstance.h"

namespace wrenfold {

namespace {

int parameterIndex(const EffectInstance& effect, const std::string& name) {
  for (int index = 0; index < effect.parameterCount(); ++index) {
    if (effect.parameterName(index) == name) {
      return index;
    }
  }
  return -1;
}

std::optional<long> channelDelay(const EffectInstance& effect, const char* tempoName,
                                 const char* noteName, float sampleRate) {
  const int tempoIndex = parameterIndex(effect, tempoName);
  const int noteIndex = parameterIndex(effect, noteName);
  if (tempoIndex < 0 || noteIndex < 0) {
    return std::nullopt;
  }
  const std::optional<double> tempo = tempoFromText(effect.parameterDisplay(tempoIndex));
  const std::optional<double> fraction = noteFractionFromText(effect.parameterDisplay(noteIndex));
  if (!tempo || !fraction) {
    return std::nullopt;
  }
  return delayFrames(*fraction, *tempo, sampleRate);
}

}  // namespace

long delayFrames(double noteFraction, double beatsPerMinute, float sampleRate) {
  const float frames =
      static_cast<float>(noteFraction) / static_cast<float>(beatsPerMinute) * sampleRate * 240.0f;
  return static_cast<long>(frames);
}

std::optional<DelayTimes> readDelayTimes(const EffectInstance& effect, float sampleRate) {
  const std::optional<long> left = channelDelay(effect, "TempoL", "NoteLenL", sampleRate);
  const std::optional<long> right = channelDelay(effect, "TempoR", "NoteLenR", sampleRate);
  if (!left || !right) {
    return std::nullopt;
  }
  return DelayTimes{*left, *right};
}

}  // namespace wrenfold
