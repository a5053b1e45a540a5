#include <gtest/gtest.h>

#include "gui/Bitmap.h"
#include "gui/MomentaryButton.h"
#include "gui/ToggleButton.h"
#include "support/ControlHarness.h"

namespace wrenfold {
namespace {

using testing::ControlEvent;
using testing::ControlHarness;

constexpr uint32_t left = leftButton;
constexpr Rect reverseArea(25, 300, 45, 327);
constexpr Rect clearArea(65, 300, 85, 327);
constexpr Point insideClear(75, 310);
constexpr Point outsideClear(75, 340);

class ButtonTest : public ::testing::Test {
 protected:
  void SetUp() override { face = new Bitmap(134); }
  void TearDown() override { face->release(); }
  bool skinLoaded() const { return face->getHeight() == 54; }

  ToggleButton* addToggle(float value, int32_t tag = 0) {
    ToggleButton* button = harness.add(new ToggleButton(reverseArea, &harness, tag, face));
    button->setValue(value);
    return button;
  }
  MomentaryButton* addMomentary(float value, Point imageOffset = Point(0, 0)) {
    MomentaryButton* button =
        harness.add(new MomentaryButton(clearArea, &harness, 1, 27, face, imageOffset));
    button->setValue(value);
    // Shown once, as the window's first paint would; a control never drawn counts 1 as clean.
    harness.drawNow(*button);
    return button;
  }
  // Returns the recorded events as short words: "begin", "end" or the reported value.
  std::vector<std::string> story() const {
    std::vector<std::string> words;
    for (const ControlEvent& event : harness.events()) {
      if (event.kind == ControlEvent::begin) {
        words.push_back("begin");
      } else if (event.kind == ControlEvent::end) {
        words.push_back("end");
      } else {
        words.push_back(std::to_string(static_cast<int>(event.value * 10)));
      }
    }
    return words;
  }

  ControlHarness harness;
  Bitmap* face = nullptr;
};

TEST_F(ButtonTest, ToggleFlipsOffAndHalfToOnAndOnToOff) {
  const struct {
    const char* name;
    float start;
    float expected;
  } cases[] = {
      {"off", 0.0f, 1.0f},        {"half", 0.5f, 1.0f},     {"almost on", 0.99f, 1.0f},
      {"on", 1.0f, 0.0f},         {"above on", 2.0f, 0.0f}, {"negative half", -0.5f, 1.0f},
      {"minus one", -1.0f, 0.0f},
  };
  ToggleButton* button = addToggle(0.0f);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    button->setValue(c.start);
    harness.clear();
    harness.gesture(left, {Point(30, 310)});
    EXPECT_FLOAT_EQ(button->getValue(), c.expected);
    ASSERT_EQ(harness.events().size(), 1u);
    EXPECT_EQ(harness.events()[0].kind, ControlEvent::change);
    EXPECT_TRUE(harness.events()[0].withContext);
  }
}

TEST_F(ButtonTest, ToggleReportsEvenWhenTheListenerSeesTheSameValueAgain) {
  ToggleButton* button = addToggle(0.5f, 2);
  harness.gesture(left, {Point(30, 310)});
  harness.drawNow(*button);
  button->setValue(0.5f);
  harness.drawNow(*button);
  harness.gesture(left, {Point(30, 310)});
  ASSERT_EQ(harness.events().size(), 2u);
  EXPECT_FLOAT_EQ(harness.events()[0].value, 1.0f);
  EXPECT_FLOAT_EQ(harness.events()[1].value, 1.0f);
  EXPECT_EQ(harness.events()[1].tag, 2);
}

TEST_F(ButtonTest, ToggleIgnoresOtherButtons) {
  ToggleButton* button = addToggle(0.0f);
  harness.gesture(rightButton, {Point(30, 310)});
  harness.gesture(middleButton, {Point(30, 310)});
  EXPECT_FLOAT_EQ(button->getValue(), 0.0f);
  EXPECT_TRUE(harness.events().empty());
}

TEST_F(ButtonTest, ToggleShowsTheUpperImageOnlyForZero) {
  ASSERT_TRUE(skinLoaded()) << "the skin bitmaps are not embedded";
  ToggleButton* button = addToggle(0.0f);
  const struct {
    float value;
    const char* expected;
  } cases[] = {
      {0.0f, "copy 25,300,45,327 from 0,0"},
      {0.5f, "copy 25,300,45,327 from 0,27"},
      {1.0f, "copy 25,300,45,327 from 0,27"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    button->setValue(c.value);
    EXPECT_EQ(harness.drawingOf(*button), std::vector<std::string>{c.expected});
    EXPECT_FALSE(button->isDirty());
  }
  button->setTransparent(true);
  EXPECT_EQ(harness.drawingOf(*button),
            std::vector<std::string>{"copyKeyed 25,300,45,327 from 0,27 key #ffffff"});
}

TEST_F(ButtonTest, MomentaryPressAndReleaseInsideReportsOneThenZeroAfterTheGesture) {
  addMomentary(0.0f);
  harness.gesture(left, {insideClear, insideClear});
  EXPECT_EQ(story(), (std::vector<std::string>{"begin", "10", "end", "0"}));
  EXPECT_EQ(harness.events()[0].tag, 1);
}

TEST_F(ButtonTest, MomentaryDraggedOutReportsTheEntryValueThenZeroAgain) {
  MomentaryButton* button = addMomentary(0.0f);
  harness.gesture(left, {insideClear, outsideClear});
  EXPECT_EQ(story(), (std::vector<std::string>{"begin", "10", "0", "end", "0"}));
  EXPECT_FLOAT_EQ(button->getValue(), 0.0f);

  harness.clear();
  harness.gesture(left, {insideClear, outsideClear, insideClear});
  EXPECT_EQ(story(), (std::vector<std::string>{"begin", "10", "0", "10", "end", "0"}));
}

TEST_F(ButtonTest, MomentaryPressedWhileLitReportsItsOppositeWhileOver) {
  addMomentary(1.0f);
  harness.gesture(left, {insideClear, outsideClear});
  EXPECT_EQ(story(), (std::vector<std::string>{"begin", "0", "10", "end", "0"}));
}

TEST_F(ButtonTest, MomentaryRepeatsItsValueWhenNotRedrawnBetweenPolls) {
  addMomentary(0.0f);
  harness.redrawOnChange = false;
  harness.gesture(left, {insideClear, insideClear, insideClear});
  EXPECT_EQ(story(), (std::vector<std::string>{"begin", "10", "10", "10", "10", "end", "0"}));
}

TEST_F(ButtonTest, MomentaryClickWithAModifierFlipsWithoutAGesture) {
  const struct {
    const char* name;
    uint32_t held;
  } cases[] = {
      {"shift", left | shiftKey},
      {"control", left | controlKey},
      {"right button too", left | rightButton},
  };
  MomentaryButton* button = addMomentary(0.0f);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    harness.clear();
    harness.gesture(c.held, {insideClear});
    EXPECT_EQ(story(), (std::vector<std::string>{"10", "0"}));
    EXPECT_FLOAT_EQ(button->getValue(), 0.0f);
  }
}

TEST_F(ButtonTest, MomentaryGestureEndsWhenAnythingButTheLeftButtonIsHeld) {
  addMomentary(0.0f);
  const uint32_t withShift = left | shiftKey;
  harness.script(left, insideClear,
                 {{withShift, insideClear}, {withShift, outsideClear}, {0, outsideClear}});
  EXPECT_EQ(story(), (std::vector<std::string>{"begin", "10", "end", "0"}));
}

TEST_F(ButtonTest, MomentaryDrawsThePressedImageBelowAndClampsFirst) {
  ASSERT_TRUE(skinLoaded()) << "the skin bitmaps are not embedded";
  MomentaryButton* button = addMomentary(0.0f, Point(0, 0));
  MomentaryButton* shifted = addMomentary(0.0f, Point(4, 2));
  const struct {
    const char* name;
    MomentaryButton* button;
    float value;
    const char* expected;
  } cases[] = {
      {"released", button, 0.0f, "copy 65,300,85,327 from 0,0"},
      {"pressed", button, 1.0f, "copy 65,300,85,327 from 0,27"},
      {"any non-zero value", button, 0.2f, "copy 65,300,85,327 from 0,27"},
      {"released, offset image", shifted, 0.0f, "copy 65,300,85,327 from 4,2"},
      {"pressed, offset image", shifted, 1.0f, "copy 65,300,85,327 from 4,29"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.button->setValue(c.value);
    EXPECT_EQ(harness.drawingOf(*c.button), std::vector<std::string>{c.expected});
  }
  button->setValue(3.0f);
  harness.drawNow(*button);
  EXPECT_FLOAT_EQ(button->getValue(), 1.0f);
  button->setValue(-2.0f);
  EXPECT_EQ(harness.drawingOf(*button), std::vector<std::string>{"copy 65,300,85,327 from 0,0"});
  EXPECT_FLOAT_EQ(button->getValue(), 0.0f);
}

}  // namespace
}  // namespace wrenfold
