#include "tools/render/EffectInstance.h"

#include <algorithm>

#include "hostkit/EffectCalls.h"
#include "hostkit/Host.h"
#include "tools/render/RenderError.h"

namespace wrenfold {

using hostkit::dispatch;
using hostkit::effectText;
using hostkit::Host;

std::unique_ptr<EffectInstance> EffectInstance::fromModule(hostkit::ModuleLibrary& module) {
  if (!module.loaded()) {
    throw RenderError("cannot load module: " + module.error());
  }
  Host::shared().setName("wrenfold-render");
  AEffect* effect = module.createEffect(Host::callback());
  if (effect == nullptr) {
    throw RenderError(module.error());
  }
  return std::make_unique<EffectInstance>(effect);
}

EffectInstance::EffectInstance(AEffect* effect) : effect_(effect) { dispatch(effect_, effOpen); }

EffectInstance::~EffectInstance() {
  finish();
  dispatch(effect_, effClose);
}

std::string EffectInstance::effectName() const { return effectText(effect_, effGetEffectName, 0); }

int EffectInstance::programCount() const { return effect_->numPrograms; }

int EffectInstance::parameterCount() const { return effect_->numParams; }

int EffectInstance::inputCount() const { return effect_->numInputs; }

int EffectInstance::outputCount() const { return effect_->numOutputs; }

std::vector<std::string> EffectInstance::programNames() {
  const int current = currentProgram();
  std::vector<std::string> names;
  for (int program = 0; program < programCount(); ++program) {
    selectProgram(program);
    names.push_back(effectText(effect_, effGetProgramName, 0));
  }
  if (programCount() > 0) {
    selectProgram(std::clamp(current, 0, programCount() - 1));
  }
  return names;
}

int EffectInstance::currentProgram() const { return static_cast<int>(dispatch(effect_, effGetProgram)); }

void EffectInstance::selectProgram(int program) { dispatch(effect_, effSetProgram, 0, program); }

std::string EffectInstance::parameterName(int index) const {
  return effectText(effect_, effGetParamName, index);
}

std::string EffectInstance::parameterDisplay(int index) const {
  return effectText(effect_, effGetParamDisplay, index);
}

float EffectInstance::parameterValue(int index) const {
  return effect_->getParameter(effect_, index);
}

void EffectInstance::setParameterValue(int index, float value) {
  effect_->setParameter(effect_, index, value);
}

void EffectInstance::configure(float sampleRate, int blockSize) {
  finish();
  Host::shared().setAnswer(audioMasterGetSampleRate, static_cast<intptr_t>(sampleRate));
  Host::shared().setAnswer(audioMasterGetBlockSize, blockSize);
  dispatch(effect_, effSetSampleRate, 0, 0, nullptr, sampleRate);
  dispatch(effect_, effSetBlockSize, 0, blockSize);
}

void EffectInstance::start() {
  if (!running_) {
    dispatch(effect_, effMainsChanged, 0, 1);
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
    dispatch(effect_, effMainsChanged, 0, 0);
    running_ = false;
  }
}

}  // namespace wrenfold
