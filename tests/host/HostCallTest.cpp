// The operations that call the host pass the right arguments, shape the answers, and answer
// their defaults when the host gave no callback.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/ExtendedEffectBase.h"

namespace wrenfold {
namespace {

struct HostCall {
  int32_t opcode;
  int32_t index;
  intptr_t value;
  void* ptr;
  float opt;
};

std::vector<HostCall> hostCalls;
intptr_t hostAnswer = 0;

intptr_t WRENFOLD_CALL recordingHost(AEffect*, int32_t opcode, int32_t index, intptr_t value,
                                     void* ptr, float opt) {
  hostCalls.push_back({opcode, index, value, ptr, opt});
  return hostAnswer;
}

class PlainEffect : public ExtendedEffectBase {
 public:
  explicit PlainEffect(audioMasterCallback callback) : ExtendedEffectBase(callback, 1, 1) {}
  void processAdding(float**, float**, int32_t) override {}
  void applyParameter(int32_t index, float value) override { applied.push_back({index, value}); }
  std::vector<std::pair<int32_t, float>> applied;
};

class HostCalls : public ::testing::Test {
 protected:
  void SetUp() override {
    hostCalls.clear();
    hostAnswer = 0;
  }
  PlainEffect effect{recordingHost};
  PlainEffect unhosted{nullptr};
};

struct WrapperRow {
  const char* name;
  int32_t opcode;
  int32_t index;
  intptr_t value;
  std::function<intptr_t(ExtendedEffectBase&)> call;
  intptr_t answerWhenHostSays7;
  intptr_t answerWithoutCallback;
};

char textBuffer[64];
VstFileSelect* const someSelect = reinterpret_cast<VstFileSelect*>(textBuffer);

const std::vector<WrapperRow>& wrapperTable() {
  static const std::vector<WrapperRow> rows = {
      {"hostVersion", audioMasterVersion, 0, 0, [](auto& e) { return e.hostVersion(); }, 7, 1},
      {"hostCurrentId", audioMasterCurrentId, 0, 0, [](auto& e) { return e.hostCurrentId(); }, 7,
       0},
      {"isInputPinConnected", audioMasterPinConnected, 3, 0,
       [](auto& e) { return e.isInputPinConnected(3); }, 0, 1},
      {"isOutputPinConnected", audioMasterPinConnected, 2, 1,
       [](auto& e) { return e.isOutputPinConnected(2); }, 0, 1},
      {"requestEvents", audioMasterWantMidi, 0, 5, [](auto& e) { return e.requestEvents(5); }, 7,
       0},
      {"hostTimeInfo", audioMasterGetTime, 0, 9,
       [](auto& e) { return reinterpret_cast<intptr_t>(e.hostTimeInfo(9)); }, 7, 0},
      {"hostTempoAt", audioMasterTempoAt, 0, 4410, [](auto& e) { return e.hostTempoAt(4410); }, 7,
       0},
      {"hostAutomatableCount", audioMasterGetNumAutomatableParameters, 0, 0,
       [](auto& e) { return e.hostAutomatableCount(); }, 7, 0},
      {"hostParameterQuantization", audioMasterGetParameterQuantization, 0, 0,
       [](auto& e) { return e.hostParameterQuantization(); }, 7, 0},
      {"hostIoChanged", audioMasterIOChanged, 0, 0, [](auto& e) { return e.hostIoChanged(); }, 1,
       0},
      {"hostNeedIdle", audioMasterNeedIdle, 0, 0, [](auto& e) { return e.hostNeedIdle(); }, 1, 0},
      {"hostResizeWindow", audioMasterSizeWindow, 350, 430,
       [](auto& e) { return e.hostResizeWindow(350, 430); }, 1, 0},
      {"hostInputLatency", audioMasterGetInputLatency, 0, 0,
       [](auto& e) { return e.hostInputLatency(); }, 7, 0},
      {"hostOutputLatency", audioMasterGetOutputLatency, 0, 0,
       [](auto& e) { return e.hostOutputLatency(); }, 7, 0},
      {"hostPreviousPlug", audioMasterGetPreviousPlug, 0, 0,
       [](auto& e) { return reinterpret_cast<intptr_t>(e.hostPreviousPlug(1)); }, 7, 0},
      {"hostNextPlug", audioMasterGetNextPlug, 0, 0,
       [](auto& e) { return reinterpret_cast<intptr_t>(e.hostNextPlug(1)); }, 7, 0},
      {"hostReplaceOrAccumulate", audioMasterWillReplaceOrAccumulate, 0, 0,
       [](auto& e) { return e.hostReplaceOrAccumulate(); }, 7, 0},
      {"hostProcessLevel", audioMasterGetCurrentProcessLevel, 0, 0,
       [](auto& e) { return e.hostProcessLevel(); }, 7, 0},
      {"hostAutomationState", audioMasterGetAutomationState, 0, 0,
       [](auto& e) { return e.hostAutomationState(); }, 7, 0},
      {"hostOfflineStart", audioMasterOfflineStart, 2, 3,
       [](auto& e) { return e.hostOfflineStart(nullptr, 3, 2); }, 1, 0},
      {"hostOfflineRead", audioMasterOfflineRead, 1, 4,
       [](auto& e) { return e.hostOfflineRead(nullptr, 4, true); }, 1, 0},
      {"hostOfflineWrite", audioMasterOfflineWrite, 0, 4,
       [](auto& e) { return e.hostOfflineWrite(nullptr, 4); }, 1, 0},
      {"hostOfflinePass", audioMasterOfflineGetCurrentPass, 0, 0,
       [](auto& e) { return e.hostOfflinePass(); }, 1, 0},
      {"hostOfflineMetaPass", audioMasterOfflineGetCurrentMetaPass, 0, 0,
       [](auto& e) { return e.hostOfflineMetaPass(); }, 1, 0},
      {"hostSetOutputSampleRate", audioMasterSetOutputSampleRate, 0, 0,
       [](auto& e) { return e.hostSetOutputSampleRate(48000.0f); }, 7, 0},
      {"hostOutputArrangement", audioMasterGetOutputSpeakerArrangement, 0, 0,
       [](auto& e) { return reinterpret_cast<intptr_t>(e.hostOutputArrangement()); }, 7, 0},
      {"hostInputArrangement", audioMasterGetInputSpeakerArrangement, 0, 0,
       [](auto& e) { return reinterpret_cast<intptr_t>(e.hostInputArrangement()); }, 7, 0},
      {"hostVendorString", audioMasterGetVendorString, 0, 0,
       [](auto& e) { return e.hostVendorString(textBuffer); }, 1, 0},
      {"hostProductString", audioMasterGetProductString, 0, 0,
       [](auto& e) { return e.hostProductString(textBuffer); }, 1, 0},
      {"hostVendorVersion", audioMasterGetVendorVersion, 0, 0,
       [](auto& e) { return e.hostVendorVersion(); }, 7, 0},
      {"hostVendorCall", audioMasterVendorSpecific, 8, 9,
       [](auto& e) { return e.hostVendorCall(8, 9, nullptr, 0.5f); }, 7, 0},
      {"hostCanDo", audioMasterCanDo, 0, 0, [](auto& e) { return e.hostCanDo("sizeWindow"); }, 1,
       0},
      {"hostLanguage", audioMasterGetLanguage, 0, 0, [](auto& e) { return e.hostLanguage(); }, 7,
       0},
      {"hostOpenWindow", audioMasterOpenWindow, 0, 0,
       [](auto& e) { return reinterpret_cast<intptr_t>(e.hostOpenWindow(nullptr)); }, 7, 0},
      {"hostCloseWindow", audioMasterCloseWindow, 0, 0,
       [](auto& e) { return e.hostCloseWindow(nullptr); }, 1, 0},
      {"hostDirectory", audioMasterGetDirectory, 0, 0,
       [](auto& e) { return reinterpret_cast<intptr_t>(e.hostDirectory()); }, 7, 0},
      {"hostUpdateDisplay", audioMasterUpdateDisplay, 0, 0,
       [](auto& e) { return e.hostUpdateDisplay(); }, 1, 0},
      {"hostBeginEdit", audioMasterBeginEdit, 12, 0, [](auto& e) { return e.hostBeginEdit(12); }, 1,
       0},
      {"hostEndEdit", audioMasterEndEdit, 12, 0, [](auto& e) { return e.hostEndEdit(12); }, 1, 0},
      {"hostOpenFileSelector", audioMasterOpenFileSelector, 0, 0,
       [](auto& e) { return e.hostOpenFileSelector(someSelect); }, 1, 0},
  };
  return rows;
}

TEST_F(HostCalls, EachWrapperPassesItsArgumentsAndShapesTheAnswer) {
  for (const WrapperRow& row : wrapperTable()) {
    SCOPED_TRACE(row.name);
    hostCalls.clear();
    hostAnswer = 7;
    EXPECT_EQ(row.call(effect), row.answerWhenHostSays7);
    ASSERT_EQ(hostCalls.size(), 1u);
    EXPECT_EQ(hostCalls[0].opcode, row.opcode);
    EXPECT_EQ(hostCalls[0].index, row.index);
    EXPECT_EQ(hostCalls[0].value, row.value);
  }
}

TEST_F(HostCalls, WithoutACallbackEachWrapperAnswersItsDefault) {
  for (const WrapperRow& row : wrapperTable()) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.call(unhosted), row.answerWithoutCallback);
  }
  unhosted.hostIdle();
  EXPECT_TRUE(hostCalls.empty());
}

TEST_F(HostCalls, VersionIsOneWhenTheHostAnswersZero) { EXPECT_EQ(effect.hostVersion(), 1); }

TEST_F(HostCalls, PinIsConnectedOnlyWhenTheHostAnswersZero) {
  EXPECT_TRUE(effect.isInputPinConnected(0));
  hostAnswer = 1;
  EXPECT_FALSE(effect.isInputPinConnected(0));
  hostAnswer = -1;
  EXPECT_FALSE(effect.isOutputPinConnected(0));
}

TEST_F(HostCalls, SampleRateAndBlockSizeKeepTheStoredValueUnlessTheHostAnswersPositive) {
  hostAnswer = 0;
  EXPECT_EQ(effect.hostSampleRate(), 44100.0f);
  hostAnswer = -5;
  EXPECT_EQ(effect.hostSampleRate(), 44100.0f);
  EXPECT_EQ(effect.hostBlockSize(), 1024);
  hostAnswer = 48000;
  EXPECT_EQ(effect.hostSampleRate(), 48000.0f);
  EXPECT_EQ(effect.sampleRateValue(), 48000.0f);
  hostAnswer = 256;
  EXPECT_EQ(effect.hostBlockSize(), 256);
  EXPECT_EQ(unhosted.hostSampleRate(), 44100.0f);
}

TEST_F(HostCalls, FileSelectorWithoutARequestCallsNothing) {
  EXPECT_FALSE(effect.hostOpenFileSelector(nullptr));
  EXPECT_TRUE(hostCalls.empty());
}

TEST_F(HostCalls, IdlePassesOpcodeThree) {
  effect.hostIdle();
  ASSERT_EQ(hostCalls.size(), 1u);
  EXPECT_EQ(hostCalls[0].opcode, audioMasterIdle);
}

TEST_F(HostCalls, ReportingAppliesFirstThenAutomatesWithTheValueInOpt) {
  effect.applyParameterAndReport(10, 0.25f);
  ASSERT_EQ(effect.applied.size(), 1u);
  ASSERT_EQ(hostCalls.size(), 1u);
  EXPECT_EQ(hostCalls[0].opcode, audioMasterAutomate);
  EXPECT_EQ(hostCalls[0].index, 10);
  EXPECT_EQ(hostCalls[0].opt, 0.25f);
  unhosted.applyParameterAndReport(3, 0.5f);
  EXPECT_EQ(unhosted.applied.size(), 1u);
}

TEST_F(HostCalls, HostParameterWritesThroughTheRecordAreNotReportedBack) {
  AEffect* record = effect.effectRecord();
  record->setParameter(record, 4, 0.5f);
  EXPECT_EQ(effect.applied.size(), 1u);
  EXPECT_TRUE(hostCalls.empty());
}

}  // namespace
}  // namespace wrenfold
