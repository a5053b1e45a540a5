#include "host/EffectBase.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "host/EditorBase.h"

namespace wrenfold {

namespace {

constexpr int32_t defaultUniqueId = 0x4E6F4566;
constexpr intptr_t identifyAnswer = 0x4E764566;

// Converts a float to an integer by truncation, answering 0 where the conversion is undefined.
int32_t truncateToInt(float value) {
  if (!(value > -2147483648.0f && value < 2147483648.0f)) return 0;
  return static_cast<int32_t>(value);
}

}  // namespace

EffectBase::EffectBase(audioMasterCallback hostCallback, int32_t programCount,
                       int32_t parameterCount)
    : storedSampleRate(44100.0f),
      editor(nullptr),
      hostCallback(hostCallback),
      programCount(programCount),
      parameterCount(parameterCount),
      currentProgram(0),
      storedBlockSize(1024),
      closePending(false) {
  std::memset(&record, 0, sizeof record);
  record.magic = kEffectMagic;
  record.dispatcher = dispatchThunk;
  record.process = processThunk;
  record.setParameter = setParameterThunk;
  record.getParameter = getParameterThunk;
  record.numPrograms = programCount;
  record.numParams = parameterCount;
  record.numInputs = 1;
  record.numOutputs = 2;
  record.ioRatio = 1.0f;
  record.object = this;
  record.user = nullptr;
  record.uniqueID = defaultUniqueId;
  record.version = 1;
  record.processReplacing = processReplacingThunk;
}

EffectBase::~EffectBase() {
  delete editor;
  editor = nullptr;
}

void EffectBase::attachEditor(EditorBase* newEditor) {
  editor = newEditor;
  setFlag(effFlagsHasEditor, true);
}

EffectBase* EffectBase::fromRecord(AEffect* effect) {
  if (effect == nullptr || effect->magic != kEffectMagic) return nullptr;
  auto* self = static_cast<EffectBase*>(effect->object);
  return self->closePending ? nullptr : self;
}

void EffectBase::applyParameter(int32_t, float) {}

float EffectBase::parameterValue(int32_t) { return 0.0f; }

void EffectBase::applyParameterAndReport(int32_t index, float value) {
  applyParameter(index, value);
  callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void EffectBase::processOverwriting(float**, float**, int32_t) {}

intptr_t EffectBase::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  char* text = static_cast<char*>(ptr);
  switch (opcode) {
    case effOpen:
      onOpen();
      return 0;
    case effClose:
      onClose();
      return 0;
    case effSetProgram:
      if (value >= 0 && value < programCount) selectProgram(static_cast<int32_t>(value));
      return 0;
    case effGetProgram:
      return programNumber();
    case effSetProgramName:
      if (text != nullptr) renameProgram(text);
      return 0;
    case effGetProgramName:
      if (text != nullptr) copyProgramName(text);
      return 0;
    case effGetParamLabel:
      if (text != nullptr) copyParameterLabel(index, text);
      return 0;
    case effGetParamDisplay:
      if (text != nullptr) copyParameterDisplay(index, text);
      return 0;
    case effGetParamName:
      if (text != nullptr) copyParameterName(index, text);
      return 0;
    case effGetVu:
      return truncateToInt(vuLevel() * 32767.0f);
    case effSetSampleRate:
      changeSampleRate(opt);
      return 0;
    case effSetBlockSize:
      changeBlockSize(static_cast<int32_t>(value));
      return 0;
    case effMainsChanged:
      if (value == 0)
        onSuspend();
      else
        onResume();
      return 0;
    case effEditGetRect:
      if (editor == nullptr || ptr == nullptr) return 0;
      return editor->editorRect(static_cast<ERect**>(ptr));
    case effEditOpen:
      return editor != nullptr ? editor->openEditor(ptr) : 0;
    case effEditClose:
      if (editor != nullptr) editor->closeEditor();
      return 0;
    case effEditIdle:
      if (editor != nullptr) editor->idleEditor();
      return 0;
    case effIdentify:
      return identifyAnswer;
    case effGetChunk:
      if (ptr == nullptr) return 0;
      return saveChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
      return loadChunk(ptr, static_cast<int32_t>(value), index != 0);
    default:
      return 0;
  }
}

void EffectBase::onOpen() {}

void EffectBase::onClose() {}

int32_t EffectBase::programNumber() { return currentProgram; }

void EffectBase::selectProgram(int32_t program) { currentProgram = program; }

void EffectBase::renameProgram(char* name) {
  if (name != nullptr) name[0] = '\0';
}

void EffectBase::copyProgramName(char* text) { text[0] = '\0'; }

void EffectBase::copyParameterLabel(int32_t, char* text) { text[0] = '\0'; }

void EffectBase::copyParameterDisplay(int32_t, char* text) { text[0] = '\0'; }

void EffectBase::copyParameterName(int32_t, char* text) { text[0] = '\0'; }

float EffectBase::vuLevel() { return 0.0f; }

int32_t EffectBase::saveChunk(void**, bool) { return 0; }

int32_t EffectBase::loadChunk(void*, int32_t, bool) { return 0; }

void EffectBase::changeSampleRate(float rate) { storedSampleRate = rate; }

void EffectBase::changeBlockSize(int32_t size) { storedBlockSize = size; }

void EffectBase::onSuspend() {}

void EffectBase::onResume() {}

void EffectBase::assignUniqueId(int32_t id) { record.uniqueID = id; }

void EffectBase::assignInputCount(int32_t count) { record.numInputs = count; }

void EffectBase::assignOutputCount(int32_t count) { record.numOutputs = count; }

void EffectBase::setFlag(int32_t flag, bool state) {
  if (state)
    record.flags |= flag;
  else
    record.flags &= ~flag;
}

void EffectBase::declareVu(bool state) { setFlag(effFlagsHasVu, state); }

void EffectBase::declareClip(bool state) { setFlag(effFlagsHasClip, state); }

void EffectBase::declareMono(bool state) { setFlag(effFlagsCanMono, state); }

void EffectBase::declareReplacing(bool state) { setFlag(effFlagsCanReplacing, state); }

void EffectBase::declareChunkPrograms(bool state) { setFlag(effFlagsProgramChunks, state); }

void EffectBase::assignRealtimeQualities(int32_t qualities) { record.realQualities = qualities; }

void EffectBase::assignOfflineQualities(int32_t qualities) { record.offQualities = qualities; }

void EffectBase::assignInitialDelay(int32_t delay) { record.initialDelay = delay; }

float EffectBase::sampleRateValue() { return storedSampleRate; }

int32_t EffectBase::blockSizeValue() { return storedBlockSize; }

intptr_t EffectBase::callHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  if (hostCallback == nullptr) return 0;
  return hostCallback(&record, opcode, index, value, ptr, opt);
}

int32_t EffectBase::hostVersion() {
  const intptr_t answer = callHost(audioMasterVersion);
  return answer == 0 ? 1 : static_cast<int32_t>(answer);
}

int32_t EffectBase::hostCurrentId() { return static_cast<int32_t>(callHost(audioMasterCurrentId)); }

void EffectBase::hostIdle() { callHost(audioMasterIdle); }

bool EffectBase::isInputPinConnected(int32_t index) {
  return callHost(audioMasterPinConnected, index, 0) == 0;
}

bool EffectBase::isOutputPinConnected(int32_t index) {
  return callHost(audioMasterPinConnected, index, 1) == 0;
}

void EffectBase::formatDecibels(float value, char* text) {
  if (value <= 0.0f) {
    std::strcpy(text, "-oo");
    return;
  }
  formatFloat(20.0f * std::log10(value), text);
}

void EffectBase::formatHertz(float period, char* text) {
  formatFloat(period == 0.0f ? 0.0f : storedSampleRate / period, text);
}

void EffectBase::formatMilliseconds(float samples, char* text) {
  formatFloat(samples * 1000.0f / storedSampleRate, text);
}

void EffectBase::formatFloat(float value, char* text) {
  const double magnitude = std::fabs(static_cast<double>(value));
  if (!(magnitude < 1e8)) {
    std::strcpy(text, "Huge!");
    return;
  }
  int integerDigits = 1;
  for (double limit = 10.0; magnitude >= limit && integerDigits < 8; limit *= 10.0) ++integerDigits;
  const int decimals = integerDigits >= 8 ? 0 : 8 - integerDigits;
  std::snprintf(text, 16, "%.*f", decimals > 2 ? 2 : decimals, static_cast<double>(value));
}

void EffectBase::formatInteger(int32_t value, char* text) {
  if (value > 99999999) {
    std::strcpy(text, "Huge!");
    return;
  }
  char wide[16];
  std::snprintf(wide, sizeof wide, "%7d", value);
  wide[8] = '\0';
  std::strcpy(text, wide);
}

intptr_t WRENFOLD_CALL EffectBase::dispatchThunk(AEffect* effect, int32_t opcode, int32_t index,
                                                 intptr_t value, void* ptr, float opt) {
  EffectBase* self = fromRecord(effect);
  if (self == nullptr) return 0;
  try {
    if (opcode == effClose) {
      self->dispatch(opcode, index, value, ptr, opt);
      // Closed from inside the host's idle call while a control tracks the mouse: the editor
      // destroys the effect when that control has let go of it.
      if (self->editor != nullptr && self->editor->isTracking()) {
        self->closePending = true;
        return 1;
      }
      delete self;
      return 1;
    }
    return self->dispatch(opcode, index, value, ptr, opt);
  } catch (...) {
    return 0;
  }
}

void WRENFOLD_CALL EffectBase::processThunk(AEffect* effect, float** inputs, float** outputs,
                                            int32_t sampleFrames) {
  EffectBase* self = fromRecord(effect);
  if (self == nullptr) return;
  try {
    self->processAdding(inputs, outputs, sampleFrames);
  } catch (...) {
  }
}

void WRENFOLD_CALL EffectBase::processReplacingThunk(AEffect* effect, float** inputs,
                                                     float** outputs, int32_t sampleFrames) {
  EffectBase* self = fromRecord(effect);
  if (self == nullptr) return;
  try {
    self->processOverwriting(inputs, outputs, sampleFrames);
  } catch (...) {
  }
}

void WRENFOLD_CALL EffectBase::setParameterThunk(AEffect* effect, int32_t index, float value) {
  EffectBase* self = fromRecord(effect);
  if (self == nullptr) return;
  try {
    self->applyParameter(index, value);
  } catch (...) {
  }
}

float WRENFOLD_CALL EffectBase::getParameterThunk(AEffect* effect, int32_t index) {
  EffectBase* self = fromRecord(effect);
  if (self == nullptr) return 0.0f;
  try {
    return self->parameterValue(index);
  } catch (...) {
    return 0.0f;
  }
}

}  // namespace wrenfold
