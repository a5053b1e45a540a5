#include "host/ExtendedEffectBase.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "host/EditorBase.h"

namespace wrenfold {

namespace {

constexpr int32_t implementedInterfaceVersion = 2300;

// The vendor-specific call by which some hosts pass their scale for the editor before opening it:
// the index and value are the texts 'PreS' and 'AeCs' as numbers, the factor comes as opt.
constexpr int32_t hostScaleIndex = 0x50726553;
constexpr intptr_t hostScaleValue = 0x41654373;

// Low byte of opt as an integer, truncated toward zero; 0 where truncation is undefined.
unsigned char modifierBitsOf(float opt) {
  if (!(opt > -2147483648.0f && opt < 2147483648.0f)) return 0;
  return static_cast<unsigned char>(static_cast<int32_t>(opt) & 0xFF);
}

// Answers 1 for true and 0 for false, as the host expects of boolean opcodes.
intptr_t answerOf(bool state) { return state ? 1 : 0; }

}  // namespace

ExtendedEffectBase::ExtendedEffectBase(audioMasterCallback hostCallback, int32_t programCount,
                                       int32_t parameterCount)
    : EffectBase(hostCallback, programCount, parameterCount) {}

intptr_t ExtendedEffectBase::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                      float opt) {
  char* text = static_cast<char*>(ptr);
  switch (opcode) {
    case effProcessEvents:
      return onEvents(static_cast<VstEvents*>(ptr));
    case effCanBeAutomated:
      return answerOf(isParameterAutomatable(index));
    case effString2Parameter:
      return answerOf(parseParameterText(index, text));
    case effGetNumProgramCategories:
      return programCategoryCount();
    case effGetProgramNameIndexed:
      if (text == nullptr) return 0;
      return answerOf(copyProgramNameByIndex(static_cast<int32_t>(value), index, text));
    case effCopyProgram:
      return answerOf(duplicateProgram(index));
    case effConnectInput:
      onInputConnection(index, value != 0);
      return 1;
    case effConnectOutput:
      onOutputConnection(index, value != 0);
      return 1;
    case effGetInputProperties:
      return answerOf(copyInputProperties(index, static_cast<VstPinProperties*>(ptr)));
    case effGetOutputProperties:
      return answerOf(copyOutputProperties(index, static_cast<VstPinProperties*>(ptr)));
    case effGetPlugCategory:
      return plugCategory();
    case effGetCurrentPosition:
      return currentPosition();
    case effGetDestinationBuffer:
      return reinterpret_cast<intptr_t>(destinationBuffer());
    case effOfflineNotify:
      return answerOf(onOfflineNotify(static_cast<VstAudioFile*>(ptr), static_cast<int32_t>(value),
                                      index != 0));
    case effOfflinePrepare:
      return answerOf(
          onOfflinePrepare(static_cast<VstOfflineTask*>(ptr), static_cast<int32_t>(value)));
    case effOfflineRun:
      return answerOf(onOfflineRun(static_cast<VstOfflineTask*>(ptr), static_cast<int32_t>(value)));
    case effProcessVarIo:
      return answerOf(onVariableIo(static_cast<VstVariableIo*>(ptr)));
    case effSetSpeakerArrangement:
      return answerOf(onSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                           static_cast<VstSpeakerArrangement*>(ptr)));
    case effSetBlockSizeAndSampleRate:
      storeBlockSizeAndRate(static_cast<int32_t>(value), opt);
      return 1;
    case effSetBypass:
      return answerOf(onBypass(value != 0));
    case effGetEffectName:
      return text != nullptr ? answerOf(copyEffectName(text)) : 0;
    case effGetErrorText:
      return text != nullptr ? answerOf(copyErrorText(text)) : 0;
    case effGetVendorString:
      return text != nullptr ? answerOf(copyVendorString(text)) : 0;
    case effGetProductString:
      return text != nullptr ? answerOf(copyProductString(text)) : 0;
    case effGetVendorVersion:
      return vendorVersion();
    case effVendorSpecific:
      return onVendorSpecific(index, value, ptr, opt);
    case effCanDo:
      return answerCanDo(text);
    case effGetTailSize:
      return tailSize();
    case effIdle:
      return onIdle();
    case effGetIcon:
      return reinterpret_cast<intptr_t>(iconHandle());
    case effSetViewPosition:
      return answerOf(onViewPosition(index, static_cast<int32_t>(value)));
    case effGetParameterProperties:
      return answerOf(copyParameterProperties(index, static_cast<VstParameterProperties*>(ptr)));
    case effKeysRequired:
      return needsKeys() ? 0 : 1;
    case effGetVstVersion:
      return interfaceVersion();
    case effEditKeyDown:
    case effEditKeyUp: {
      if (editor == nullptr) return 0;
      KeyCode key{index, static_cast<unsigned char>(value & 0xFF), modifierBitsOf(opt)};
      return opcode == effEditKeyDown ? editor->keyPressed(key) : editor->keyReleased(key);
    }
    case effSetEditKnobMode:
      return editor != nullptr ? editor->changeKnobMode(static_cast<int32_t>(value)) : 0;
    case effGetMidiProgramName:
      return copyMidiProgramName(index, static_cast<MidiProgramName*>(ptr));
    case effGetCurrentMidiProgram:
      return currentMidiProgram(index, static_cast<MidiProgramName*>(ptr));
    case effGetMidiProgramCategory:
      return copyMidiProgramCategory(index, static_cast<MidiProgramCategory*>(ptr));
    case effHasMidiProgramsChanged:
      return answerOf(midiProgramsChanged(index));
    case effGetMidiKeyName:
      return answerOf(copyMidiKeyName(index, static_cast<MidiKeyName*>(ptr)));
    case effBeginSetProgram:
      return answerOf(onBeginSetProgram());
    case effEndSetProgram:
      return answerOf(onEndSetProgram());
    case effGetSpeakerArrangement:
      return answerOf(copySpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(value),
                                             static_cast<VstSpeakerArrangement**>(ptr)));
    case effShellGetNextPlugin:
      return text != nullptr ? nextShellPlugin(text) : 0;
    case effStartProcess:
      return onStartProcess();
    case effStopProcess:
      return onStopProcess();
    case effSetTotalSampleToProcess:
      return onTotalSamples(static_cast<int32_t>(value));
    case effSetPanLaw:
      return answerOf(onPanLaw(static_cast<int32_t>(value), opt));
    case effBeginLoadBank:
      return onBeginLoadBank(static_cast<VstPatchChunkInfo*>(ptr));
    case effBeginLoadProgram:
      return onBeginLoadProgram(static_cast<VstPatchChunkInfo*>(ptr));
    default:
      return EffectBase::dispatch(opcode, index, value, ptr, opt);
  }
}

EditorBase* ExtendedEffectBase::editorObject() { return editor; }

intptr_t ExtendedEffectBase::requestEvents(int32_t filter) {
  return callHost(audioMasterWantMidi, 0, filter);
}

VstTimeInfo* ExtendedEffectBase::hostTimeInfo(int32_t filter) {
  return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}

intptr_t ExtendedEffectBase::hostTempoAt(int32_t position) {
  return callHost(audioMasterTempoAt, 0, position);
}

intptr_t ExtendedEffectBase::onEvents(VstEvents*) { return 0; }

intptr_t ExtendedEffectBase::hostAutomatableCount() {
  return callHost(audioMasterGetNumAutomatableParameters);
}

intptr_t ExtendedEffectBase::hostParameterQuantization() {
  return callHost(audioMasterGetParameterQuantization);
}

bool ExtendedEffectBase::isParameterAutomatable(int32_t) { return true; }

bool ExtendedEffectBase::parseParameterText(int32_t, char*) { return false; }

float ExtendedEffectBase::channelParameterValue(int32_t, int32_t) { return 0.0f; }

int32_t ExtendedEffectBase::programCategoryCount() { return 1; }

bool ExtendedEffectBase::copyProgramNameByIndex(int32_t, int32_t, char*) { return false; }

bool ExtendedEffectBase::duplicateProgram(int32_t) { return false; }

bool ExtendedEffectBase::hostIoChanged() { return callHost(audioMasterIOChanged) != 0; }

bool ExtendedEffectBase::hostNeedIdle() { return callHost(audioMasterNeedIdle) != 0; }

bool ExtendedEffectBase::hostResizeWindow(int32_t width, int32_t height) {
  return callHost(audioMasterSizeWindow, width, height) != 0;
}

float ExtendedEffectBase::hostSampleRate() {
  const intptr_t answer = callHost(audioMasterGetSampleRate);
  if (answer > 0) storedSampleRate = static_cast<float>(answer);
  return storedSampleRate;
}

int32_t ExtendedEffectBase::hostBlockSize() {
  const intptr_t answer = callHost(audioMasterGetBlockSize);
  if (answer > 0) storedBlockSize = static_cast<int32_t>(answer);
  return storedBlockSize;
}

intptr_t ExtendedEffectBase::hostInputLatency() { return callHost(audioMasterGetInputLatency); }

intptr_t ExtendedEffectBase::hostOutputLatency() { return callHost(audioMasterGetOutputLatency); }

AEffect* ExtendedEffectBase::hostPreviousPlug(int32_t) {
  return reinterpret_cast<AEffect*>(callHost(audioMasterGetPreviousPlug));
}

AEffect* ExtendedEffectBase::hostNextPlug(int32_t) {
  return reinterpret_cast<AEffect*>(callHost(audioMasterGetNextPlug));
}

void ExtendedEffectBase::onInputConnection(int32_t, bool) {}

void ExtendedEffectBase::onOutputConnection(int32_t, bool) {}

bool ExtendedEffectBase::copyInputProperties(int32_t, VstPinProperties*) { return false; }

bool ExtendedEffectBase::copyOutputProperties(int32_t, VstPinProperties*) { return false; }

int32_t ExtendedEffectBase::plugCategory() {
  return (record.flags & effFlagsIsSynth) != 0 ? kPlugCategSynth : kPlugCategUnknown;
}

intptr_t ExtendedEffectBase::hostReplaceOrAccumulate() {
  return callHost(audioMasterWillReplaceOrAccumulate);
}

intptr_t ExtendedEffectBase::hostProcessLevel() {
  return callHost(audioMasterGetCurrentProcessLevel);
}

intptr_t ExtendedEffectBase::hostAutomationState() {
  return callHost(audioMasterGetAutomationState);
}

void ExtendedEffectBase::declareAsync(bool state) { setFlag(effFlagsExtIsAsync, state); }

void ExtendedEffectBase::declareExternalBuffer(bool state) { setFlag(effFlagsExtHasBuffer, state); }

intptr_t ExtendedEffectBase::currentPosition() { return 0; }

float* ExtendedEffectBase::destinationBuffer() { return nullptr; }

bool ExtendedEffectBase::hostOfflineRead(VstOfflineTask* task, int32_t option, bool readSource) {
  return callHost(audioMasterOfflineRead, readSource ? 1 : 0, option, task) != 0;
}

bool ExtendedEffectBase::hostOfflineWrite(VstOfflineTask* task, int32_t option) {
  return callHost(audioMasterOfflineWrite, 0, option, task) != 0;
}

bool ExtendedEffectBase::hostOfflineStart(VstAudioFile* files, int32_t fileCount,
                                          int32_t newFileCount) {
  return callHost(audioMasterOfflineStart, newFileCount, fileCount, files) != 0;
}

bool ExtendedEffectBase::hostOfflinePass() {
  return callHost(audioMasterOfflineGetCurrentPass) != 0;
}

bool ExtendedEffectBase::hostOfflineMetaPass() {
  return callHost(audioMasterOfflineGetCurrentMetaPass) != 0;
}

bool ExtendedEffectBase::onOfflineNotify(VstAudioFile*, int32_t, bool) { return false; }

bool ExtendedEffectBase::onOfflinePrepare(VstOfflineTask*, int32_t) { return false; }

bool ExtendedEffectBase::onOfflineRun(VstOfflineTask*, int32_t) { return false; }

int32_t ExtendedEffectBase::offlinePassCount() { return 0; }

int32_t ExtendedEffectBase::offlineMetaPassCount() { return 0; }

intptr_t ExtendedEffectBase::hostSetOutputSampleRate(float rate) {
  return callHost(audioMasterSetOutputSampleRate, 0, 0, nullptr, rate);
}

VstSpeakerArrangement* ExtendedEffectBase::hostInputArrangement() {
  return reinterpret_cast<VstSpeakerArrangement*>(callHost(audioMasterGetInputSpeakerArrangement));
}

VstSpeakerArrangement* ExtendedEffectBase::hostOutputArrangement() {
  return reinterpret_cast<VstSpeakerArrangement*>(callHost(audioMasterGetOutputSpeakerArrangement));
}

bool ExtendedEffectBase::hostVendorString(char* text) {
  return callHost(audioMasterGetVendorString, 0, 0, text) != 0;
}

bool ExtendedEffectBase::hostProductString(char* text) {
  return callHost(audioMasterGetProductString, 0, 0, text) != 0;
}

intptr_t ExtendedEffectBase::hostVendorVersion() { return callHost(audioMasterGetVendorVersion); }

intptr_t ExtendedEffectBase::hostVendorCall(int32_t index, intptr_t value, void* ptr, float opt) {
  return callHost(audioMasterVendorSpecific, index, value, ptr, opt);
}

int32_t ExtendedEffectBase::hostCanDo(const char* text) {
  return callHost(audioMasterCanDo, 0, 0, const_cast<char*>(text)) != 0 ? 1 : 0;
}

void ExtendedEffectBase::declareSynth(bool state) { setFlag(effFlagsIsSynth, state); }

void ExtendedEffectBase::declareNoTail(bool state) { setFlag(effFlagsNoSoundInStop, state); }

intptr_t ExtendedEffectBase::hostLanguage() { return callHost(audioMasterGetLanguage); }

void* ExtendedEffectBase::hostOpenWindow(VstWindow* window) {
  return reinterpret_cast<void*>(callHost(audioMasterOpenWindow, 0, 0, window));
}

bool ExtendedEffectBase::hostCloseWindow(VstWindow* window) {
  return callHost(audioMasterCloseWindow, 0, 0, window) != 0;
}

void* ExtendedEffectBase::hostDirectory() {
  return reinterpret_cast<void*>(callHost(audioMasterGetDirectory));
}

bool ExtendedEffectBase::hostUpdateDisplay() { return callHost(audioMasterUpdateDisplay) != 0; }

bool ExtendedEffectBase::onVariableIo(VstVariableIo*) { return false; }

bool ExtendedEffectBase::onSpeakerArrangement(VstSpeakerArrangement*, VstSpeakerArrangement*) {
  return false;
}

bool ExtendedEffectBase::copySpeakerArrangement(VstSpeakerArrangement** input,
                                                VstSpeakerArrangement** output) {
  if (input != nullptr) *input = nullptr;
  if (output != nullptr) *output = nullptr;
  return false;
}

void ExtendedEffectBase::storeBlockSizeAndRate(int32_t blockSize, float rate) {
  storedBlockSize = blockSize;
  storedSampleRate = rate;
}

bool ExtendedEffectBase::onBypass(bool) { return false; }

bool ExtendedEffectBase::copyEffectName(char*) { return false; }

bool ExtendedEffectBase::copyErrorText(char*) { return false; }

bool ExtendedEffectBase::copyVendorString(char*) { return false; }

bool ExtendedEffectBase::copyProductString(char*) { return false; }

int32_t ExtendedEffectBase::vendorVersion() { return 0; }

intptr_t ExtendedEffectBase::onVendorSpecific(int32_t index, intptr_t value, void*, float opt) {
  EditorBase* editor = attachedEditor();
  if (index != hostScaleIndex || value != hostScaleValue || editor == nullptr) return 0;
  return editor->takeHostScale(opt) ? 1 : 0;
}

int32_t ExtendedEffectBase::answerCanDo(const char*) { return 0; }

void* ExtendedEffectBase::iconHandle() { return nullptr; }

bool ExtendedEffectBase::onViewPosition(int32_t, int32_t) { return false; }

int32_t ExtendedEffectBase::tailSize() { return 0; }

int32_t ExtendedEffectBase::onIdle() { return 0; }

bool ExtendedEffectBase::copyParameterProperties(int32_t, VstParameterProperties*) { return false; }

bool ExtendedEffectBase::needsKeys() { return false; }

int32_t ExtendedEffectBase::interfaceVersion() { return implementedInterfaceVersion; }

int32_t ExtendedEffectBase::copyMidiProgramName(int32_t, MidiProgramName*) { return 0; }

int32_t ExtendedEffectBase::currentMidiProgram(int32_t, MidiProgramName*) { return -1; }

int32_t ExtendedEffectBase::copyMidiProgramCategory(int32_t, MidiProgramCategory*) { return 0; }

bool ExtendedEffectBase::midiProgramsChanged(int32_t) { return false; }

bool ExtendedEffectBase::copyMidiKeyName(int32_t, MidiKeyName*) { return false; }

bool ExtendedEffectBase::onBeginSetProgram() { return false; }

bool ExtendedEffectBase::onEndSetProgram() { return false; }

bool ExtendedEffectBase::hostBeginEdit(int32_t index) {
  return callHost(audioMasterBeginEdit, index) != 0;
}

bool ExtendedEffectBase::hostEndEdit(int32_t index) {
  return callHost(audioMasterEndEdit, index) != 0;
}

bool ExtendedEffectBase::hostOpenFileSelector(VstFileSelect* select) {
  if (select == nullptr) return false;
  return callHost(audioMasterOpenFileSelector, 0, 0, select) != 0;
}

int32_t ExtendedEffectBase::onTotalSamples(int32_t value) { return value; }

int32_t ExtendedEffectBase::nextShellPlugin(char*) { return 0; }

int32_t ExtendedEffectBase::onStartProcess() { return 0; }

int32_t ExtendedEffectBase::onStopProcess() { return 0; }

bool ExtendedEffectBase::onPanLaw(int32_t, float) { return false; }

int32_t ExtendedEffectBase::onBeginLoadBank(VstPatchChunkInfo*) { return 0; }

int32_t ExtendedEffectBase::onBeginLoadProgram(VstPatchChunkInfo*) { return 0; }

bool ExtendedEffectBase::newSpeakerLayout(VstSpeakerArrangement** arrangement, int32_t channels) {
  if (arrangement == nullptr || channels < 0) return false;
  std::free(*arrangement);
  *arrangement = nullptr;
  void* memory = std::calloc(1, speakerArrangementSize(channels));
  if (memory == nullptr) return false;
  *arrangement = static_cast<VstSpeakerArrangement*>(memory);
  (*arrangement)->numChannels = channels;
  return true;
}

bool ExtendedEffectBase::freeSpeakerLayout(VstSpeakerArrangement** arrangement) {
  if (arrangement == nullptr) return false;
  std::free(*arrangement);
  *arrangement = nullptr;
  return true;
}

bool ExtendedEffectBase::duplicateSpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from) {
  if (to == nullptr || from == nullptr) return false;
  std::memcpy(to->name, from->name, sizeof to->name);
  to->name[sizeof to->name - 1] = '\0';
  to->type = from->type;
  to->azimuth = from->azimuth;
  to->elevation = from->elevation;
  to->radius = from->radius;
  to->reserved = from->reserved;
  std::memcpy(to->future, from->future, sizeof to->future);
  return true;
}

bool ExtendedEffectBase::mirrorSpeakerLayout(VstSpeakerArrangement** to,
                                             VstSpeakerArrangement* from) {
  if (from == nullptr || !newSpeakerLayout(to, from->numChannels)) return false;
  (*to)->type = from->type;
  // The arrangements hold numChannels speakers, which may be more than the declared eight.
  VstSpeakerProperties* target = (*to)->speakers;
  VstSpeakerProperties* source = from->speakers;
  for (int32_t channel = 0; channel < from->numChannels; ++channel)
    if (!duplicateSpeaker(target + channel, source + channel)) return false;
  return true;
}

}  // namespace wrenfold
