// Every opcode the host can send reaches exactly one operation and is answered as designed.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "host/EditorBase.h"
#include "host/ExtendedEffectBase.h"

namespace wrenfold {
namespace {

// An effect whose operations note their names and then answer the base layers' defaults.
class RecordingEffect : public ExtendedEffectBase {
 public:
  RecordingEffect() : ExtendedEffectBase(nullptr, 5, 20) {}

  std::vector<std::string> reached;

  void processAdding(float**, float**, int32_t) override { note("processAdding"); }
  void onOpen() override { note("onOpen"); }
  void onClose() override { note("onClose"); }
  int32_t programNumber() override {
    return note("programNumber"), ExtendedEffectBase::programNumber();
  }
  void selectProgram(int32_t p) override {
    note("selectProgram"), ExtendedEffectBase::selectProgram(p);
  }
  void renameProgram(char* t) override {
    note("renameProgram"), ExtendedEffectBase::renameProgram(t);
  }
  void copyProgramName(char* t) override {
    note("copyProgramName"), ExtendedEffectBase::copyProgramName(t);
  }
  void copyParameterLabel(int32_t i, char* t) override {
    note("copyParameterLabel"), ExtendedEffectBase::copyParameterLabel(i, t);
  }
  void copyParameterDisplay(int32_t i, char* t) override {
    note("copyParameterDisplay"), ExtendedEffectBase::copyParameterDisplay(i, t);
  }
  void copyParameterName(int32_t i, char* t) override {
    note("copyParameterName"), ExtendedEffectBase::copyParameterName(i, t);
  }
  float vuLevel() override { return note("vuLevel"), 0.0f; }
  int32_t saveChunk(void** d, bool p) override {
    return note("saveChunk"), ExtendedEffectBase::saveChunk(d, p);
  }
  int32_t loadChunk(void* d, int32_t s, bool p) override {
    return note("loadChunk"), ExtendedEffectBase::loadChunk(d, s, p);
  }
  void changeSampleRate(float r) override {
    note("changeSampleRate"), ExtendedEffectBase::changeSampleRate(r);
  }
  void changeBlockSize(int32_t s) override {
    note("changeBlockSize"), ExtendedEffectBase::changeBlockSize(s);
  }
  void onSuspend() override { note("onSuspend"); }
  void onResume() override { note("onResume"); }
  intptr_t onEvents(VstEvents* e) override {
    return note("onEvents"), ExtendedEffectBase::onEvents(e);
  }
  bool isParameterAutomatable(int32_t i) override {
    return note("isParameterAutomatable"), ExtendedEffectBase::isParameterAutomatable(i);
  }
  bool parseParameterText(int32_t i, char* t) override {
    return note("parseParameterText"), ExtendedEffectBase::parseParameterText(i, t);
  }
  int32_t programCategoryCount() override {
    return note("programCategoryCount"), ExtendedEffectBase::programCategoryCount();
  }
  bool copyProgramNameByIndex(int32_t c, int32_t i, char* t) override {
    return note("copyProgramNameByIndex"), ExtendedEffectBase::copyProgramNameByIndex(c, i, t);
  }
  bool duplicateProgram(int32_t d) override {
    return note("duplicateProgram"), ExtendedEffectBase::duplicateProgram(d);
  }
  void onInputConnection(int32_t, bool) override { note("onInputConnection"); }
  void onOutputConnection(int32_t, bool) override { note("onOutputConnection"); }
  bool copyInputProperties(int32_t, VstPinProperties*) override {
    return note("copyInputProperties"), false;
  }
  bool copyOutputProperties(int32_t, VstPinProperties*) override {
    return note("copyOutputProperties"), false;
  }
  int32_t plugCategory() override {
    return note("plugCategory"), ExtendedEffectBase::plugCategory();
  }
  intptr_t currentPosition() override { return note("currentPosition"), 0; }
  float* destinationBuffer() override { return note("destinationBuffer"), nullptr; }
  bool onOfflineNotify(VstAudioFile*, int32_t, bool) override {
    return note("onOfflineNotify"), false;
  }
  bool onOfflinePrepare(VstOfflineTask*, int32_t) override {
    return note("onOfflinePrepare"), false;
  }
  bool onOfflineRun(VstOfflineTask*, int32_t) override { return note("onOfflineRun"), false; }
  bool onVariableIo(VstVariableIo*) override { return note("onVariableIo"), false; }
  bool onSpeakerArrangement(VstSpeakerArrangement*, VstSpeakerArrangement*) override {
    return note("onSpeakerArrangement"), false;
  }
  void storeBlockSizeAndRate(int32_t b, float r) override {
    note("storeBlockSizeAndRate"), ExtendedEffectBase::storeBlockSizeAndRate(b, r);
  }
  bool onBypass(bool) override { return note("onBypass"), false; }
  bool copyEffectName(char*) override { return note("copyEffectName"), false; }
  bool copyErrorText(char*) override { return note("copyErrorText"), false; }
  bool copyVendorString(char*) override { return note("copyVendorString"), false; }
  bool copyProductString(char*) override { return note("copyProductString"), false; }
  int32_t vendorVersion() override { return note("vendorVersion"), 0; }
  intptr_t onVendorSpecific(int32_t, intptr_t, void*, float) override {
    return note("onVendorSpecific"), 0;
  }
  int32_t answerCanDo(const char* t) override {
    return note("answerCanDo"), ExtendedEffectBase::answerCanDo(t);
  }
  int32_t tailSize() override { return note("tailSize"), 0; }
  int32_t onIdle() override { return note("onIdle"), 0; }
  void* iconHandle() override { return note("iconHandle"), nullptr; }
  bool onViewPosition(int32_t, int32_t) override { return note("onViewPosition"), false; }
  bool copyParameterProperties(int32_t, VstParameterProperties*) override {
    return note("copyParameterProperties"), false;
  }
  bool needsKeys() override { return note("needsKeys"), ExtendedEffectBase::needsKeys(); }
  int32_t interfaceVersion() override {
    return note("interfaceVersion"), ExtendedEffectBase::interfaceVersion();
  }
  int32_t copyMidiProgramName(int32_t, MidiProgramName*) override {
    return note("copyMidiProgramName"), 0;
  }
  int32_t currentMidiProgram(int32_t c, MidiProgramName* n) override {
    return note("currentMidiProgram"), ExtendedEffectBase::currentMidiProgram(c, n);
  }
  int32_t copyMidiProgramCategory(int32_t, MidiProgramCategory*) override {
    return note("copyMidiProgramCategory"), 0;
  }
  bool midiProgramsChanged(int32_t) override { return note("midiProgramsChanged"), false; }
  bool copyMidiKeyName(int32_t, MidiKeyName*) override { return note("copyMidiKeyName"), false; }
  bool onBeginSetProgram() override { return note("onBeginSetProgram"), false; }
  bool onEndSetProgram() override { return note("onEndSetProgram"), false; }
  bool copySpeakerArrangement(VstSpeakerArrangement** i, VstSpeakerArrangement** o) override {
    return note("copySpeakerArrangement"), ExtendedEffectBase::copySpeakerArrangement(i, o);
  }
  int32_t nextShellPlugin(char*) override { return note("nextShellPlugin"), 0; }
  int32_t onStartProcess() override { return note("onStartProcess"), 0; }
  int32_t onStopProcess() override { return note("onStopProcess"), 0; }
  int32_t onTotalSamples(int32_t v) override {
    return note("onTotalSamples"), ExtendedEffectBase::onTotalSamples(v);
  }
  bool onPanLaw(int32_t, float) override { return note("onPanLaw"), false; }
  int32_t onBeginLoadBank(VstPatchChunkInfo*) override { return note("onBeginLoadBank"), 0; }
  int32_t onBeginLoadProgram(VstPatchChunkInfo*) override { return note("onBeginLoadProgram"), 0; }

  float storedRate() const { return storedSampleRate; }
  int32_t storedBlock() const { return storedBlockSize; }

 private:
  void note(const char* name) { reached.emplace_back(name); }
};

// An editor that notes the operations the dispatcher reaches and answers like a drawn editor.
class RecordingEditor : public EditorBase {
 public:
  explicit RecordingEditor(ExtendedEffectBase* effect, std::vector<std::string>& log)
      : EditorBase(effect), log(log) {}
  intptr_t editorRect(ERect** r) override {
    log.emplace_back("editorRect");
    *r = &size;
    return 1;
  }
  intptr_t openEditor(void* p) override {
    return log.emplace_back("openEditor"), EditorBase::openEditor(p), 1;
  }
  void closeEditor() override { log.emplace_back("closeEditor"); }
  void idleEditor() override { log.emplace_back("idleEditor"); }
  int32_t keyPressed(KeyCode& k) override {
    return log.emplace_back("keyPressed"), lastKey = k, -1;
  }
  int32_t keyReleased(KeyCode& k) override {
    return log.emplace_back("keyReleased"), lastKey = k, -1;
  }
  int32_t changeKnobMode(int32_t) override { return log.emplace_back("changeKnobMode"), 1; }

  ERect size{0, 0, 430, 350};
  KeyCode lastKey{};

 private:
  std::vector<std::string>& log;
};

struct OpcodeRow {
  int32_t opcode;
  intptr_t answer;
  const char* operation;  // empty: no operation is reached
};

// Opcodes with ptr pointing at a zeroed 256-byte buffer, index 1, value 1, opt 0.
const OpcodeRow opcodeTable[] = {
    {effOpen, 0, "onOpen"},
    {effClose, 0, "onClose"},
    {effSetProgram, 0, "selectProgram"},
    {effGetProgram, 0, "programNumber"},
    {effSetProgramName, 0, "renameProgram"},
    {effGetProgramName, 0, "copyProgramName"},
    {effGetParamLabel, 0, "copyParameterLabel"},
    {effGetParamDisplay, 0, "copyParameterDisplay"},
    {effGetParamName, 0, "copyParameterName"},
    {effGetVu, 0, "vuLevel"},
    {effSetSampleRate, 0, "changeSampleRate"},
    {effSetBlockSize, 0, "changeBlockSize"},
    {effMainsChanged, 0, "onResume"},
    {effEditGetRect, 1, "editorRect"},
    {effEditOpen, 1, "openEditor"},
    {effEditClose, 0, "closeEditor"},
    {effEditDraw, 0, ""},
    {effEditMouse, 0, ""},
    {effEditKey, 0, ""},
    {effEditIdle, 0, "idleEditor"},
    {effEditTop, 0, ""},
    {effEditSleep, 0, ""},
    {effIdentify, 0x4E764566, ""},
    {effGetChunk, 0, "saveChunk"},
    {effSetChunk, 0, "loadChunk"},
    {effProcessEvents, 0, "onEvents"},
    {effCanBeAutomated, 1, "isParameterAutomatable"},
    {effString2Parameter, 0, "parseParameterText"},
    {effGetNumProgramCategories, 1, "programCategoryCount"},
    {effGetProgramNameIndexed, 0, "copyProgramNameByIndex"},
    {effCopyProgram, 0, "duplicateProgram"},
    {effConnectInput, 1, "onInputConnection"},
    {effConnectOutput, 1, "onOutputConnection"},
    {effGetInputProperties, 0, "copyInputProperties"},
    {effGetOutputProperties, 0, "copyOutputProperties"},
    {effGetPlugCategory, 0, "plugCategory"},
    {effGetCurrentPosition, 0, "currentPosition"},
    {effGetDestinationBuffer, 0, "destinationBuffer"},
    {effOfflineNotify, 0, "onOfflineNotify"},
    {effOfflinePrepare, 0, "onOfflinePrepare"},
    {effOfflineRun, 0, "onOfflineRun"},
    {effProcessVarIo, 0, "onVariableIo"},
    {effSetSpeakerArrangement, 0, "onSpeakerArrangement"},
    {effSetBlockSizeAndSampleRate, 1, "storeBlockSizeAndRate"},
    {effSetBypass, 0, "onBypass"},
    {effGetEffectName, 0, "copyEffectName"},
    {effGetErrorText, 0, "copyErrorText"},
    {effGetVendorString, 0, "copyVendorString"},
    {effGetProductString, 0, "copyProductString"},
    {effGetVendorVersion, 0, "vendorVersion"},
    {effVendorSpecific, 0, "onVendorSpecific"},
    {effCanDo, 0, "answerCanDo"},
    {effGetTailSize, 0, "tailSize"},
    {effIdle, 0, "onIdle"},
    {effGetIcon, 0, "iconHandle"},
    {effSetViewPosition, 0, "onViewPosition"},
    {effGetParameterProperties, 0, "copyParameterProperties"},
    {effKeysRequired, 1, "needsKeys"},
    {effGetVstVersion, 2300, "interfaceVersion"},
    {effEditKeyDown, -1, "keyPressed"},
    {effEditKeyUp, -1, "keyReleased"},
    {effSetEditKnobMode, 1, "changeKnobMode"},
    {effGetMidiProgramName, 0, "copyMidiProgramName"},
    {effGetCurrentMidiProgram, -1, "currentMidiProgram"},
    {effGetMidiProgramCategory, 0, "copyMidiProgramCategory"},
    {effHasMidiProgramsChanged, 0, "midiProgramsChanged"},
    {effGetMidiKeyName, 0, "copyMidiKeyName"},
    {effBeginSetProgram, 0, "onBeginSetProgram"},
    {effEndSetProgram, 0, "onEndSetProgram"},
    {effGetSpeakerArrangement, 0, "copySpeakerArrangement"},
    {effShellGetNextPlugin, 0, "nextShellPlugin"},
    {effStartProcess, 0, "onStartProcess"},
    {effStopProcess, 0, "onStopProcess"},
    {effSetTotalSampleToProcess, 1, "onTotalSamples"},
    {effSetPanLaw, 0, "onPanLaw"},
    {effBeginLoadBank, 0, "onBeginLoadBank"},
    {effBeginLoadProgram, 0, "onBeginLoadProgram"},
    {-1, 0, ""},
    {77, 0, ""},
    {INT_MAX, 0, ""},
    {INT_MIN, 0, ""},
};

TEST(Dispatcher, EveryOpcodeReachesItsOperationAndAnswersAsDesigned) {
  for (const OpcodeRow& row : opcodeTable) {
    SCOPED_TRACE("opcode " + std::to_string(row.opcode));
    RecordingEffect effect;
    effect.attachEditor(new RecordingEditor(&effect, effect.reached));
    char buffer[256] = {};
    void* ptr = buffer;
    intptr_t value = 1;
    if (row.opcode == effGetSpeakerArrangement) {
      static VstSpeakerArrangement* input = nullptr;
      value = reinterpret_cast<intptr_t>(&input);
    }
    EXPECT_EQ(effect.dispatch(row.opcode, 1, value, ptr, 0.0f), row.answer);
    const std::vector<std::string> expected = row.operation[0] == '\0'
                                                  ? std::vector<std::string>{}
                                                  : std::vector<std::string>{row.operation};
    EXPECT_EQ(effect.reached, expected);
  }
}

TEST(Dispatcher, EveryOpcodeIsSafeWithNullPointerAndNoEditor) {
  for (const OpcodeRow& row : opcodeTable) {
    SCOPED_TRACE("opcode " + std::to_string(row.opcode));
    RecordingEffect effect;
    const intptr_t answer = effect.dispatch(row.opcode, -7, 0, nullptr, 0.0f);
    const bool editorOpcode = row.opcode == effEditGetRect || row.opcode == effEditOpen ||
                              row.opcode == effEditKeyDown || row.opcode == effEditKeyUp ||
                              row.opcode == effSetEditKnobMode;
    if (editorOpcode) {
      EXPECT_EQ(answer, 0);
    }
  }
}

TEST(Dispatcher, ProgramNumbersOutsideTheRangeChangeNothing) {
  RecordingEffect effect;
  effect.dispatch(effSetProgram, 0, 3, nullptr, 0.0f);
  // The last value is 2^40 where intptr_t has 64 bits: it must not be truncated to program 0.
  for (intptr_t bad : {intptr_t{5}, intptr_t{-1}, intptr_t{1} << (sizeof(intptr_t) * 8 - 24)}) {
    effect.dispatch(effSetProgram, 0, bad, nullptr, 0.0f);
    EXPECT_EQ(effect.dispatch(effGetProgram, 0, 0, nullptr, 0.0f), 3);
  }
}

TEST(Dispatcher, MainsSwitchSuspendsOnZeroAndResumesOtherwise) {
  RecordingEffect effect;
  effect.dispatch(effMainsChanged, 0, 0, nullptr, 0.0f);
  effect.dispatch(effMainsChanged, 0, 1, nullptr, 0.0f);
  EXPECT_EQ(effect.reached, (std::vector<std::string>{"onSuspend", "onResume"}));
}

TEST(Dispatcher, BlockSizeAndRateAreStoredWithoutReachingTheChangeOperations) {
  RecordingEffect effect;
  EXPECT_EQ(effect.dispatch(effSetBlockSizeAndSampleRate, 0, 256, nullptr, 96000.0f), 1);
  EXPECT_EQ(effect.storedBlock(), 256);
  EXPECT_EQ(effect.storedRate(), 96000.0f);
  EXPECT_EQ(effect.reached, std::vector<std::string>{"storeBlockSizeAndRate"});
}

TEST(Dispatcher, KeyRecordCarriesIndexLowByteOfValueAndTruncatedOpt) {
  RecordingEffect effect;
  auto* editor = new RecordingEditor(&effect, effect.reached);
  effect.attachEditor(editor);
  effect.dispatch(effEditKeyDown, 'a', 0x10C, nullptr, 5.9f);
  EXPECT_EQ(editor->lastKey.character, 'a');
  EXPECT_EQ(editor->lastKey.virt, 0x0C);
  EXPECT_EQ(editor->lastKey.modifier, 5);
  effect.dispatch(effEditKeyUp, 0, 0, nullptr, 1e30f);  // beyond any integer: no modifier bits
  EXPECT_EQ(editor->lastKey.modifier, 0);
}

TEST(Dispatcher, SpeakerArrangementQueryStoresNullInBothPlaces) {
  RecordingEffect effect;
  VstSpeakerArrangement dummy{};
  VstSpeakerArrangement* input = &dummy;
  VstSpeakerArrangement* output = &dummy;
  EXPECT_EQ(effect.dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&input),
                            &output, 0.0f),
            0);
  EXPECT_EQ(input, nullptr);
  EXPECT_EQ(output, nullptr);
}

TEST(Dispatcher, PlugCategoryFollowsTheSynthFlag) {
  RecordingEffect effect;
  EXPECT_EQ(effect.dispatch(effGetPlugCategory, 0, 0, nullptr, 0.0f), kPlugCategUnknown);
  effect.declareSynth(true);
  EXPECT_EQ(effect.dispatch(effGetPlugCategory, 0, 0, nullptr, 0.0f), kPlugCategSynth);
}

TEST(Dispatcher, DeclareOperationsSetAndClearTheirFlags) {
  RecordingEffect effect;
  AEffect* record = effect.effectRecord();
  record->flags = 0;
  effect.declareVu(true);
  effect.declareClip(true);
  effect.declareChunkPrograms(true);
  effect.declareNoTail(true);
  effect.declareAsync(true);
  effect.declareExternalBuffer(true);
  EXPECT_EQ(record->flags, effFlagsHasVu | effFlagsHasClip | effFlagsProgramChunks |
                               effFlagsNoSoundInStop | effFlagsExtIsAsync | effFlagsExtHasBuffer);
  effect.declareVu(false);
  effect.declareExternalBuffer(false);
  EXPECT_EQ(record->flags,
            effFlagsHasClip | effFlagsProgramChunks | effFlagsNoSoundInStop | effFlagsExtIsAsync);
}

TEST(Dispatcher, SpeakerLayoutHelpersCopyEverySpeaker) {
  RecordingEffect effect;
  VstSpeakerArrangement* source = nullptr;
  ASSERT_TRUE(effect.newSpeakerLayout(&source, 12));
  EXPECT_EQ(source->numChannels, 12);
  source->type = 7;
  VstSpeakerProperties* speakers = source->speakers;
  for (int i = 0; i < 12; ++i) {
    speakers[i].azimuth = static_cast<float>(i);
    std::snprintf(speakers[i].name, sizeof speakers[i].name, "speaker %d", i);
    speakers[i].future[27] = static_cast<char>(i);
  }
  VstSpeakerArrangement* copy = nullptr;
  ASSERT_TRUE(effect.mirrorSpeakerLayout(&copy, source));
  EXPECT_EQ(copy->type, 7);
  EXPECT_EQ(copy->numChannels, 12);
  EXPECT_EQ(std::memcmp(copy->speakers, source->speakers, sizeof(VstSpeakerProperties) * 12), 0);
  EXPECT_FALSE(effect.mirrorSpeakerLayout(&copy, nullptr));
  EXPECT_FALSE(effect.duplicateSpeaker(nullptr, source->speakers));
  EXPECT_TRUE(effect.freeSpeakerLayout(&copy));
  EXPECT_EQ(copy, nullptr);
  effect.freeSpeakerLayout(&source);
}

TEST(Dispatcher, BaseFormattersWriteBoundedTexts) {
  RecordingEffect effect;
  char text[32];
  effect.formatDecibels(0.0f, text);
  EXPECT_STREQ(text, "-oo");
  effect.formatDecibels(1.0f, text);
  EXPECT_STREQ(text, "0.00");
  effect.formatInteger(123, text);
  EXPECT_STREQ(text, "    123");
  effect.formatInteger(100000000, text);
  EXPECT_STREQ(text, "Huge!");
  effect.formatHertz(0.0f, text);
  EXPECT_STREQ(text, "0.00");
  effect.formatMilliseconds(44100.0f, text);
  EXPECT_STREQ(text, "1000.00");
  effect.formatFloat(1e9f, text);
  EXPECT_STREQ(text, "Huge!");
}

}  // namespace
}  // namespace wrenfold
