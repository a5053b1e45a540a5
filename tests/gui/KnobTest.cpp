#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "gui/Bitmap.h"
#include "gui/Knob.h"
#include "support/ControlHarness.h"

namespace wrenfold {
namespace {

using testing::ControlEvent;
using testing::ControlHarness;

constexpr float tolerance = 1e-5f;
constexpr Rect bigKnob(50, 50, 150, 150);  // radius 50, centre (100, 100) in the window
constexpr float sixth = 1.0f / 6.0f;

struct PointCase {
  const char* name;
  Point where;  // relative to the knob's top-left corner
  float expected;
};

std::unique_ptr<Knob, void (*)(Knob*)> makeKnob(Rect bounds, Bitmap* handle = nullptr) {
  return {new Knob(bounds, nullptr, 0, nullptr, handle, Point(0, 0)),
          [](Knob* knob) { knob->release(); }};
}

TEST(KnobGeometry, DefaultAnglesGrowClockwiseFromLowerLeftWithDeadZoneSplitAtTheBottom) {
  auto knob = makeKnob(Rect(0, 0, 100, 100));
  const PointCase cases[] = {
      {"straight above", {50, 10}, 0.5f},
      {"straight left", {10, 50}, sixth},
      {"straight right", {90, 50}, 1.0f - sixth},
      {"lower left at 225 degrees", {22, 78}, 0.0f},
      {"lower right at -45 degrees", {78, 78}, 1.0f},
      {"just left of straight down", {49, 90}, 0.0f},
      {"just right of straight down", {51, 90}, 1.0f},
      {"far outside the knob, above", {50, -400}, 0.5f},
  };
  for (const PointCase& c : cases) {
    SCOPED_TRACE(c.name);
    Point where = c.where;
    EXPECT_NEAR(knob->valueAtPoint(where), c.expected, tolerance);
  }
}

TEST(KnobGeometry, CounterClockwiseSweepMirrorsTheDeadZone) {
  auto knob = makeKnob(Rect(0, 0, 100, 100));
  knob->setMinAngle(5.4977871f);   // lower right
  knob->setSweepAngle(4.712389f);  // 270° counter-clockwise over the top
  const PointCase cases[] = {
      {"straight right", {90, 50}, sixth},
      {"straight above", {50, 10}, 0.5f},
      {"straight left", {10, 50}, 1.0f - sixth},
      {"just right of straight down", {51, 90}, 0.0f},
      {"just left of straight down", {49, 90}, 1.0f},
  };
  for (const PointCase& c : cases) {
    SCOPED_TRACE(c.name);
    Point where = c.where;
    EXPECT_NEAR(knob->valueAtPoint(where), c.expected, tolerance);
  }
}

TEST(KnobGeometry, RangeChangesTakeEffectOnlyAfterAnAngleSetter) {
  auto knob = makeKnob(Rect(0, 0, 100, 100));
  knob->setMax(3.0f);
  Point above(50, 10);
  // Still the old scale, counted down from the new maximum.
  EXPECT_NEAR(knob->valueAtPoint(above), 2.5f, tolerance);
  knob->setMinAngle(knob->getMinAngle());
  EXPECT_NEAR(knob->valueAtPoint(above), 1.5f, tolerance);
}

TEST(KnobGeometry, PointerPositionRoundsTheEndOfThePointer) {
  auto knob = makeKnob(Rect(0, 0, 30, 30));
  knob->setHandleInset(10);
  const struct {
    const char* name;
    float value;
    Point expected;
  } cases[] = {
      {"minimum at 225 degrees", 0.0f, {11, 19}},
      {"middle straight up", 0.5f, {15, 10}},
      {"maximum at -45 degrees", 1.0f, {19, 19}},
      {"not a number shows the minimum", std::nanf(""), {11, 19}},
      {"infinity shows the minimum", HUGE_VALF, {11, 19}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    knob->setValue(c.value);
    Point tip;
    knob->pointerPosition(tip);
    EXPECT_EQ(tip, c.expected);
  }
}

TEST(KnobGeometry, HandleBitmapSetsInsetFromItsWidthAndIsHeldByTheKnob) {
  Bitmap* handle = new Bitmap(131);
  if (handle->getWidth() == 0) {
    handle->release();
    FAIL() << "the handle bitmap is not embedded";
  }
  const int32_t expectedInset = static_cast<int32_t>(handle->getWidth() * 0.5f + 2.5f);
  {
    auto knob = makeKnob(Rect(0, 0, 30, 30), handle);
    EXPECT_EQ(knob->getHandleInset(), expectedInset);
    EXPECT_EQ(handle->getRefCount(), 2);
    knob->setHandleInset(10);
    knob->setHandleBitmap(nullptr);
    EXPECT_EQ(handle->getRefCount(), 1);
    EXPECT_EQ(knob->getHandleInset(), 10);
    knob->setHandleBitmap(handle);
    EXPECT_EQ(knob->getHandleInset(), expectedInset);
  }
  EXPECT_EQ(handle->getRefCount(), 1);
  handle->release();
}

class KnobTracking : public ::testing::Test {
 protected:
  Knob* addKnob(float value, int32_t tag = 6, Rect bounds = bigKnob) {
    Knob* knob = harness.add(new Knob(bounds, &harness, tag, nullptr, nullptr, Point(0, 0)));
    knob->setValue(value);
    return knob;
  }
  // Returns the point at `degrees` on a circle of 40 pixels around the big knob's centre.
  static Point onCircle(double degrees) {
    const double radians = degrees * 3.14159265358979 / 180.0;
    return Point(static_cast<int32_t>(std::lround(100 + 40 * std::cos(radians))),
                 static_cast<int32_t>(std::lround(100 - 40 * std::sin(radians))));
  }

  ControlHarness harness;
};

TEST_F(KnobTracking, CircularDragThroughTheDeadZonePinsAtTheEndItCameFrom) {
  const struct {
    const char* name;
    std::vector<double> degrees;  // from the start through the dead zone (-45..-135) and beyond
    float pinned;
  } cases[] = {
      {"from the maximum side", {-30, -60, -80, -100, -120, -150, -170}, 1.0f},
      {"from the minimum side", {-150, -120, -100, -80, -60, -30, -10}, 0.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Knob* knob = addKnob(0.5f);
    harness.clear();
    std::vector<Point> path;
    for (double d : c.degrees) path.push_back(onCircle(d));
    harness.gesture(leftButton, path);
    EXPECT_FLOAT_EQ(knob->getValue(), c.pinned);
    const std::vector<float> values = harness.values();
    ASSERT_FALSE(values.empty());
    EXPECT_FLOAT_EQ(values.back(), c.pinned);
    for (float v : values) EXPECT_NEAR(v, c.pinned, 0.1f);
    harness.frame()->removeView(knob, true);
  }
}

TEST_F(KnobTracking, CircularDragLeavesThePinWhenItReturnsNearTheLastValue) {
  Knob* knob = addKnob(0.5f);
  harness.gesture(leftButton, {onCircle(-30), onCircle(-100), onCircle(-150), onCircle(-100),
                               onCircle(-20), onCircle(90)});
  EXPECT_NEAR(knob->getValue(), 0.5f, 0.01f);
}

TEST_F(KnobTracking, LinearDragMovesHalfTheRangePerHundredPixelsAndAThirdWithShift) {
  const uint32_t left = leftButton;
  const struct {
    const char* name;
    int32_t knobMode;
    uint32_t held;
    Point end;  // from the click at the knob's centre
    float expected;
  } cases[] = {
      {"mode 2, right", linearKnobMode, left, {200, 100}, 0.7f},
      {"mode 2, up", linearKnobMode, left, {100, 0}, 0.7f},
      {"mode 2, left past the start", linearKnobMode, left, {40, 100}, 0.0f},
      {"mode 2, half right half up", linearKnobMode, left, {150, 50}, 0.7f},
      {"mode 2, down", linearKnobMode, left, {100, 140}, 0.0f},
      {"mode 2, shift right", linearKnobMode, left | shiftKey, {200, 100}, 0.2f + 1.0f / 3.0f},
      {"mode 0, alt right", 0, left | altKey, {200, 100}, 0.7f},
      {"mode 0, alt and shift right", 0, left | altKey | shiftKey, {200, 100}, 0.2f + 1.0f / 3.0f},
      {"mode 2, right past the end", linearKnobMode, left, {300, 100}, 1.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    harness.editor->changeKnobMode(c.knobMode);
    Knob* knob = addKnob(0.2f);
    harness.gesture(c.held, ControlHarness::straightPath(Point(100, 100), c.end, 10));
    EXPECT_NEAR(knob->getValue(), c.expected, tolerance);
    harness.frame()->removeView(knob, true);
  }
}

TEST_F(KnobTracking, AltInLinearModeDragsCircularly) {
  harness.editor->changeKnobMode(linearKnobMode);
  Knob* knob = addKnob(0.2f);
  harness.gesture(leftButton | altKey, {onCircle(180), onCircle(135), onCircle(90)});
  EXPECT_NEAR(knob->getValue(), 0.5f, 0.01f);
}

TEST_F(KnobTracking, PressingShiftMidDragKeepsTheValueAndContinuesAtTheFinerStep) {
  harness.editor->changeKnobMode(linearKnobMode);
  Knob* knob = addKnob(0.2f);
  const uint32_t left = leftButton;
  const uint32_t fine = left | shiftKey;
  harness.script(left, Point(100, 100),
                 {{left, Point(150, 100)},
                  {fine, Point(180, 100)},
                  {fine, Point(210, 100)},
                  {0, Point(210, 100)}});
  const std::vector<float> values = harness.values();
  // The first value is the unchanged start; shift is seen first while the cursor is still at 150.
  ASSERT_EQ(values.size(), 4u);
  EXPECT_NEAR(values[1], 0.45f, tolerance);
  EXPECT_NEAR(values[2], 0.55f, tolerance);
  EXPECT_NEAR(values[3], 0.65f, tolerance);
  EXPECT_NEAR(knob->getValue(), 0.65f, tolerance);
}

TEST_F(KnobTracking, DragIsOneEditGestureAroundItsChangesAndTakesTheFocus) {
  harness.editor->changeKnobMode(linearKnobMode);
  Knob* knob = addKnob(0.2f, 9);
  harness.gesture(leftButton, ControlHarness::straightPath(Point(100, 100), Point(100, 60), 4));
  const std::vector<ControlEvent>& events = harness.events();
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events.front().kind, ControlEvent::begin);
  EXPECT_EQ(events.front().tag, 9);
  EXPECT_EQ(events.back().kind, ControlEvent::end);
  EXPECT_EQ(events.back().tag, 9);
  EXPECT_EQ(harness.count(ControlEvent::begin), 1);
  EXPECT_EQ(harness.count(ControlEvent::end), 1);
  for (std::size_t i = 1; i + 1 < events.size(); ++i) {
    EXPECT_EQ(events[i].kind, ControlEvent::change);
    EXPECT_TRUE(events[i].withContext);
  }
  EXPECT_EQ(harness.frame()->getFocusedView(), knob);
}

TEST_F(KnobTracking, UnchangedValueDuringADragIsNotReported) {
  harness.editor->changeKnobMode(linearKnobMode);
  Knob* knob = addKnob(1.0f);
  harness.drawNow(*knob);
  harness.gesture(leftButton, ControlHarness::straightPath(Point(100, 100), Point(200, 100), 5));
  EXPECT_EQ(harness.count(ControlEvent::change), 0);
  EXPECT_EQ(harness.count(ControlEvent::begin), 1);
}

TEST_F(KnobTracking, ControlClickSetsTheDefaultWithoutAnEditGesture) {
  Knob* knob = addKnob(0.2f);
  knob->setDefaultValue(0.75f);
  harness.gesture(leftButton | controlKey,
                  ControlHarness::straightPath(Point(100, 100), Point(140, 100), 4));
  EXPECT_FLOAT_EQ(knob->getValue(), 0.75f);
  ASSERT_EQ(harness.events().size(), 1u);
  EXPECT_EQ(harness.events()[0].kind, ControlEvent::change);
  EXPECT_FLOAT_EQ(harness.events()[0].value, 0.75f);
}

TEST_F(KnobTracking, RightButtonOrDisabledMouseStartsNothing) {
  Knob* knob = addKnob(0.2f);
  harness.gesture(rightButton, {Point(100, 60), Point(140, 100)});
  EXPECT_FLOAT_EQ(knob->getValue(), 0.2f);
  knob->setMouseEnabled(false);
  DrawContext context(harness.frame(), nullptr, nullptr);
  harness.hover(Point(100, 60), leftButton);
  Point where(100, 60);
  knob->onMouseDown(&context, where);
  EXPECT_FLOAT_EQ(knob->getValue(), 0.2f);
  EXPECT_TRUE(harness.events().empty());
}

TEST_F(KnobTracking, ArrowKeysStepTheFocusedKnobByTheWheelStep) {
  const struct {
    const char* name;
    uint8_t key;
    uint8_t modifier;
    float start;
    int32_t answer;
    float expected;
  } cases[] = {
      {"up", 12, 0, 0.5f, 1, 0.6f},
      {"right", 13, 0, 0.5f, 1, 0.6f},
      {"down", 14, 0, 0.5f, 1, 0.4f},
      {"left", 11, 0, 0.5f, 1, 0.4f},
      {"up with shift", 12, 1, 0.5f, 1, 0.51f},
      {"down with shift", 14, 1, 0.5f, 1, 0.49f},
      {"up at the top clamps", 12, 0, 0.95f, 1, 1.0f},
      {"down at the bottom clamps", 14, 0, 0.05f, 1, 0.0f},
      {"a key that is no arrow", 20, 0, 0.5f, -1, 0.5f},
  };
  Knob* knob = addKnob(0.5f, 6);
  // Without the focus, keys would go to this knob, added last.
  Knob* other = addKnob(0.5f, 7, Rect(200, 50, 300, 150));
  harness.gesture(leftButton, {Point(100, 100)});
  ASSERT_EQ(harness.frame()->getFocusedView(), knob);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    knob->setValue(c.start);
    harness.drawNow(*knob);
    harness.clear();
    KeyCode key{0, c.key, c.modifier};
    EXPECT_EQ(harness.editor->keyPressed(key), c.answer);
    EXPECT_NEAR(knob->getValue(), c.expected, tolerance);
    if (c.answer == 1) {
      ASSERT_EQ(harness.events().size(), 1u);
      EXPECT_FALSE(harness.events()[0].withContext);
      EXPECT_EQ(harness.events()[0].tag, 6);
    } else {
      EXPECT_TRUE(harness.events().empty());
    }
  }
  EXPECT_FLOAT_EQ(other->getValue(), 0.5f);
}

TEST_F(KnobTracking, WheelStepsTheKnobUnderTheCursor) {
  Knob* knob = addKnob(0.5f);
  const struct {
    const char* name;
    uint32_t held;
    float distance;
    float expected;
  } cases[] = {
      {"two notches up", 0, 2.0f, 0.7f},
      {"one notch down", 0, -1.0f, 0.4f},
      {"two notches with shift", shiftKey, 2.0f, 0.52f},
      {"far past the end", 0, 30.0f, 1.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    knob->setValue(0.5f);
    harness.hover(Point(120, 120), c.held);
    EXPECT_TRUE(harness.editor->wheelTurned(c.distance));
    EXPECT_NEAR(knob->getValue(), c.expected, tolerance);
  }
  knob->setMouseEnabled(false);
  knob->setValue(0.5f);
  EXPECT_FALSE(harness.editor->wheelTurned(1.0f));
  EXPECT_FLOAT_EQ(knob->getValue(), 0.5f);
}

TEST_F(KnobTracking, DrawsShadowAndPointerLinesWithoutAHandleBitmap) {
  Knob* knob = addKnob(0.5f);
  knob->setHandleColor(yellowColor);
  // Straight up: the pointer ends at (50, 3) in the knob, the centre is (100, 100) in the window.
  const std::vector<std::string> expected = {
      "line 99,53 99,100 #7f7f7f solid",
      "line 100,52 100,99 #ffff00 solid",
  };
  EXPECT_EQ(harness.drawingOf(*knob), expected);
  EXPECT_FALSE(knob->isDirty());
  EXPECT_EQ(headless::windowPixel(harness.window(), Point(100, 60)), yellowColor);
  EXPECT_EQ(headless::windowPixel(harness.window(), Point(99, 60)), greyColor);
}

TEST_F(KnobTracking, DrawsBodyThenHandleBitmapCentredOnThePointer) {
  Bitmap* body = new Bitmap(130);
  Bitmap* handle = new Bitmap(131);
  if (body->getWidth() != 30 || handle->getWidth() != 6 || handle->getHeight() != 6) {
    body->release();
    handle->release();
    FAIL() << "the skin bitmaps are not embedded";
  }
  Knob* knob = harness.add(new Knob(Rect(25, 55, 55, 85), &harness, 6, body, handle, Point(0, 0)));
  knob->setHandleInset(10);
  knob->setValue(0.5f);
  body->release();
  handle->release();
  // Pointer end (15, 10) in the knob; the 6 × 6 dot's top-left is 3 pixels up and left of it.
  const std::vector<std::string> expected = {
      "copy 25,55,55,85 from 0,0",
      "copyKeyed 37,62,43,68 from 0,0 key #ffffff",
  };
  EXPECT_EQ(harness.drawingOf(*knob), expected);
  knob->setTransparent(true);
  EXPECT_EQ(harness.drawingOf(*knob).front(), "copyKeyed 25,55,55,85 from 0,0 key #ffffff");
}

}  // namespace
}  // namespace wrenfold
