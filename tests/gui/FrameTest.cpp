#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/Allocation.h"
#include "base/ModuleHandle.h"
#include "base/ModuleState.h"
#include "editor/Skin.h"
#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/Frame.h"
#include "gui/platform/headless/HeadlessControl.h"
#include "gui/platform/platform.h"
#include "support/TestViews.h"

namespace wrenfold {
namespace {

using testsupport::CountingControl;
using testsupport::CountingView;
using testsupport::ViewLog;

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::reset();
    objectsBefore = headless::liveObjectCount();
    windowsBefore = headless::liveWindowCount();
    host = headless::createHostWindow(Rect(100, 50, 600, 650));
  }
  void TearDown() override {
    headless::destroyHostWindow(host);
    setAllocationFailureHook(nullptr);
    EXPECT_EQ(headless::liveWindowCount(), windowsBefore);
    EXPECT_EQ(headless::liveObjectCount(), objectsBefore) << "surfaces or drawing objects leaked";
    EXPECT_EQ(headless::displayConnectionDepth(), 0);
    headless::reset();
  }

  // Makes a frame of 200 × 100 inside the host window.
  Frame* makeFrame() { return new Frame(Rect(0, 0, 200, 100), host, nullptr); }

  // Handles every pending paint request.
  static void paintAll() {
    while (platform::dispatchOnePendingPaint()) {
    }
  }

  std::size_t objectsBefore = 0;
  std::size_t windowsBefore = 0;
  platform::Window* host = nullptr;
};

TEST_F(FrameTest, CreatesAVisibleChildWindowTitledWindow) {
  Frame* frame = makeFrame();
  platform::Window* window = frame->getWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(headless::windowTitle(window), "Window");
  EXPECT_EQ(platform::windowScreenRect(window), Rect(100, 50, 300, 150));
  EXPECT_TRUE(headless::isDropTarget(window));
  EXPECT_TRUE(frame->isDropRegistered());
  EXPECT_TRUE(frame->isFirstDrawPending());
  EXPECT_EQ(headless::childWindows(host), std::vector<platform::Window*>{window});
  delete frame;
  EXPECT_FALSE(headless::isLiveWindow(window));
}

// The window class that two frames share on Windows is checked by the Win32 host test.
TEST_F(FrameTest, TwoFramesShareTheWindowSystemAndTheLastOneGivesItBack) {
  Frame* first = makeFrame();
  Frame* second = makeFrame();
  EXPECT_EQ(headless::displayConnectionDepth(), 2);
  EXPECT_EQ(headless::childWindows(host).size(), 2u);
  delete first;
  EXPECT_EQ(headless::displayConnectionDepth(), 1);
  EXPECT_EQ(headless::childWindows(host), std::vector<platform::Window*>{second->getWindow()});
  delete second;
  EXPECT_EQ(headless::displayConnectionDepth(), 0);
}

TEST_F(FrameTest, WithoutAParentThereIsNoWindowButTheFrameStillWorks) {
  ViewLog log;
  Frame frame(Rect(0, 0, 50, 50), nullptr, nullptr);
  EXPECT_EQ(frame.getWindow(), nullptr);
  EXPECT_FALSE(frame.isDropRegistered());
  EXPECT_TRUE(headless::childWindows(host).empty());
  EXPECT_TRUE(frame.addView(new CountingView(Rect(0, 0, 10, 10), log)));
  frame.redrawDirtyViews();
  EXPECT_EQ(log.draws, 0);
  Point where(5, 5);
  frame.onMouseDown(nullptr, where);
  EXPECT_EQ(log.clicks, 1) << "a null context counts as every button held";
}

TEST_F(FrameTest, FirstPaintDrawsBackgroundAndViewsAndIdleRedrawsOnlyAfterIt) {
  Frame* frame = makeFrame();
  ViewLog log;
  auto* view = new CountingView(Rect(10, 10, 20, 20), log);
  frame->addView(view);
  view->setDirty(true);
  frame->redrawDirtyViews();
  EXPECT_EQ(log.draws, 0) << "nothing is drawn before the first paint";

  paintAll();
  EXPECT_FALSE(frame->isFirstDrawPending());
  EXPECT_EQ(log.areaDraws, 1);
  EXPECT_FALSE(view->isDirty());

  view->setDirty(true);
  frame->redrawDirtyViews();
  EXPECT_EQ(log.draws, 2);
  frame->redrawDirtyViews();
  EXPECT_EQ(log.draws, 2) << "clean views are not drawn again";
  delete frame;
}

TEST_F(FrameTest, PaintDrawsTheBackgroundOpaqueOverThePaintedArea) {
  Frame* frame = makeFrame();
  auto* background = new Bitmap(128);
  frame->setBackground(background);
  EXPECT_EQ(background->getRefCount(), 2);
  paintAll();
  platform::Surface* reference =
      headless::createSurface(skin::editorWidth, skin::editorHeight, blackColor);
  {
    DrawContext context(nullptr, reference, nullptr);
    background->draw(&context, Rect(0, 0, skin::editorWidth, skin::editorHeight), Point());
  }
  for (Point p : {Point(0, 0), Point(199, 99), Point(120, 40), Point(37, 81)}) {
    SCOPED_TRACE(::testing::Message() << p.h << "," << p.v);
    EXPECT_EQ(headless::windowPixel(frame->getWindow(), p), headless::pixel(reference, p));
  }
  platform::destroySurface(reference);
  delete frame;
  EXPECT_EQ(background->getRefCount(), 1) << "the frame gave its reference back";
  background->release();
}

TEST_F(FrameTest, PartialPaintDrawsOnlyViewsOverlappingTheArea) {
  Frame* frame = makeFrame();
  ViewLog inside, outside;
  frame->addView(new CountingView(Rect(10, 10, 20, 20), inside));
  frame->addView(new CountingView(Rect(100, 10, 120, 20), outside));
  paintAll();
  const Rect area(0, 0, 20, 10);  // touches the first view's top edge only
  platform::invalidateWindow(frame->getWindow(), &area);
  paintAll();
  EXPECT_EQ(inside.areaDraws, 2);
  EXPECT_EQ(outside.areaDraws, 1);
  delete frame;
}

TEST_F(FrameTest, ClickGoesToTheLastAddedEnabledViewUnderThePoint) {
  Frame* frame = makeFrame();
  ViewLog bottom, middle, top;
  frame->addView(new CountingView(Rect(0, 0, 50, 50), bottom));
  frame->addView(new CountingView(Rect(10, 10, 50, 50), middle));
  auto* disabled = new CountingView(Rect(10, 10, 50, 50), top);
  frame->addView(disabled);
  disabled->setMouseEnabled(false);

  headless::setInput({leftButton, Point(120, 70)});
  headless::clickWindow(frame->getWindow(), Point(20, 20));
  EXPECT_EQ(top.clicks, 0) << "a disabled view is skipped";
  EXPECT_EQ(middle.clicks, 1);
  EXPECT_EQ(bottom.clicks, 0) << "only one view is asked";
  EXPECT_EQ(middle.lastWhere, Point(20, 20));
  EXPECT_NE(middle.lastContext, nullptr);

  headless::clickWindow(frame->getWindow(), Point(5, 5));
  EXPECT_EQ(bottom.clicks, 1);
  headless::clickWindow(frame->getWindow(), Point(50, 50));
  EXPECT_EQ(middle.clicks, 2) << "the right and bottom edges hit";
  delete frame;
}

TEST_F(FrameTest, ClickOnNoViewStillClearsTheFocusView) {
  Frame* frame = makeFrame();
  ViewLog log;
  auto* view = new CountingView(Rect(0, 0, 10, 10), log);
  frame->addView(view);
  frame->setFocusedView(view);
  headless::clickWindow(frame->getWindow(), Point(150, 80));
  EXPECT_EQ(frame->getFocusedView(), nullptr);
  EXPECT_EQ(log.focusLosses, 1);
  EXPECT_EQ(log.clicks, 0);
  delete frame;
}

TEST_F(FrameTest, SetFocusedViewStoresTheNewViewBeforeThePreviousLosesFocus) {
  Frame* frame = makeFrame();
  std::vector<std::string> order;
  ViewLog a, b;
  a.order = &order;
  b.order = &order;
  auto* first = new CountingView(Rect(), a, "first");
  auto* second = new CountingView(Rect(), b, "second");
  frame->addView(first);
  frame->addView(second);
  frame->setFocusedView(first);
  EXPECT_TRUE(order.empty()) << "the new view is not told";
  frame->setFocusedView(second);
  EXPECT_EQ(order, std::vector<std::string>{"first loseFocus"});
  EXPECT_EQ(frame->getFocusedView(), second);
  delete frame;
}

TEST_F(FrameTest, KeysGoToTheFocusViewFirstThenFromTheLastAddedView) {
  Frame* frame = makeFrame();
  std::vector<std::string> order;
  ViewLog a, b, c;
  a.order = b.order = c.order = &order;
  auto* first = new CountingView(Rect(), a, "first");
  auto* second = new CountingView(Rect(), b, "second");
  auto* third = new CountingView(Rect(), c, "third");
  frame->addView(first);
  frame->addView(second);
  frame->addView(third);
  KeyCode key{0, 1, 0};

  EXPECT_EQ(frame->onKeyDown(key), -1);
  EXPECT_EQ(order, (std::vector<std::string>{"third keyDown", "second keyDown", "first keyDown"}));

  order.clear();
  first->keyAnswer = 1;
  frame->setFocusedView(first);
  EXPECT_EQ(frame->onKeyUp(key), 1);
  EXPECT_EQ(order, std::vector<std::string>{"first keyUp"});

  order.clear();
  first->keyAnswer = -1;
  second->keyAnswer = 0;
  EXPECT_EQ(frame->onKeyDown(key), 0);
  EXPECT_EQ(order, (std::vector<std::string>{"first keyDown", "third keyDown", "second keyDown"}));
  delete frame;
}

TEST_F(FrameTest, DropsAreRefusedWhileAViewHasTheFocusAndOfferedUnderThePointOtherwise) {
  Frame* frame = makeFrame();
  ViewLog under, disabledLog, away;
  auto* target = new CountingView(Rect(0, 0, 40, 40), under);
  target->dropAnswer = true;
  auto* disabled = new CountingView(Rect(0, 0, 40, 40), disabledLog);
  disabled->dropAnswer = true;
  auto* elsewhere = new CountingView(Rect(100, 0, 140, 40), away);
  elsewhere->dropAnswer = true;
  frame->addView(target);
  frame->addView(disabled);
  frame->addView(elsewhere);
  disabled->setMouseEnabled(false);
  char text[] = "hello";
  void* items[] = {text};

  EXPECT_TRUE(headless::dropOnWindow(frame->getWindow(), items, 5, dropText, Point(40, 40)));
  EXPECT_EQ(under.lastWhere, Point(40, 40));

  target->dropAnswer = false;
  EXPECT_FALSE(headless::dropOnWindow(frame->getWindow(), items, 5, dropText, Point(20, 20)))
      << "a view that refuses passes the drop on, but not to a disabled one or one elsewhere";

  target->dropAnswer = true;
  frame->setFocusedView(target);
  EXPECT_FALSE(headless::dropOnWindow(frame->getWindow(), items, 5, dropText, Point(20, 20)));
  delete frame;
}

TEST_F(FrameTest, WheelGoesToTheViewUnderTheCursorWithWindowRelativeCoordinates) {
  Frame* frame = makeFrame();
  ViewLog below, above, disabledLog;
  frame->addView(new CountingView(Rect(0, 0, 60, 60), below));
  frame->addView(new CountingView(Rect(30, 30, 60, 60), above));
  auto* disabled = new CountingView(Rect(150, 0, 190, 40), disabledLog);
  frame->addView(disabled);
  disabled->setMouseEnabled(false);

  headless::setInput({0, Point(100 + 40, 50 + 45)});
  Point where(0, 0);
  EXPECT_TRUE(frame->onWheel(nullptr, where, 2.0f));
  EXPECT_EQ(above.wheels, 1);
  EXPECT_EQ(above.lastWheel, 2.0f);
  EXPECT_EQ(above.lastWhere, Point(40, 45));
  EXPECT_NE(above.lastContext, nullptr) << "a context is made for the call";
  EXPECT_EQ(below.wheels, 0);

  headless::setInput({0, Point(100 + 160, 50 + 10)});
  EXPECT_TRUE(frame->onWheel(nullptr, where, -1.0f));
  EXPECT_EQ(disabledLog.wheels, 1) << "the view under the cursor need not be mouse-enabled";

  headless::setInput({0, Point(100 + 120, 50 + 90)});
  EXPECT_FALSE(frame->onWheel(nullptr, where, 1.0f));
  delete frame;
}

TEST_F(FrameTest, RemoveViewKeepsOrderAndIgnoresStrangers) {
  Frame* frame = makeFrame();
  ViewLog a, b, c, stranger;
  auto* first = new CountingView(Rect(), a);
  auto* second = new CountingView(Rect(), b);
  auto* third = new CountingView(Rect(), c);
  frame->addView(first);
  frame->addView(second);
  frame->addView(third);
  EXPECT_EQ(first->frame(), frame);
  EXPECT_EQ(a.attached, 1);

  auto* outsider = new CountingView(Rect(), stranger);
  EXPECT_TRUE(frame->removeView(outsider, true));
  EXPECT_EQ(stranger.destroyed, 0);
  EXPECT_EQ(stranger.removed, 0);
  EXPECT_EQ(frame->getViewCount(), 3);

  EXPECT_TRUE(frame->removeView(second, false));
  EXPECT_EQ(b.removed, 1);
  EXPECT_EQ(b.destroyed, 0);
  EXPECT_EQ(frame->getViewCount(), 2);
  EXPECT_EQ(frame->getView(0), first);
  EXPECT_EQ(frame->getView(1), third);
  EXPECT_FALSE(frame->isChild(second));
  EXPECT_EQ(second->frame(), nullptr) << "a removed view forgets its frame";
  EXPECT_TRUE(frame->isChild(third));

  EXPECT_TRUE(frame->removeView(third, true));
  EXPECT_EQ(c.destroyed, 1);
  delete frame;
  EXPECT_EQ(a.destroyed, 1) << "views still in the list are released with the frame";
  second->release();
  outsider->release();
}

TEST_F(FrameTest, GetViewOutsideTheListAnswersNull) {
  Frame* frame = makeFrame();
  ViewLog log;
  frame->addView(new CountingView(Rect(), log));
  EXPECT_EQ(frame->getView(-1), nullptr);
  EXPECT_EQ(frame->getView(1), nullptr);
  EXPECT_NE(frame->getView(0), nullptr);
  delete frame;
}

TEST_F(FrameTest, RemovingTheFocusViewLeavesNoFocusBehind) {
  Frame* frame = makeFrame();
  ViewLog log;
  auto* view = new CountingView(Rect(0, 0, 10, 10), log);
  frame->addView(view);
  frame->setFocusedView(view);
  frame->removeView(view, true);
  EXPECT_EQ(frame->getFocusedView(), nullptr);
  KeyCode key{0, 0, 0};
  EXPECT_EQ(frame->onKeyDown(key), -1);
  delete frame;
}

TEST_F(FrameTest, RemoveAllTellsTheFocusViewAndEveryViewAndReleasesOnlyWhenAsked) {
  Frame* frame = makeFrame();
  ViewLog a, b;
  auto* first = new CountingView(Rect(), a);
  auto* second = new CountingView(Rect(), b);
  frame->addView(first);
  frame->addView(second);
  frame->setFocusedView(first);
  EXPECT_TRUE(frame->removeAll(false));
  EXPECT_EQ(a.focusLosses, 1);
  EXPECT_EQ(a.removed + b.removed, 2);
  EXPECT_EQ(a.destroyed + b.destroyed, 0);
  EXPECT_EQ(frame->getViewCount(), 0);
  EXPECT_EQ(first->frame(), nullptr);
  EXPECT_EQ(second->frame(), nullptr);

  frame->addView(first);
  frame->addView(second);
  EXPECT_TRUE(frame->removeAll(true));
  EXPECT_EQ(a.destroyed + b.destroyed, 2);
  delete frame;
}

TEST_F(FrameTest, AddViewGrowsPastTwentyAndAFailedGrowthKeepsTheCallersReference) {
  Frame* frame = makeFrame();
  ViewLog log;
  for (int i = 0; i < 45; ++i) ASSERT_TRUE(frame->addView(new CountingView(Rect(), log))) << i;
  EXPECT_EQ(frame->getViewCount(), 45);

  setAllocationFailureHook([](AllocationSite site) { return site == AllocationSite::view; });
  for (int i = 45; i < 60; ++i)
    ASSERT_TRUE(frame->addView(new CountingView(Rect(), log))) << "room left, no growth";
  auto* refused = new CountingView(Rect(), log);
  EXPECT_FALSE(frame->addView(refused));
  EXPECT_EQ(frame->getViewCount(), 60);
  EXPECT_EQ(refused->frame(), nullptr);
  setAllocationFailureHook(nullptr);
  delete frame;
  EXPECT_EQ(log.destroyed, 60);
  refused->release();
}

TEST_F(FrameTest, HostDestroyingItsWindowClosesTheFrameAndStopsRedraws) {
  Frame* frame = makeFrame();
  ViewLog log;
  auto* view = new CountingView(Rect(0, 0, 10, 10), log);
  frame->addView(view);
  paintAll();
  const int drawsBefore = log.draws;
  headless::destroyHostWindow(host);
  host = nullptr;
  EXPECT_FALSE(frame->isWindowOpen());
  EXPECT_EQ(frame->getParentWindow(), nullptr);
  view->setDirty(true);
  frame->redrawDirtyViews();
  EXPECT_EQ(log.draws, drawsBefore);
  delete frame;
  EXPECT_EQ(log.destroyed, 1);
}

TEST_F(FrameTest, FrameHoldsOneUseOfTheWindowSystemWithOrWithoutAWindow) {
  Frame* frame = makeFrame();
  EXPECT_EQ(headless::displayConnectionDepth(), 1);
  delete frame;
  EXPECT_EQ(headless::displayConnectionDepth(), 0);
  Frame* windowless = new Frame(Rect(0, 0, 10, 10), nullptr, nullptr);
  EXPECT_EQ(headless::displayConnectionDepth(), 1);
  delete windowless;
  EXPECT_EQ(headless::displayConnectionDepth(), 0);
}

TEST_F(FrameTest, FrameUpdateRedrawsEverythingWhenTheFrameItselfIsDirty) {
  Frame* frame = makeFrame();
  ViewLog log;
  frame->addView(new CountingView(Rect(0, 0, 10, 10), log));
  frame->addView(new CountingView(Rect(20, 0, 30, 10), log));
  paintAll();
  const int drawsBefore = log.draws;
  frame->setDirty(true);
  frame->redrawDirtyViews();
  EXPECT_EQ(log.draws - drawsBefore, 2) << "every view, although none is dirty";
  EXPECT_FALSE(frame->isDirty());
  delete frame;
}

TEST_F(FrameTest, ControlsAddedToAFrameAreDrawnAtTheFirstIdleAfterThePaint) {
  Frame* frame = makeFrame();
  ViewLog log;
  auto* control = new CountingControl(Rect(0, 0, 10, 10), log);
  frame->addView(control);
  paintAll();
  EXPECT_EQ(log.draws, 1) << "the paint draws through drawArea";
  control->setValue(0.5f);
  frame->redrawDirtyViews();
  EXPECT_EQ(log.draws, 2);
  delete frame;
}

}  // namespace
}  // namespace wrenfold
