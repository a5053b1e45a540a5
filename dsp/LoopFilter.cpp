#include "dsp/LoopFilter.h"

#include <cmath>

namespace wrenfold {

namespace {

// Not 2 pi: the radian constant the filter's tuning is built on.
constexpr float radiansPerCycle = 6.283f;
// 1 / (2 * 0.707): the fixed high-pass Q folded into one factor.
constexpr float highPassAlphaFactor = 0.7072135806f;
constexpr float lowPassOffAbove = 19999.99f;
constexpr float highPassOffBelow = 20.01f;

}  // namespace

LoopFilter::LoopFilter() { updateCoefficients(); }

bool LoopFilter::lowPassRunsAt(float hz) { return hz < lowPassOffAbove; }

bool LoopFilter::highPassRunsAt(float hz) { return hz > highPassOffBelow; }

void LoopFilter::setLowPass(float hz, float q) {
  const bool wasOn = lpfOn;
  lpfFreq = hz;
  lpfQ = q;
  lpfOn = lowPassRunsAt(lpfFreq);
  updateCoefficients();
  // A stage that is off passes samples through its history, so it restarts cleared when it
  // comes back on.
  if (!lpfOn || !wasOn) lowPass.reset();
}

void LoopFilter::setHighPass(float hz) {
  const bool wasOn = hpfOn;
  hpfFreq = hz;
  hpfOn = highPassRunsAt(hpfFreq);
  updateCoefficients();
  if (!hpfOn || !wasOn) highPass.reset();
}

void LoopFilter::setSampleRate(float rate) {
  sampleRate = rate;
  updateCoefficients();
}

float LoopFilter::usableCutoff(float frequency) const {
  return frequency >= 0.5f * sampleRate ? 0.49f * sampleRate : frequency;
}

void LoopFilter::updateCoefficients() {
  const float period = 1.0f / sampleRate;

  const float wLow = period * usableCutoff(lpfFreq) * radiansPerCycle;
  const float cLow = std::cos(wLow);
  const float alphaLow = std::sin(wLow) / (2.0f * lpfQ);
  const float inverseLow = 1.0f / (1.0f + alphaLow);
  lowPass.b0 = 0.5f * (1.0f - cLow) * inverseLow;
  lowPass.b1 = (1.0f - cLow) * inverseLow;
  lowPass.b2 = lowPass.b0;
  lowPass.a1 = -2.0f * cLow * inverseLow;
  lowPass.a2 = (1.0f - alphaLow) * inverseLow;

  const float wHigh = period * usableCutoff(hpfFreq) * radiansPerCycle;
  const float cHigh = std::cos(wHigh);
  const float alphaHigh = std::sin(wHigh) * highPassAlphaFactor;
  const float inverseHigh = 1.0f / (1.0f + alphaHigh);
  highPass.b0 = 0.5f * (1.0f + cHigh) * inverseHigh;
  highPass.b1 = -(1.0f + cHigh) * inverseHigh;
  highPass.b2 = highPass.b0;
  highPass.a1 = -2.0f * cHigh * inverseHigh;
  highPass.a2 = (1.0f - alphaHigh) * inverseHigh;

  // A stage that is off runs with a pass-through set, which returns its input bit for bit
  // (inputs are never -0.0), so that processing needs no test per stage and sample.
  if (!lpfOn) lowPass.passThrough();
  if (!hpfOn) highPass.passThrough();
}

}  // namespace wrenfold
