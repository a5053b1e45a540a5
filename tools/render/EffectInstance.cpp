#include "tools/render/EffectInstance.h"

#include <algorithm>
#include <array>

#include "tools/render/HostCallback.h"

namespace wrenfold {

namespace {

// Plug-ins write their texts whole; this is far more than any of them needs.
constexpr std::size_t kTextBufferSize = 256;

}  // namespace

EffectInstance::EffectInstance(AEffect* effect) : effect_(effect) { dispatch(effOpen); }

EffectInstance::~EffectInstance() {
  finish();
  dispatch(effClose);
}

intptr_t EffectInstance::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                  float opt) const {
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

std::string EffectInstance::textFrom(int32_t opcode, int32_t index) const {
  std::array<char, kTextBufferSize> buffer{};
  dispatch(opcode, index, 0, buffer.data());
  buffer.back() = '\0';
  return buffer.data();
}

std::string EffectInstance::effectName() const { return textFrom(effGetEffectName, 0); }

int EffectInstance::programCount() const { return effect_->numPrograms; }

int EffectInstance::parameterCount() const { return effect_->numParams; }

int EffectInstance::inputCount() const { return effect_->numInputs; }

int EffectInstance::outputCount() const { return effect_->numOutputs; }

std::vector<std::string> EffectInstance::programNames() {
  const int current = currentProgram();
  std::vector<std::string> names;
  for (int program = 0; program < programCount(); ++program) {
    selectProgram(program);
    names.push_back(textFrom(effGetProgramName, 0));
  }
  if (programCount() > 0) {
    selectProgram(std::clamp(current, 0, programCount() - 1));
  }
  return names;
}

int EffectInstance::currentProgram() const { return static_cast<int>(dispatch(effGetProgram)); }

void EffectInstance::selectProgram(int program) { dispatch(effSetProgram, 0, program); }

std::string EffectInstance::parameterName(int index) const {
  return textFrom(effGetParamName, index);
}

std::string EffectInstance::parameterDisplay(int index) const {
  return textFrom(effGetParamDisplay, index);
}

float EffectInstance::parameterValue(int index) const {
  return effect_->getParameter(effect_, index);
}

void EffectInstance::setParameterValue(int index, float value) {
  effect_->setParameter(effect_, index, value);
}

void EffectInstance::configure(float sampleRate, int blockSize) {
  finish();
  announceHostTiming(sampleRate, blockSize);
  dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
  dispatch(effSetBlockSize, 0, blockSize);
}

void EffectInstance::start() {
  if (!running_) {
    dispatch(effMainsChanged, 0, 1);
    running_ = true;
  }
}

void EffectInstance::process(float** inputs, float** outputs, int frames) {
  if ((effect_->flags & effFlagsCanReplacing) != 0 && effect_->processReplacing != nullptr) {
    effect_->processReplacing(effect_, inputs, outputs, frames);
    return;
  }
  for (int channel = 0; channel < outputCount(); ++channel) {
    std::fill(outputs[channel], outputs[channel] + frames, 0.0f);
  }
  effect_->process(effect_, inputs, outputs, frames);
}

void EffectInstance::finish() {
  if (running_) {
    dispatch(effMainsChanged, 0, 0);
    running_ = false;
  }
}

}  // namespace wrenfold
