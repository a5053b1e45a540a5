#include "lv2/Lv2Effect.h"

#include <algorithm>
#include <cstring>

#include "lv2/PortUnits.h"

namespace wrenfold {

namespace {

// The inputs are copied in slices this long before processing, since a host may hand the same
// buffer as input and output.
constexpr uint32_t sliceFrames = 256;

}  // namespace

Lv2Effect::Lv2Effect(double sampleRate, const LV2_Feature* const* features) {
  for (int32_t i = 0; features != nullptr && features[i] != nullptr; ++i) {
    if (std::strcmp(features[i]->URI, LV2_WORKER__schedule) == 0)
      worker = static_cast<LV2_Worker_Schedule*>(features[i]->data);
  }
  for (int32_t i = 0; i < parameterCountTotal; ++i)
    takenValues[i] = portValueOf(i, effect.parameterValue(i));
  if (isComplete()) effect.changeSampleRate(static_cast<float>(sampleRate));
}

void Lv2Effect::connectPort(uint32_t port, void* data) {
  if (port < firstControlPort) {
    audio[port] = static_cast<float*>(data);
  } else if (port - firstControlPort < static_cast<uint32_t>(parameterCountTotal)) {
    controls[port - firstControlPort] = static_cast<const float*>(data);
  }
}

void Lv2Effect::deactivate() { effect.onSuspend(); }

void Lv2Effect::takeChangedPorts() {
  for (int32_t i = 0; i < parameterCountTotal; ++i) {
    if (controls[i] == nullptr) continue;
    const float value = *controls[i];
    if (value == takenValues[i] || value != value) continue;
    const PortChange change = {i, value, effect.parameterValue(i)};
    if (worker != nullptr) {
      if (worker->schedule_work(worker->handle, sizeof change, &change) != LV2_WORKER_SUCCESS)
        continue;  // tried again next run
    } else {
      float normalised = 0.0f;
      if (normalisedFor(i, change.portValue, change.current, normalised))
        effect.applyParameter(i, normalised);
    }
    takenValues[i] = value;
  }
}

void Lv2Effect::run(uint32_t frames) {
  takeChangedPorts();
  if (audio[inputLeft] == nullptr || audio[inputRight] == nullptr || audio[outputLeft] == nullptr ||
      audio[outputRight] == nullptr)
    return;
  float slice[2][sliceFrames];
  for (uint32_t done = 0; done < frames;) {
    const uint32_t count = std::min(sliceFrames, frames - done);
    std::copy_n(audio[inputLeft] + done, count, slice[0]);
    std::copy_n(audio[inputRight] + done, count, slice[1]);
    float* inputs[] = {slice[0], slice[1]};
    float* outputs[] = {audio[outputLeft] + done, audio[outputRight] + done};
    effect.processOverwriting(inputs, outputs, static_cast<int32_t>(count));
    done += count;
  }
}

LV2_Worker_Status Lv2Effect::work(LV2_Worker_Respond_Function respond,
                                  LV2_Worker_Respond_Handle handle, uint32_t size,
                                  const void* data) {
  PortChange change;
  if (size != sizeof change) return LV2_WORKER_ERR_UNKNOWN;
  std::memcpy(&change, data, sizeof change);
  FoundValue found = {change.index, 0.0f};
  if (!normalisedFor(change.index, change.portValue, change.current, found.normalised))
    return LV2_WORKER_SUCCESS;
  return respond(handle, sizeof found, &found);
}

LV2_Worker_Status Lv2Effect::workResponse(uint32_t size, const void* data) {
  FoundValue found;
  if (size != sizeof found) return LV2_WORKER_ERR_UNKNOWN;
  std::memcpy(&found, data, sizeof found);
  effect.applyParameter(found.index, found.normalised);
  return LV2_WORKER_SUCCESS;
}

}  // namespace wrenfold
