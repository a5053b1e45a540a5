#pragma once

#include "delay/DelayEffect.h"

namespace wrenfold {

// The effect the entry point creates: the delay together with its editor.
class DelayPlugin : public DelayEffect {
 public:
  explicit DelayPlugin(audioMasterCallback hostCallback);
  // Destroys the editor before the delay goes.
  ~DelayPlugin() override;

  // Applies a value to the delay, then tells the editor. [any thread, not while processing]
  void applyParameter(int32_t index, float value) override;
};

}  // namespace wrenfold
