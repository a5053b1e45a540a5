#include "tools/render/DelayTimes.h"

#include <cstdlib>

#include "tools/render/EffectInstance.h"

namespace wrenfold {

namespace {

// Parses a positive whole number at text[position...], advancing position past it.
std::optional<long> wholeNumberAt(const std::string& text, std::size_t& position) {
  const std::size_t start = position;
  long value = 0;
  while (position < text.size() && text[position] >= '0' && text[position] <= '9' &&
         position - start < 6) {
    value = value * 10 + (text[position] - '0');
    ++position;
  }
  if (position == start || value == 0) {
    return std::nullopt;
  }
  return value;
}

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

std::optional<double> noteFractionFromText(const std::string& text) {
  double sum = 0.0;
  std::size_t position = 0;
  while (true) {
    const std::optional<long> numerator = wholeNumberAt(text, position);
    if (!numerator) {
      return std::nullopt;
    }
    double term = static_cast<double>(*numerator);
    if (position < text.size() && text[position] == '/') {
      ++position;
      const std::optional<long> denominator = wholeNumberAt(text, position);
      if (!denominator) {
        return std::nullopt;
      }
      term /= static_cast<double>(*denominator);
    }
    sum += term;
    if (position == text.size()) {
      return sum;
    }
    if (text[position] != '+') {
      return std::nullopt;
    }
    ++position;
  }
}

std::optional<double> tempoFromText(const std::string& text) {
  constexpr char prefix[] = "BPM";
  if (text.compare(0, sizeof prefix - 1, prefix) != 0) {
    return std::nullopt;
  }
  std::size_t position = sizeof prefix - 1;
  const std::optional<long> tempo = wholeNumberAt(text, position);
  if (!tempo || position != text.size()) {
    return std::nullopt;
  }
  return static_cast<double>(*tempo);
}

long delayFrames(double noteFraction, double beatsPerMinute, float sampleRate) {
  const float frames = static_cast<float>(noteFraction) / static_cast<float>(beatsPerMinute) *
                       sampleRate * 240.0f;
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
