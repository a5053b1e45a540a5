#include <gtest/gtest.h>

#include "gui/Bitmap.h"
#include "gui/OffscreenContext.h"
#include "gui/Slider.h"
#include "gui/VerticalSlider.h"
#include "support/ControlHarness.h"

namespace wrenfold {
namespace {

using testing::ControlEvent;
using testing::ControlHarness;

constexpr float tolerance = 1e-5f;
constexpr uint32_t left = leftButton;
constexpr uint32_t shift = shiftKey;
// The editor's left dry slider: 20 × 180 at (80, 60), handle start from 60 to 230.
constexpr Rect trackArea(80, 60, 100, 240);
constexpr int32_t editorStyle = styleMinAtBottom;

class SliderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    track = new Bitmap(132);
    handle = new Bitmap(133);
  }
  void TearDown() override {
    track->release();
    handle->release();
  }
  bool skinLoaded() const { return handle->getWidth() == 20 && handle->getHeight() == 10; }

  // Makes a slider configured as the editor configures its sliders, attached to the frame.
  VerticalSlider* addEditorSlider(float value, int32_t tag = 10) {
    VerticalSlider* slider = harness.add(new VerticalSlider(
        trackArea, &harness, tag, 60, 230, handle, track, Point(0, 0), editorStyle));
    Point origin(0, 0);
    slider->setHandleOffset(origin);
    slider->setValue(value);
    return slider;
  }
  // Makes a 100-pixel horizontal slider at (10, 300) without a handle bitmap (1 × 1 handle).
  Slider* addHorizontalSlider(int32_t style, float value) {
    Slider* slider = harness.add(new Slider(Rect(10, 300, 110, 320), &harness, 3, 10, 90, nullptr,
                                            nullptr, Point(0, 0), style));
    slider->setValue(value);
    return slider;
  }

  ControlHarness harness;
  Bitmap* track = nullptr;
  Bitmap* handle = nullptr;
};

TEST_F(SliderTest, HandleOffsetMovesTheLimitsButANewHandleBitmapDoesNot) {
  ASSERT_TRUE(skinLoaded()) << "the skin bitmaps are not embedded";
  VerticalSlider* slider = addEditorSlider(1.0f);
  EXPECT_EQ(slider->getStyle(), styleMinAtBottom | styleVertical);
  Point offset(2, 5);
  slider->setHandleOffset(offset);
  EXPECT_EQ(slider->getMinPosition(), 5);
  EXPECT_EQ(slider->getMaxPosition(), 5 + 170 + 10);
  slider->setHandleBitmap(track);  // 20 × 180
  EXPECT_EQ(slider->getMaxPosition(), 185);
  EXPECT_EQ(slider->handleRect(), Rect(2, 5, 22, 185));
  EXPECT_EQ(track->getRefCount(), 3);
  EXPECT_EQ(handle->getRefCount(), 1);
}

TEST_F(SliderTest, HandleStaysInsideTheTrackForEveryValue) {
  ASSERT_TRUE(skinLoaded()) << "the skin bitmaps are not embedded";
  VerticalSlider* slider = addEditorSlider(0.0f);
  const struct {
    const char* name;
    float value;
    Rect expected;  // slider coordinates
  } cases[] = {
      {"maximum at the top", 1.0f, {0, 0, 20, 10}},
      {"minimum at the bottom", 0.0f, {0, 170, 20, 180}},
      {"middle", 0.5f, {0, 85, 20, 95}},
      {"above the maximum is raised to the top", 1.5f, {0, 0, 20, 10}},
      {"below the minimum is cut at the bottom", -0.5f, {0, 255, 20, 180}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    slider->setValue(c.value);
    EXPECT_EQ(slider->handleRect(), c.expected);
  }
}

TEST_F(SliderTest, DrawsTrackAndHandleThroughItsOffscreenInOneCopy) {
  ASSERT_TRUE(skinLoaded()) << "the skin bitmaps are not embedded";
  VerticalSlider* slider = addEditorSlider(1.0f);
  const std::vector<std::string> expected = {
      "copy 0,0,20,180 from 0,0",
      "copyKeyed 0,0,20,10 from 0,0 key #ffffff",
      "copy 80,60,100,240 from 0,0",
  };
  EXPECT_EQ(harness.drawingOf(*slider), expected);
  EXPECT_FALSE(slider->isDirty());
  // The window shows exactly what the offscreen holds.
  OffscreenContext* offscreen = slider->getOffscreen();
  for (Point p : {Point(10, 5), Point(3, 100), Point(19, 179)}) {
    EXPECT_EQ(headless::windowPixel(harness.window(), Point(80 + p.h, 60 + p.v)),
              headless::pixel(offscreen->getSurface(), p));
  }
  slider->setHandleTransparent(false);
  EXPECT_EQ(harness.drawingOf(*slider)[1], "copy 0,0,20,10 from 0,0");
}

TEST_F(SliderTest, OffscreenExistsOnlyWhileAttached) {
  Slider* slider =
      new Slider(Rect(10, 20, 40, 120), &harness, 3, 20, 100, nullptr, nullptr, Point(0, 0), 0);
  EXPECT_EQ(slider->getOffscreen(), nullptr);
  // Drawing a detached slider draws nothing and leaves it dirty.
  EXPECT_TRUE(harness.drawingOf(*slider).empty());
  EXPECT_TRUE(slider->isDirty());

  harness.frame()->addView(slider);
  ASSERT_NE(slider->getOffscreen(), nullptr);
  EXPECT_EQ(slider->getOffscreen()->getWidth(), 30);
  EXPECT_EQ(slider->getOffscreen()->getHeight(), 100);
  EXPECT_EQ(headless::pixel(slider->getOffscreen()->getSurface(), Point(5, 5)), blackColor);

  harness.frame()->removeView(slider, false);
  EXPECT_EQ(slider->getOffscreen(), nullptr);
  harness.frame()->addView(slider);
  EXPECT_NE(slider->getOffscreen(), nullptr);
  const std::size_t objectsWhileAttached = headless::liveObjectCount();
  harness.frame()->removeView(slider, false);
  EXPECT_LT(headless::liveObjectCount(), objectsWhileAttached);
  slider->release();
}

TEST_F(SliderTest, JumpToClickPutsTheHandleCentreUnderTheMouse) {
  ASSERT_TRUE(skinLoaded()) << "the skin bitmaps are not embedded";
  const struct {
    const char* name;
    int32_t y;
    float expected;
  } cases[] = {
      // Travel start 60, plus half the handle, minus 1: value 0, inverted by styleMinAtBottom.
      {"top of the travel", 64, 1.0f},
      {"bottom of the travel", 64 + 170, 0.0f},
      {"middle", 64 + 85, 0.5f},
      {"above the travel clamps", 60, 1.0f},
      {"below the travel clamps", 240, 0.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    VerticalSlider* slider = addEditorSlider(0.25f);
    harness.gesture(left, {Point(90, c.y)});
    EXPECT_NEAR(slider->getValue(), c.expected, tolerance);
    harness.frame()->removeView(slider, true);
  }
}

TEST_F(SliderTest, HorizontalSliderMapsTheMouseByItsOwnBits) {
  const struct {
    const char* name;
    int32_t style;
    int32_t x;
    float expected;
  } cases[] = {
      // Handle 1 × 1: the origin is the left edge plus 0 minus 1, the travel 80 pixels.
      {"min at left, left edge", styleHorizontal | styleMinAtLeft, 10, 1.0f / 80.0f},
      {"min at left, quarter", styleHorizontal | styleMinAtLeft, 29, 0.25f},
      {"min at right, quarter", styleHorizontal | styleMinAtRight, 29, 0.75f},
      {"min at right, right end", styleHorizontal | styleMinAtRight, 89, 0.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Slider* slider = addHorizontalSlider(c.style, 0.5f);
    harness.gesture(left, {Point(c.x, 310)});
    EXPECT_NEAR(slider->getValue(), c.expected, tolerance);
    harness.frame()->removeView(slider, true);
  }
}

TEST_F(SliderTest, WithoutJumpToClickOnlyTheHandleGripsAndKeepsItsGripPoint) {
  ASSERT_TRUE(skinLoaded()) << "the skin bitmaps are not embedded";
  VerticalSlider* slider = addEditorSlider(0.5f);  // handle rows 145..155 in the window
  slider->setJumpToClick(false);

  harness.gesture(left, {Point(90, 100), Point(90, 120)});
  EXPECT_FLOAT_EQ(slider->getValue(), 0.5f);
  EXPECT_TRUE(harness.events().empty());

  harness.gesture(left, {Point(90, 153), Point(90, 170)});
  EXPECT_NEAR(slider->getValue(), 0.4f, tolerance);
  EXPECT_EQ(harness.count(ControlEvent::begin), 1);
  EXPECT_EQ(harness.count(ControlEvent::end), 1);
}

TEST_F(SliderTest, ShiftMovesATenthAsFar) {
  ASSERT_TRUE(skinLoaded()) << "the skin bitmaps are not embedded";
  const struct {
    const char* name;
    uint32_t held;
    float expected;
  } cases[] = {
      {"plain", left, 0.5f - 17.0f / 170.0f},
      {"shift", left | shift, 0.5f - 1.7f / 170.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    VerticalSlider* slider = addEditorSlider(0.5f);
    harness.gesture(c.held, ControlHarness::straightPath(Point(90, 149), Point(90, 166), 17));
    EXPECT_NEAR(slider->getValue(), c.expected, tolerance);
    harness.frame()->removeView(slider, true);
  }
}

TEST_F(SliderTest, PressingShiftMidDragContinuesFromTheCurrentValue) {
  ASSERT_TRUE(skinLoaded()) << "the skin bitmaps are not embedded";
  VerticalSlider* slider = addEditorSlider(0.5f);
  harness.script(left, Point(90, 149),
                 {{left, Point(90, 132)},
                  {left, Point(90, 132)},
                  {left | shift, Point(90, 115)},
                  {left | shift, Point(90, 115)},
                  {0, Point(90, 115)}});
  // 17 pixels up plain (+0.1), then 17 more with shift (+0.01).
  EXPECT_NEAR(slider->getValue(), 0.61f, tolerance);
}

TEST_F(SliderTest, DragIsOneEditGestureAndTakesTheFocus) {
  ASSERT_TRUE(skinLoaded()) << "the skin bitmaps are not embedded";
  VerticalSlider* slider = addEditorSlider(0.5f, 11);
  harness.gesture(left, ControlHarness::straightPath(Point(90, 149), Point(90, 100), 7));
  const std::vector<ControlEvent>& events = harness.events();
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events.front().kind, ControlEvent::begin);
  EXPECT_EQ(events.front().tag, 11);
  EXPECT_EQ(events.back().kind, ControlEvent::end);
  EXPECT_EQ(harness.count(ControlEvent::change), static_cast<int>(events.size()) - 2);
  EXPECT_NEAR(slider->getValue(), 0.5f + 49.0f / 170.0f, tolerance);
  EXPECT_EQ(harness.frame()->getFocusedView(), slider);
}

TEST_F(SliderTest, ControlClickSetsTheDefaultWithoutAnEditGesture) {
  Slider* slider = addHorizontalSlider(styleHorizontal | styleMinAtLeft, 0.1f);
  harness.gesture(left | controlKey, {Point(80, 310), Point(100, 310)});
  EXPECT_FLOAT_EQ(slider->getValue(), 0.5f);
  ASSERT_EQ(harness.events().size(), 1u);
  EXPECT_EQ(harness.events()[0].kind, ControlEvent::change);
}

TEST_F(SliderTest, SliderWithoutTravelIgnoresDragsInsteadOfDividingByZero) {
  Slider* slider = harness.add(new Slider(Rect(10, 300, 110, 320), &harness, 3, 10, 10, nullptr,
                                          nullptr, Point(0, 0), styleHorizontal));
  slider->setValue(0.3f);
  harness.gesture(left, {Point(50, 310), Point(90, 310)});
  EXPECT_FLOAT_EQ(slider->getValue(), 0.3f);
  EXPECT_TRUE(harness.events().empty());
}

TEST_F(SliderTest, ArrowKeysAndWheelStepTheSlider) {
  Slider* slider = addHorizontalSlider(styleHorizontal | styleMinAtLeft, 0.5f);
  harness.drawNow(*slider);
  KeyCode upWithShift{0, 12, 1};
  EXPECT_EQ(slider->onKeyDown(upWithShift), 1);
  EXPECT_NEAR(slider->getValue(), 0.51f, tolerance);
  EXPECT_EQ(harness.count(ControlEvent::change), 1);
  EXPECT_FALSE(harness.events().back().withContext);

  KeyCode escape{0, 27, 0};
  EXPECT_EQ(slider->onKeyDown(escape), -1);
  EXPECT_NEAR(slider->getValue(), 0.51f, tolerance);

  harness.hover(Point(50, 310));
  EXPECT_TRUE(harness.editor->wheelTurned(-3.0f));
  EXPECT_NEAR(slider->getValue(), 0.21f, tolerance);
}

}  // namespace
}  // namespace wrenfold
