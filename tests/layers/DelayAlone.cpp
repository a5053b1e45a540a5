// The delay engine linked with nothing above it: an impulse comes back as its first echo.
#include "delay/DelayEffect.h"

int main() {
  wrenfold::DelayEffect effect(nullptr);
  const int32_t length = effect.delayLength(0);
  static float in[2][30000], out[2][30000];
  in[0][0] = 1.0f;
  float* ins[2] = {in[0], in[1]};
  float* outs[2] = {out[0], out[1]};
  effect.processOverwriting(ins, outs, 30000);
  return effect.isComplete() && length > 0 && length < 30000 && out[0][length] != 0.0f ? 0 : 1;
}
