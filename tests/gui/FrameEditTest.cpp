#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "base/ModuleState.h"
#include "editorbase/GraphicEditorBase.h"
#include "gui/Frame.h"
#include "gui/platform/headless/HeadlessControl.h"
#include "host/ExtendedEffectBase.h"
#include "hostkit/Host.h"
#include "support/TestViews.h"

namespace wrenfold {
namespace {

using testsupport::CountingControl;
using testsupport::ViewLog;

using hostkit::Host;

// Returns the (opcode, index) pairs the effect sent to the host.
std::vector<std::pair<int32_t, int32_t>> hostCalls() {
  std::vector<std::pair<int32_t, int32_t>> pairs;
  for (const hostkit::HostCall& call : Host::shared().calls())
    pairs.emplace_back(call.opcode, call.index);
  return pairs;
}

class SilentEffect : public ExtendedEffectBase {
 public:
  SilentEffect() : ExtendedEffectBase(Host::callback(), 1, 20) {}
  void processAdding(float**, float**, int32_t) override {}
};

class PumpCountingEditor : public GraphicEditorBase {
 public:
  explicit PumpCountingEditor(ExtendedEffectBase* effect) : GraphicEditorBase(effect) {}
  void idlePump() override { ++pumps; }
  int pumps = 0;
};

class FrameEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::reset();
    Host::shared().calls().clear();
    effect = new SilentEffect();
    editor = new PumpCountingEditor(effect);  // the effect owns its editor from here on
    host = headless::createHostWindow(Rect(0, 0, 400, 400));
  }
  void TearDown() override {
    headless::destroyHostWindow(host);
    delete effect;
    moduleState().knobMode = 0;
    headless::reset();
  }

  SilentEffect* effect = nullptr;
  PumpCountingEditor* editor = nullptr;
  platform::Window* host = nullptr;
};

TEST_F(FrameEditTest, EditGesturesReachTheHostWithTheTag) {
  Frame frame(Rect(0, 0, 100, 100), host, editor);
  Host::shared().calls().clear();
  frame.beginParameterEdit(12);
  frame.endParameterEdit(12);
  const std::vector<std::pair<int32_t, int32_t>> expected = {{audioMasterBeginEdit, 12},
                                                             {audioMasterEndEdit, 12}};
  EXPECT_EQ(hostCalls(), expected);
}

TEST_F(FrameEditTest, EditGesturesWithoutAnEditorReachNobody) {
  Frame frame(Rect(0, 0, 100, 100), host, nullptr);
  Host::shared().calls().clear();
  frame.beginParameterEdit(3);
  frame.endParameterEdit(3);
  EXPECT_TRUE(hostCalls().empty());
}

TEST_F(FrameEditTest, AttachedControlsFindTheEditorAndPumpItsIdle) {
  Frame frame(Rect(0, 0, 100, 100), host, editor);
  ViewLog log;
  auto* control = new CountingControl(Rect(0, 0, 10, 10), log);
  EXPECT_EQ(control->getEditor(), nullptr);
  frame.addView(control);
  EXPECT_EQ(control->getEditor(), editor);
  EXPECT_EQ(frame.getEditor(), editor);
  control->idlePump();
  EXPECT_EQ(editor->pumps, 1);
}

TEST_F(FrameEditTest, CurrentKnobModeIsTheModuleWideMode) {
  Frame frame(Rect(0, 0, 100, 100), host, editor);
  EXPECT_EQ(frame.currentKnobMode(), 0);
  moduleState().knobMode = linearKnobMode;
  EXPECT_EQ(frame.currentKnobMode(), 2);
}

}  // namespace
}  // namespace wrenfold
