// The plug-in's editor driven the way a host drives it: through the dispatcher, with the window
// inside a headless host window and the mouse scripted.
#include <cairo.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "base/Allocation.h"
#include "base/ModuleState.h"
#include "editor/DelayEditor.h"
#include "gui/Frame.h"
#include "gui/ValueDisplay.h"
#include "gui/platform/headless/HeadlessControl.h"
#include "gui/platform/platform.h"
#include "hostkit/Host.h"
#include "params/ParameterFormat.h"
#include "params/ParameterTable.h"
#include "plugin/DelayPlugin.h"
#include "plugin/PluginEntry.h"

namespace wrenfold {
namespace {

using hostkit::Host;
using hostkit::HostCall;

std::vector<HostCall>& hostCalls = Host::shared().calls();
// An opcode the host sends back from inside its first idle call after being armed, as a host that
// closes the editor or the plug-in from its idle handler does; 0 sends nothing.
int32_t opcodeFromIdle = 0;

class DelayEditorTest : public ::testing::Test {
 protected:
  static constexpr Point screenOrigin{100, 200};

  void SetUp() override {
    headless::reset();
    Host::shared().reset();
    opcodeFromIdle = 0;
    Host::shared().setIdleHandler([this] {
      const int32_t request = opcodeFromIdle;
      opcodeFromIdle = 0;
      if (request != 0) dispatch(request);
    });
    hostWindow = headless::createHostWindow(Rect(100, 200, 500, 700));
    record = createPluginInstance(Host::callback());
    ASSERT_NE(record, nullptr);
    plugin = static_cast<DelayPlugin*>(EffectBase::fromRecord(record));
    editor = static_cast<DelayEditor*>(plugin->attachedEditor());
  }
  void TearDown() override {
    if (record != nullptr) dispatch(effClose);
    Host::shared().reset();
    headless::destroyHostWindow(hostWindow);
    moduleState().knobMode = 0;
  }

  intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f) {
    return record->dispatcher(record, opcode, index, value, ptr, opt);
  }
  // Opens the editor, paints it once and runs the pump once, as a host's first idle would.
  void open() {
    ASSERT_EQ(dispatch(effEditOpen, 0, 0, hostWindow), 1);
    while (platform::dispatchOnePendingPaint()) {
    }
    editor->idlePump();
    hostCalls.clear();
  }
  platform::Window* window() const { return editor->openFrame()->getWindow(); }
  Point toScreen(Point where) const {
    const Rect area = platform::windowScreenRect(window());
    return Point(area.left + where.h, area.top + where.v);
  }
  std::string displayText(int32_t index) const {
    char text[256] = {};
    ValueDisplay* display = editor->displayFor(index);
    display->formatValue(text);
    return text;
  }

  platform::Window* hostWindow = nullptr;
  AEffect* record = nullptr;
  DelayPlugin* plugin = nullptr;
  DelayEditor* editor = nullptr;
};

TEST_F(DelayEditorTest, RectangleIsTheBackgroundSizeBeforeTheFirstOpen) {
  ERect* rect = nullptr;
  EXPECT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 430);
  EXPECT_EQ(rect->right, 350);
  EXPECT_EQ(record->flags & effFlagsHasEditor, effFlagsHasEditor);
}

// Each row: the vendor call a host makes before the open, what the user and the desktop say, and
// the call's answer and the editor's width before, at and after the open.
struct HostScaleCall {
  const char* name;
  int32_t index;
  intptr_t value;
  float factor;
  const char* userScale;
  float desktopScale;
  intptr_t answer;
  int16_t width;
};

TEST_F(DelayEditorTest, TheHostsScaleCountsUnlessTheUserChoseAndNeverBlocksOrBreaksTheOpen) {
  constexpr int32_t scaleIndex = 0x50726553;
  constexpr intptr_t scaleValue = 0x41654373;
  const HostScaleCall rows[] = {
      {"the host's 2 on a 96-dpi desktop", scaleIndex, scaleValue, 2.0f, nullptr, 1.0f, 1, 700},
      {"the user's 1 over the host's 2", scaleIndex, scaleValue, 2.0f, "1", 1.0f, 1, 350},
      {"the host's 1.5 over a desktop at 2", scaleIndex, scaleValue, 1.5f, nullptr, 2.0f, 1, 525},
      {"another vendor call is no scale", scaleIndex, 1, 2.0f, nullptr, 1.0f, 0, 350},
      {"a scale of no size is refused", scaleIndex, scaleValue, 0.0f, nullptr, 1.25f, 0, 438},
      {"a scale that is no number is refused", scaleIndex, scaleValue, std::nanf(""), nullptr, 3.0f,
       0, 1050},
      {"a desktop below 1 opens at 1", 0, 0, 0.0f, nullptr, 0.5f, 0, 350},
  };
  // The settings file's place holds a FIFO, which the open must not wait on.
  char folder[] = "/tmp/wrenfold-settings-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string settings = std::string(folder) + "/wrenfold";
  mkdir(settings.c_str(), 0700);
  ASSERT_EQ(mkfifo((settings + "/wrenfold.conf").c_str(), 0600), 0);
  setenv("XDG_CONFIG_HOME", folder, 1);
  for (const HostScaleCall& row : rows) {
    SCOPED_TRACE(row.name);
    dispatch(effClose);
    record = createPluginInstance(Host::callback());
    if (row.userScale != nullptr) setenv("WRENFOLD_EDITOR_SCALE", row.userScale, 1);
    headless::setDesktopScale(row.desktopScale);
    EXPECT_EQ(dispatch(effVendorSpecific, row.index, row.value, nullptr, row.factor), row.answer);
    ERect* rect = nullptr;
    ASSERT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->right - rect->left, row.width);
    ASSERT_EQ(dispatch(effEditOpen, 0, 0, hostWindow), 1);
    EXPECT_EQ(platform::windowScreenRect(headless::childWindows(hostWindow).at(0)).width(),
              row.width);
    dispatch(effEditGetRect, 0, 0, &rect);
    EXPECT_EQ(rect->right - rect->left, row.width);
    dispatch(effEditClose);
    unsetenv("WRENFOLD_EDITOR_SCALE");
  }
  // A scale given while open waits for the next open.
  headless::setDesktopScale(1.0f);
  ERect* rect = nullptr;
  dispatch(effEditOpen, 0, 0, hostWindow);
  EXPECT_EQ(dispatch(effVendorSpecific, scaleIndex, scaleValue, nullptr, 2.0f), 1);
  dispatch(effEditGetRect, 0, 0, &rect);
  EXPECT_EQ(rect->right, 350);
  dispatch(effEditClose);
  dispatch(effEditGetRect, 0, 0, &rect);
  EXPECT_EQ(rect->right, 700);
  unsetenv("XDG_CONFIG_HOME");
  unlink((settings + "/wrenfold.conf").c_str());
  rmdir(settings.c_str());
  rmdir(folder);
}

TEST_F(DelayEditorTest, OpenMakesOneWindowOfTheBackgroundSizeWithAllControls) {
  open();
  std::vector<platform::Window*> children = headless::childWindows(hostWindow);
  ASSERT_EQ(children.size(), 1u);
  const Rect area = platform::windowScreenRect(children[0]);
  EXPECT_EQ(area.width(), 350);
  EXPECT_EQ(area.height(), 430);
  EXPECT_EQ(headless::windowTitle(children[0]), "Window");
  EXPECT_EQ(editor->openFrame()->getViewCount(), layout::controlCount);
}

TEST_F(DelayEditorTest, DraggingASliderReportsBeginAutomationIdleAndEnd) {
  open();
  // Left feedback slider (tag 10): its handle's centre line starts 64 px down the window.
  headless::setInput(headless::InputState{});
  const Point press(150, 149);  // value 0.5
  for (int i = 0; i < 2; ++i) headless::queueInput(leftButton, toScreen(press));
  for (int32_t v = 149; v >= 30; v -= 3) headless::queueInput(leftButton, toScreen(Point(150, v)));
  headless::queueInput(0, toScreen(Point(150, 30)));
  headless::clickWindow(window(), press);

  ASSERT_GE(hostCalls.size(), 3u);
  EXPECT_EQ(hostCalls.front().opcode, audioMasterBeginEdit);
  EXPECT_EQ(hostCalls.front().index, FeedBackL);
  EXPECT_EQ(hostCalls.back().opcode, audioMasterEndEdit);
  EXPECT_EQ(hostCalls.back().index, FeedBackL);
  int automations = 0;
  int idles = 0;
  float lastReported = -1.0f;
  for (std::size_t i = 1; i + 1 < hostCalls.size(); ++i) {
    const HostCall& call = hostCalls[i];
    if (call.opcode == audioMasterAutomate) {
      ++automations;
      EXPECT_EQ(call.index, FeedBackL);
      lastReported = call.opt;
    } else {
      EXPECT_EQ(call.opcode, audioMasterIdle);
      ++idles;
    }
  }
  EXPECT_GE(automations, 10);
  EXPECT_GE(idles, 1);
  EXPECT_EQ(lastReported, 1.0f);  // dragged past the top of the travel
  EXPECT_EQ(record->getParameter(record, FeedBackL), 1.0f);
  EXPECT_EQ(editor->controlFor(FeedBackL)->getValue(), 1.0f);
  EXPECT_EQ(displayText(FeedBackL), "100%");
}

TEST_F(DelayEditorTest, HostWritesWhileClosedLeaveControlsUntilTheNextOpen) {
  // Each row: a host write while closed, the control's value after the open and its display's
  // text; the clear button shows the latch the write raised.
  const std::tuple<int32_t, float, float, const char*> writes[] = {
      {TempoL, 0.7f, 0.7f, "BPM158"}, {ClearBuffer, 0.7f, 1.0f, nullptr}};
  for (const auto& [index, written, shown, text] : writes) {
    SCOPED_TRACE(index);
    const float before = editor->controlFor(index)->getValue();
    record->setParameter(record, index, written);
    EXPECT_EQ(editor->controlFor(index)->getValue(), before);
    open();
    EXPECT_EQ(editor->controlFor(index)->getValue(), shown);
    if (text != nullptr) {
      EXPECT_EQ(displayText(index), text);
    }
    dispatch(effEditClose);
  }
}

TEST_F(DelayEditorTest, HostWriteWhileOpenReachesControlAndDisplayAtTheNextIdle) {
  open();
  // Each row: a host write, the control's value and its display's text (none for the clear
  // button, which follows its writes at the idle without asking for a refresh) after the idle.
  const std::tuple<int32_t, float, float, const char*> writes[] = {
      {WetPanL, 0.75f, 0.75f, "right50%"},
      {RevRelease, 0.5f, 0.5f, "25.00ms"},
      {ClearBuffer, 0.5f, 1.0f, nullptr}};
  for (const auto& [index, written, shown, text] : writes) {
    SCOPED_TRACE(index);
    record->setParameter(record, index, written);
    EXPECT_EQ(editor->isUpdatePending(), text != nullptr);
    dispatch(effEditIdle);
    EXPECT_EQ(editor->controlFor(index)->getValue(), shown);
    EXPECT_FALSE(editor->controlFor(index)->isDirty());
    if (text != nullptr) {
      EXPECT_FALSE(editor->displayFor(index)->isDirty());
      EXPECT_EQ(displayText(index), text);
    }
  }
  EXPECT_TRUE(std::none_of(hostCalls.begin(), hostCalls.end(), [](const HostCall& call) {
    return call.opcode == audioMasterAutomate;
  }));
}

TEST_F(DelayEditorTest, SwitchesShowTheEffectsQuantisedValue) {
  open();
  editor->controlFor(Bypass)->setValue(1.0f);
  record->setParameter(record, Bypass, 0.3f);
  dispatch(effEditIdle);
  EXPECT_EQ(editor->controlFor(Bypass)->getValue(), 0.0f);
  record->setParameter(record, NomorRev, 0.8f);
  dispatch(effEditIdle);
  EXPECT_EQ(editor->controlFor(NomorRev)->getValue(), 1.0f);
}

TEST_F(DelayEditorTest, ClearBufferAutomationLightsAndDarkensTheButtonAcrossOneHalf) {
  open();
  Control* button = editor->controlFor(ClearBuffer);
  ASSERT_EQ(button->getValue(), 0.0f);
  // Each step: the writes before one idle, and the button after it; a series between two idles
  // moves the button as the same writes one idle apart do.
  const std::pair<std::vector<float>, float> steps[] = {{{0.5f}, 1.0f},
                                                        {{0.7f}, 1.0f},
                                                        {{0.5f}, 0.0f},
                                                        {{1.0f, 0.0f, 0.5f}, 1.0f},
                                                        {{0.0f, 0.7f}, 1.0f}};
  for (const auto& [writes, shown] : steps) {
    for (float value : writes) record->setParameter(record, ClearBuffer, value);
    dispatch(effEditIdle);
    EXPECT_EQ(button->getValue(), shown);
  }
  button->setValue(0.5f);
  editor->idleEditor();
  record->setParameter(record, ClearBuffer, 1.0f);
  EXPECT_FALSE(editor->isUpdatePending());
  dispatch(effEditIdle);
  EXPECT_EQ(button->getValue(), 0.5f);
}

TEST_F(DelayEditorTest, IndicesOutsideTheParametersOnlyRequestARefresh) {
  open();
  for (int32_t index : {static_cast<int32_t>(parameterCountTotal), -1}) {
    editor->idleEditor();
    editor->parameterChanged(index, 0.9f);
    EXPECT_TRUE(editor->isUpdatePending());
  }
  EXPECT_EQ(editor->controlFor(TempoL)->getValue(), 0.5f);
}

TEST_F(DelayEditorTest, ProgramChangeWhileOpenUpdatesEveryControlAtTheNextIdle) {
  open();
  dispatch(effSetProgram, 0, 4);
  dispatch(effEditIdle);
  for (int32_t index = 0; index < parameterCountTotal; ++index) {
    SCOPED_TRACE(index);
    EXPECT_EQ(editor->controlFor(index)->getValue(), record->getParameter(record, index));
    EXPECT_FALSE(editor->controlFor(index)->isDirty());
    if (ValueDisplay* display = editor->displayFor(index)) {
      EXPECT_FALSE(display->isDirty());
    }
  }
  EXPECT_EQ(displayText(NoteLenL), "1/64");
  EXPECT_EQ(displayText(TempoR), "BPM200");
}

TEST_F(DelayEditorTest, ControlWithATagOutsideTheParametersDoesNotReachTheEffect) {
  open();
  Control* knob = editor->controlFor(TempoL);
  knob->setTag(25);
  knob->setValue(0.9f);
  editor->valueChanged(nullptr, knob);
  knob->setTag(TempoL);
  EXPECT_EQ(record->getParameter(record, TempoL), 0.5f);
  EXPECT_TRUE(hostCalls.empty());
}

TEST_F(DelayEditorTest, ArrowKeyStepsTheFocusedKnobAndReportsIt) {
  open();
  editor->openFrame()->setFocusedView(editor->controlFor(LpfQ));
  EXPECT_EQ(dispatch(effEditKeyDown, 0, 12 /* up */), 1);
  ASSERT_EQ(hostCalls.size(), 1u);
  EXPECT_EQ(hostCalls[0].opcode, audioMasterAutomate);
  EXPECT_EQ(hostCalls[0].index, LpfQ);
  EXPECT_FLOAT_EQ(record->getParameter(record, LpfQ), 0.1f);
  dispatch(effEditIdle);
  EXPECT_EQ(displayText(LpfQ), "0.9");  // 3.5 × 0.1f + 0.5 is a hair above 0.85
  EXPECT_FALSE(editor->displayFor(LpfQ)->isDirty());
}

TEST_F(DelayEditorTest, KeysAnswerMinusOneWhileClosed) {
  EXPECT_EQ(dispatch(effEditKeyDown, 0, 12), -1);
  EXPECT_EQ(dispatch(effEditKeyUp, 0, 12), -1);
  EXPECT_EQ(dispatch(effSetEditKnobMode, 0, 2), 1);
  EXPECT_EQ(moduleState().knobMode, 2);
}

TEST_F(DelayEditorTest, SecondOpenReplacesTheFirstFrame) {
  open();
  open();
  EXPECT_EQ(headless::childWindows(hostWindow).size(), 1u);
  EXPECT_EQ(editor->openFrame()->getViewCount(), layout::controlCount);
}

TEST_F(DelayEditorTest, CloseWithoutOpenDoesNothingAndOpenStillWorks) {
  dispatch(effEditClose);
  open();
  EXPECT_NE(editor->openFrame(), nullptr);
}

TEST_F(DelayEditorTest, ClosingThePluginWhileOpenClosesTheWindow) {
  open();
  dispatch(effClose);
  record = nullptr;
  EXPECT_TRUE(headless::childWindows(hostWindow).empty());
}

TEST_F(DelayEditorTest, RepeatedOpenAndCloseKeepsTheSameControlsAndBitmaps) {
  const std::size_t objectsBefore = headless::liveObjectCount();
  for (int cycle = 0; cycle < 1000; ++cycle) {
    ASSERT_EQ(dispatch(effEditOpen, 0, 0, hostWindow), 1);
    dispatch(effEditIdle);
    dispatch(effEditClose);
  }
  EXPECT_EQ(editor->controlCount(), layout::controlCount);
  EXPECT_EQ(editor->bitmapCount(), 7);
  EXPECT_EQ(headless::liveObjectCount(), objectsBefore);
  EXPECT_TRUE(headless::childWindows(hostWindow).empty());
}

TEST_F(DelayEditorTest, FailedFrameAllocationAnswersZero) {
  setAllocationFailureHook([](AllocationSite site) { return site == AllocationSite::frame; });
  EXPECT_EQ(dispatch(effEditOpen, 0, 0, hostWindow), 0);
  setAllocationFailureHook(nullptr);
  EXPECT_EQ(editor->openFrame(), nullptr);
  dispatch(effEditIdle);
  open();
}

TEST_F(DelayEditorTest, HostClosingFromItsIdleCallDuringADragEndsTheDragCleanly) {
  struct Case {
    const char* name;
    int32_t opcode;
  };
  for (const Case& c : {Case{"editor", effEditClose}, Case{"effect", effClose}}) {
    SCOPED_TRACE(c.name);
    if (record == nullptr) SetUp();
    open();
    const Point press(150, 149);
    headless::setInput(headless::InputState{});
    for (int32_t v = 149; v >= 60; v -= 1)
      headless::queueInput(leftButton, toScreen(Point(150, v)));
    headless::setTickCount(1000);  // late enough for the pump to call the host at once
    opcodeFromIdle = c.opcode;
    headless::clickWindow(window(), press);

    EXPECT_GT(headless::queuedInputCount(), 0u) << "the drag went on after the close";
    EXPECT_TRUE(headless::childWindows(hostWindow).empty());
    ASSERT_FALSE(hostCalls.empty());
    EXPECT_EQ(hostCalls.front().opcode, audioMasterBeginEdit);
    const auto idle = std::find_if(hostCalls.begin(), hostCalls.end(), [](const HostCall& call) {
      return call.opcode == audioMasterIdle;
    });
    ASSERT_NE(idle, hostCalls.end());
    if (c.opcode == effClose) {
      // A closed plug-in calls its host no more.
      EXPECT_EQ(idle + 1, hostCalls.end());
      record = nullptr;
    } else {
      EXPECT_EQ(hostCalls.back().opcode, audioMasterEndEdit);
      EXPECT_EQ(editor->openFrame(), nullptr);
      open();
      EXPECT_EQ(editor->openFrame()->getViewCount(), layout::controlCount);
    }
  }
}

TEST_F(DelayEditorTest, NonFiniteHostWritesAreDrawnOnceNotAtEveryIdle) {
  open();
  const float values[] = {std::nanf(""), INFINITY, -INFINITY};
  for (int32_t index : {TempoL, FeedBackR, NomorRev}) {
    for (float value : values) {
      SCOPED_TRACE("parameter " + std::to_string(index) + " value " + std::to_string(value));
      record->setParameter(record, index, value);
      dispatch(effEditIdle);
      EXPECT_FALSE(editor->controlFor(index)->isDirty());
      if (ValueDisplay* display = editor->displayFor(index)) {
        EXPECT_FALSE(display->isDirty());
      }
    }
  }
}

TEST_F(DelayEditorTest, IdlePumpKeepsCallingTheHostAcrossTheTickCountWrap) {
  struct Case {
    uint32_t first;
    uint32_t second;
    bool secondCallsHost;
  };
  const Case cases[] = {
      {0xFFFFFF00u, 0x00000008u, true},   // 264 ms later, after the wrap
      {0xFFFFFFF0u, 0x00000010u, false},  // 32 ms later: too early, sleeps only
      {0xFFFFFFC0u, 0x00000000u, true},   // 64 ms later: within the early window
      {0x7FFFFFF0u, 0x80000080u, true},   // across the sign bit
      {0x00000100u, 0x90000100u, true},   // not pumped for weeks
  };
  open();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.first) + " then " + std::to_string(c.second));
    auto idles = [] {
      return std::count_if(hostCalls.begin(), hostCalls.end(),
                           [](const HostCall& call) { return call.opcode == audioMasterIdle; });
    };
    headless::setTickCount(c.first);
    editor->idlePump();
    const auto before = idles();
    headless::setTickCount(c.second);
    editor->idlePump();
    EXPECT_EQ(idles() - before, c.secondCallsHost ? 1 : 0);
  }
}

TEST(DelayEditorAllocation, FailedEditorGivesNoRecordAndStaysFailedForTheModule) {
  // The failure flag lives as long as the module, so the check runs in a child process.
  EXPECT_EXIT(
      {
        setAllocationFailureHook(
            [](AllocationSite site) { return site == AllocationSite::editor; });
        const bool first = createPluginInstance(Host::callback()) == nullptr;
        setAllocationFailureHook(nullptr);
        const bool later = createPluginInstance(Host::callback()) == nullptr;
        std::exit(first && later && moduleState().editorAllocationFailed ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

// Compares the editor of program 0 with the committed reference: exact outside the display boxes,
// where only the face and the controls' images are drawn; a small tolerance inside them, where
// glyph shapes depend on the font rasteriser.
TEST_F(DelayEditorTest, ProgramZeroLooksLikeTheReferenceImage) {
  open();
  const std::string path = std::string(WRENFOLD_SOURCE_DIR) + "/tests/golden/editor-program0.png";
  cairo_surface_t* reference = cairo_image_surface_create_from_png(path.c_str());
  ASSERT_EQ(cairo_surface_status(reference), CAIRO_STATUS_SUCCESS) << path;
  ASSERT_EQ(cairo_image_surface_get_width(reference), 350);
  ASSERT_EQ(cairo_image_surface_get_height(reference), 430);
  cairo_surface_flush(reference);
  const unsigned char* data = cairo_image_surface_get_data(reference);
  const int stride = cairo_image_surface_get_stride(reference);

  std::vector<Rect> boxes;
  for (int32_t index = 0; index < parameterCountTotal; ++index)
    if (ValueDisplay* display = editor->displayFor(index)) {
      Rect bounds;
      display->getBounds(bounds);
      boxes.push_back(bounds);
    }
  int exactMismatches = 0;
  long textDifference = 0;
  for (int32_t y = 0; y < 430; ++y)
    for (int32_t x = 0; x < 350; ++x) {
      const uint32_t argb = reinterpret_cast<const uint32_t*>(data + y * stride)[x];
      const Color expected((argb >> 16) & 255, (argb >> 8) & 255, argb & 255);
      const Color actual = headless::windowPixel(window(), Point(x, y));
      const bool inBox = std::any_of(boxes.begin(), boxes.end(),
                                     [&](const Rect& r) { return r.contains(Point(x, y)); });
      if (!inBox) {
        exactMismatches += expected != actual ? 1 : 0;
      } else {
        textDifference += std::abs(expected.red - actual.red) +
                          std::abs(expected.green - actual.green) +
                          std::abs(expected.blue - actual.blue);
      }
    }
  cairo_surface_destroy(reference);
  EXPECT_EQ(exactMismatches, 0);
  // About a tenth of the ink of the display texts may differ.
  EXPECT_LT(textDifference, 40000);
}

}  // namespace
}  // namespace wrenfold
