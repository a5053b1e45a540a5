#include <gtest/gtest.h>

#include "gui/Bitmap.h"
#include "gui/Control.h"
#include "gui/Frame.h"
#include "support/TestViews.h"

namespace wrenfold {
namespace {

using testsupport::CountingControl;
using testsupport::ViewLog;

TEST(ControlTest, NewControlHasItsDesignedStartValuesAndIsDirty) {
  ViewLog log;
  CountingControl control(Rect(0, 0, 10, 10), log, nullptr, 7);
  EXPECT_EQ(control.getTag(), 7);
  EXPECT_EQ(control.getValue(), 0.0f);
  EXPECT_EQ(control.getOldValue(), 1.0f);
  EXPECT_EQ(control.getDefaultValue(), 0.5f);
  EXPECT_EQ(control.getMin(), 0.0f);
  EXPECT_EQ(control.getMax(), 1.0f);
  EXPECT_FLOAT_EQ(control.getWheelStep(), 0.1f);
  EXPECT_EQ(control.getBackground(), nullptr);
  EXPECT_EQ(control.getBackgroundOrigin(), Point(0, 0));
  EXPECT_TRUE(control.isDirty());
}

TEST(ControlTest, DrawMakesCleanUntilTheValueChangesOrARedrawIsAsked) {
  ViewLog log;
  CountingControl control(Rect(0, 0, 10, 10), log);
  control.draw(nullptr);
  EXPECT_FALSE(control.isDirty());
  control.setValue(0.25f);
  EXPECT_TRUE(control.isDirty());
  control.draw(nullptr);
  EXPECT_FALSE(control.isDirty());
  EXPECT_EQ(control.getOldValue(), 0.25f);
  control.setDirty(true);
  EXPECT_TRUE(control.isDirty());
  control.setDirty(false);
  EXPECT_FALSE(control.isDirty());
}

TEST(ControlTest, SetDirtyTrueMakesOldValueDifferEvenAtMinusOne) {
  ViewLog log;
  CountingControl control(Rect(), log);
  struct Case {
    float value;
    float expectedOld;
  };
  for (const Case& c : {Case{-1.0f, 0.0f}, Case{0.0f, -1.0f}, Case{0.7f, -1.0f}}) {
    SCOPED_TRACE(c.value);
    control.setValue(c.value);
    control.setDirty(true);
    EXPECT_EQ(control.getOldValue(), c.expectedOld);
    control.setDirty(false);
    EXPECT_FALSE(control.isDirty());
    // Only the flag keeps a control dirty once its old value matches.
    control.setOldValue(c.value);
    EXPECT_FALSE(control.isDirty());
  }
}

TEST(ControlTest, SetValueStoresOutOfRangeValuesAndOnlyClampValueBringsThemBack) {
  ViewLog log;
  CountingControl control(Rect(), log);
  control.setValue(3.0f);
  EXPECT_EQ(control.getValue(), 3.0f);
  control.clampValue();
  EXPECT_EQ(control.getValue(), 1.0f);
  control.setValue(-2.0f);
  control.clampValue();
  EXPECT_EQ(control.getValue(), 0.0f);
}

TEST(ControlTest, ClampValueTestsTheUpperBoundFirst) {
  ViewLog log;
  CountingControl control(Rect(), log);
  control.setMin(0.8f);
  control.setMax(0.2f);
  control.setValue(0.9f);
  control.clampValue();
  EXPECT_EQ(control.getValue(), 0.2f)
      << "above maximum becomes maximum even when minimum is larger";
  control.setValue(0.5f);
  control.clampValue();
  EXPECT_EQ(control.getValue(), 0.2f) << "below minimum but above maximum still takes maximum";
  control.setValue(0.1f);
  control.clampValue();
  EXPECT_EQ(control.getValue(), 0.8f);
}

TEST(ControlTest, BackgroundReferenceIsHeldWhileSetAndReleasedOnReplaceAndDestruction) {
  auto* first = new Bitmap(128);
  auto* second = new Bitmap(129);
  ViewLog log;
  auto* control = new CountingControl(Rect(), log, nullptr, 0, first);
  EXPECT_EQ(first->getRefCount(), 2);

  control->setBackground(second);
  EXPECT_EQ(first->getRefCount(), 1);
  EXPECT_EQ(second->getRefCount(), 2);

  control->setBackground(nullptr);
  EXPECT_EQ(second->getRefCount(), 1);
  EXPECT_EQ(control->getBackground(), nullptr);

  control->setBackground(first);
  control->release();
  EXPECT_EQ(log.destroyed, 1);
  EXPECT_EQ(first->getRefCount(), 1);
  first->release();
  second->release();
}

TEST(ControlTest, SettingTheSameBackgroundAgainKeepsTheOnlyReferenceAlive) {
  ViewLog log;
  CountingControl control(Rect(), log, nullptr, 0, new Bitmap(131));
  Bitmap* bitmap = control.getBackground();
  bitmap->release();  // the control now holds the only reference
  ASSERT_EQ(bitmap->getRefCount(), 1);
  control.setBackground(bitmap);
  EXPECT_EQ(control.getBackground(), bitmap);
  EXPECT_EQ(bitmap->getRefCount(), 1);
}

TEST(ControlTest, AlignBackgroundToPositionUsesTheTopLeftCorner) {
  ViewLog log;
  CountingControl control(Rect(25, 40, 55, 70), log);
  control.alignBackgroundToPosition();
  EXPECT_EQ(control.getBackgroundOrigin(), Point(25, 40));
  Point origin(3, 4);
  control.setBackgroundOrigin(origin);
  EXPECT_EQ(control.getBackgroundOrigin(), Point(3, 4));
}

TEST(ControlTest, IdlePumpDoesNothingWithoutAFrameOrWithoutAnEditor) {
  ViewLog log;
  auto* control = new CountingControl(Rect(), log);
  control->idlePump();
  Frame frame(Rect(0, 0, 100, 100), nullptr, nullptr);
  ASSERT_TRUE(frame.addView(control));
  control->idlePump();
  EXPECT_EQ(control->getEditor(), nullptr);
}

}  // namespace
}  // namespace wrenfold
