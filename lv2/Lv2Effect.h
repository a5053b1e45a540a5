#pragma once

#include <lv2/core/lv2.h>
#include <lv2/worker/worker.h>

#include <cstdint>

#include "delay/DelayEffect.h"

namespace wrenfold {

// The delay as an LV2 plug-in: two audio inputs, two audio outputs, then one control port per
// parameter in the units its display shows. A control port takes effect when its value changes;
// the search that turns its value into a normalised one runs on the host's worker thread when the
// host offers one, else inside run (hosts without a worker render offline).
class Lv2Effect {
 public:
  // Port numbers: the audio ports, then parameter i at firstControlPort + i.
  enum Port : uint32_t { inputLeft, inputRight, outputLeft, outputRight, firstControlPort };

  // Builds the effect at the host's rate with program 0; see isComplete. [instantiation]
  Lv2Effect(double sampleRate, const LV2_Feature* const* features);

  // Returns whether every part of the effect was allocated.
  bool isComplete() const { return effect.isComplete(); }
  // Takes the buffer of a port; other port numbers are ignored. [any thread, not while running]
  void connectPort(uint32_t port, void* data);
  // Silences the echoes when the host stops processing. [not while running]
  void deactivate();
  // Takes the ports that changed, then processes a block. [audio thread]
  void run(uint32_t frames);
  // Finds the normalised value of a changed port. [worker thread]
  LV2_Worker_Status work(LV2_Worker_Respond_Function respond, LV2_Worker_Respond_Handle handle,
                         uint32_t size, const void* data);
  // Applies a value the worker found. [audio thread]
  LV2_Worker_Status workResponse(uint32_t size, const void* data);

 private:
  // A changed port as the worker gets it, and what it answers.
  struct PortChange {
    int32_t index;
    float portValue;
    float current;
  };
  struct FoundValue {
    int32_t index;
    float normalised;
  };

  // Takes the control ports whose value changed since the last run.
  void takeChangedPorts();

  DelayEffect effect{nullptr};
  float* audio[firstControlPort] = {};
  const float* controls[parameterCountTotal] = {};
  // The port values last taken; the defaults (program 0's) to begin with.
  float takenValues[parameterCountTotal] = {};
  LV2_Worker_Schedule* worker = nullptr;
};

}  // namespace wrenfold
