#pragma once

#include "host/ExtendedEffectBase.h"

namespace wrenfold {

// Placeholder until the delay engine lands: the record reads as the real effect's.
class DelayEffect : public ExtendedEffectBase {
 public:
  explicit DelayEffect(audioMasterCallback hostCallback);

  // Returns whether every processing object and the programs were allocated.
  bool isComplete() const { return true; }

  void processAdding(float** inputs, float** outputs, int32_t sampleFrames) override;
};

}  // namespace wrenfold
