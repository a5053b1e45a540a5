#include <gtest/gtest.h>

#include <cstring>

#include "gui/View.h"
#include "support/TestViews.h"

namespace wrenfold {
namespace {

using testsupport::CountingView;
using testsupport::ViewLog;

TEST(ViewTest, NewViewHasOneReferenceIsCleanEnabledOpaqueAndDetached) {
  ViewLog log;
  auto* view = new CountingView(Rect(1, 2, 3, 4), log);
  EXPECT_EQ(view->getRefCount(), 1);
  EXPECT_FALSE(view->isDirty());
  EXPECT_TRUE(view->isMouseEnabled());
  EXPECT_FALSE(view->isTransparent());
  EXPECT_EQ(view->frame(), nullptr);
  EXPECT_EQ(view->parent(), nullptr);
  EXPECT_EQ(view->getEditor(), nullptr);
  Rect area;
  view->getMouseArea(area);
  EXPECT_EQ(area, Rect(1, 2, 3, 4));
  view->release();
}

TEST(ViewTest, ReleaseFromOneDestroysExactlyOnce) {
  ViewLog log;
  auto* view = new CountingView(Rect(), log);
  view->addRef();
  view->release();
  EXPECT_EQ(log.destroyed, 0);
  EXPECT_EQ(view->getRefCount(), 1);
  view->release();
  EXPECT_EQ(log.destroyed, 1);
}

TEST(ViewTest, ReleaseAtZeroOrBelowDoesNothing) {
  ViewLog log;
  CountingView view(Rect(), log);
  for (int32_t count : {0, -3}) {
    SCOPED_TRACE(count);
    view.forceRefCount(count);
    view.release();
    EXPECT_EQ(view.getRefCount(), count);
    EXPECT_EQ(log.destroyed, 0);
  }
  view.forceRefCount(1);
}

TEST(ViewTest, HitTestIncludesTheRightAndBottomEdgesOnly) {
  ViewLog log;
  CountingView view(Rect(10, 10, 20, 20), log);
  struct Case {
    Point p;
    bool hit;
  };
  const Case cases[] = {
      {{20, 20}, true}, {{10, 10}, true}, {{21, 15}, false}, {{15, 21}, false}, {{9, 15}, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.p.h << "," << c.p.v);
    Point p = c.p;
    EXPECT_EQ(view.hitTest(p, 0), c.hit);
    EXPECT_EQ(view.hitTest(p, -1), c.hit) << "buttons are ignored";
  }
}

TEST(ViewTest, SetBoundsMarksDirtyButSetMouseAreaChangesNeitherDirtNorHitTesting) {
  ViewLog log;
  CountingView view(Rect(0, 0, 10, 10), log);
  view.setMouseArea(Rect(100, 100, 200, 200));
  EXPECT_FALSE(view.isDirty());
  Point inside(5, 5);
  Point inMouseArea(150, 150);
  EXPECT_TRUE(view.hitTest(inside, 0));
  EXPECT_FALSE(view.hitTest(inMouseArea, 0));
  Rect area;
  view.getMouseArea(area);
  EXPECT_EQ(area, Rect(100, 100, 200, 200));

  view.setBounds(Rect(50, 50, 60, 60));
  EXPECT_TRUE(view.isDirty());
  Rect bounds;
  view.getBounds(bounds);
  EXPECT_EQ(bounds, Rect(50, 50, 60, 60));
}

TEST(ViewTest, UpdateDrawsOnlyWhenDirtyAndLeavesTheViewClean) {
  ViewLog log;
  CountingView view(Rect(0, 0, 10, 10), log);
  view.update(nullptr);
  EXPECT_EQ(log.draws, 0);
  view.setDirty(true);
  view.update(nullptr);
  EXPECT_EQ(log.draws, 1);
  EXPECT_FALSE(view.isDirty());
  view.update(nullptr);
  EXPECT_EQ(log.draws, 1);
}

TEST(ViewTest, DrawClearsAPendingRedrawRequest) {
  ViewLog log;
  CountingView view(Rect(0, 0, 10, 10), log);
  view.setDirty(true);
  view.drawArea(nullptr, Rect(0, 0, 1, 1));
  EXPECT_EQ(log.areaDraws, 1);
  EXPECT_EQ(log.draws, 1);
  EXPECT_FALSE(view.isDirty());
}

TEST(ViewTest, BaseOperationsAnswerTheirNotHandledDefaults) {
  View* view = new View(Rect(0, 0, 10, 10));
  KeyCode key{0, 0, 0};
  Point where(1, 1);
  EXPECT_EQ(view->notify(view, kMsgCheckIfViewContainer), 0);
  EXPECT_EQ(view->onKeyDown(key), -1);
  EXPECT_EQ(view->onKeyUp(key), -1);
  EXPECT_FALSE(view->onDrop(nullptr, 0, dropText, where));
  EXPECT_FALSE(view->onWheel(nullptr, where, 1.0f));
  EXPECT_TRUE(view->onAttached(nullptr));
  EXPECT_TRUE(view->onRemoved(nullptr));
  EXPECT_TRUE(view->overlaps(Rect(10, 10, 20, 20)));
  EXPECT_FALSE(view->overlaps(Rect(11, 0, 20, 20)));
  view->loseFocus(nullptr);
  view->takeFocus(nullptr);
  view->onMouseDown(nullptr, where);
  view->release();
}

}  // namespace
}  // namespace wrenfold
