#include "hostkit/EffectInstance.h"

#include <algorithm>
#include <stdexcept>

#include "hostkit/EffectCalls.h"
#include "hostkit/Host.h"

namespace wrenfold {

using hostkit::dispatch;
using hostkit::effectText;
using hostkit::Host;

std::unique_ptr<EffectInstance> EffectInstance::fromModule(hostkit::ModuleLibrary& module) {
  if (!module.loaded()) {
    throw std::runtime_error("cannot load module: " + module.error());
  }
  Host::shared().setName("wrenfold-render");
  AEffect* effect = module.createEffect(Host::callback());
  if (effect == nullptr) {
    throw std::runtime_error(module.error());
  }
  return std::make_unique<EffectInstance>(effect);
}

EffectInstance::EffectInstance(AEffect* opened) : effect(opened) { dispatch(effect, effOpen); }

EffectInstance::~EffectInstance() {
  finish();
  dispatch(effect, effClose);
}

std::string EffectInstance::effectName() const { return effectText(effect, effGetEffectName, 0); }

int EffectInstance::programCount() const { return effect->numPrograms; }

int EffectInstance::parameterCount() const { return effect->numParams; }

int EffectInstance::inputCount() const { return effect->numInputs; }

int EffectInstance::outputCount() const { return effect->numOutputs; }

std::vector<std::string> EffectInstance::programNames() {
  const int current = currentProgram();
  std::vector<std::string> names;
  for (int program = 0; program < programCount(); ++program) {
    selectProgram(program);
    names.push_back(effectText(effect, effGetProgramName, 0));
  }
  if (programCount() > 0) {
    selectProgram(std::clamp(current, 0, programCount() - 1));
  }
  return names;
}

int EffectInstance::currentProgram() const {
  return static_cast<int>(dispatch(effect, effGetProgram));
}

void EffectInstance::selectProgram(int program) { dispatch(effect, effSetProgram, 0, program); }

std::string EffectInstance::parameterName(int index) const {
  return effectText(effect, effGetParamName, index);
}

std::string EffectInstance::parameterDisplay(int index) const {
  return effectText(effect, effGetParamDisplay, index);
}

float EffectInstance::parameterValue(int index) const {
  return effect->getParameter(effect, index);
}

void EffectInstance::setParameterValue(int index, float value) {
  effect->setParameter(effect, index, value);
}

void EffectInstance::configure(float sampleRate, int blockSize) {
  finish();
  Host::shared().setAnswer(audioMasterGetSampleRate, static_cast<intptr_t>(sampleRate));
  Host::shared().setAnswer(audioMasterGetBlockSize, blockSize);
  dispatch(effect, effSetSampleRate, 0, 0, nullptr, sampleRate);
  dispatch(effect, effSetBlockSize, 0, blockSize);
}

void EffectInstance::start() {
  if (!running) {
    dispatch(effect, effMainsChanged, 0, 1);
    running = true;
  }
}

void EffectInstance::process(float** inputs, float** outputs, int frames) {
  if ((effect->flags & effFlagsCanReplacing) != 0 && effect->processReplacing != nullptr) {
    effect->processReplacing(effect, inputs, outputs, frames);
    return;
  }
  for (int channel = 0; channel < outputCount(); ++channel) {
    std::fill(outputs[channel], outputs[channel] + frames, 0.0f);
  }
  effect->process(effect, inputs, outputs, frames);
}

void EffectInstance::finish() {
  if (running) {
    dispatch(effect, effMainsChanged, 0, 0);
    running = false;
  }
}

}  // namespace wrenfold
