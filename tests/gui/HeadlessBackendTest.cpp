#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "gui/platform/headless/HeadlessControl.h"
#include "gui/platform/platform.h"

namespace wrenfold {
namespace {

// Records what the window procedure of the test class receives.
struct ProcedureLog {
  std::vector<Rect> paints;
  std::vector<Point> clicks;
  int destroyed = 0;
};

ProcedureLog procedureLog;

void onPaint(platform::Window*, void*, platform::Surface* surface, Rect area) {
  procedureLog.paints.push_back(area);
  platform::Brush* brush = platform::createSolidBrush(blueColor);
  platform::Brush* previous = platform::selectBrush(surface, brush);
  platform::fillRect(surface, area);
  platform::selectBrush(surface, previous);
  platform::deleteBrush(brush);
}
void onButtonDown(platform::Window*, void*, Point where) { procedureLog.clicks.push_back(where); }
void onDestroyed(platform::Window*, void*) { ++procedureLog.destroyed; }
bool onDrop(platform::Window*, void*, void**, int32_t, int32_t, Point) { return true; }

const platform::WindowHandler testHandler = {&onPaint, &onButtonDown, &onDestroyed, &onDrop,
                                             nullptr};
int userData = 0;

class HeadlessBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::reset();
    procedureLog = ProcedureLog();
    objectsBefore = headless::liveObjectCount();
    host = headless::createHostWindow(Rect(10, 20, 110, 120));
  }
  void TearDown() override {
    headless::destroyHostWindow(host);
    EXPECT_EQ(headless::liveObjectCount(), objectsBefore);
    headless::reset();
  }

  std::size_t objectsBefore = 0;
  platform::Window* host = nullptr;
};

TEST_F(HeadlessBackendTest, ScriptedInputIsTakenOnePerPollAndTheLastStateRepeats) {
  headless::queueInput(leftButton, Point(1, 1));
  headless::queueInput(leftButton | shiftKey, Point(2, 3));
  headless::queueInput(0, Point(4, 5));
  EXPECT_EQ(headless::queuedInputCount(), 3u);
  EXPECT_EQ(platform::cursorScreenPosition(), Point(0, 0)) << "reading the cursor takes nothing";

  const uint32_t expected[] = {leftButton, leftButton | shiftKey, 0, 0, 0};
  const Point cursors[] = {{1, 1}, {2, 3}, {4, 5}, {4, 5}, {4, 5}};
  for (int poll = 0; poll < 5; ++poll) {
    SCOPED_TRACE(poll);
    EXPECT_EQ(platform::inputState(), expected[poll]);
    EXPECT_EQ(platform::cursorScreenPosition(), cursors[poll]);
  }
  headless::queueInput(rightButton, Point());
  headless::setInput({middleButton, Point(9, 9)});
  EXPECT_EQ(headless::queuedInputCount(), 0u);
  EXPECT_EQ(platform::inputState(), middleButton);
}

TEST_F(HeadlessBackendTest, SleepAdvancesTheTickClockWhichWrapsModulo2To32) {
  headless::setTickCount(0xfffffffeu);
  platform::sleepMilliseconds(4);
  EXPECT_EQ(platform::tickCount(), 2u);
  EXPECT_EQ(headless::totalSleptMilliseconds(), 4u);
  EXPECT_EQ(headless::events().back(), "sleep 4");
}

TEST_F(HeadlessBackendTest, ChildWindowNeedsAHandlerAndAParent) {
  EXPECT_EQ(platform::createChildWindow(host, Rect(0, 0, 5, 5), "x", nullptr, &userData), nullptr);
  EXPECT_EQ(platform::createChildWindow(nullptr, Rect(0, 0, 5, 5), "x", &testHandler, &userData),
            nullptr);
  int foreign = 0;
  EXPECT_EQ(platform::createChildWindow(&foreign, Rect(0, 0, 5, 5), "x", &testHandler, &userData),
            nullptr)
      << "a parent that is none of the back end's windows";
}

TEST_F(HeadlessBackendTest, ChildWindowSitsInsideItsParentOnScreenAndGetsOnePaintOfItsWholeArea) {
  platform::Window* child =
      platform::createChildWindow(host, Rect(0, 0, 30, 20), "Child", &testHandler, &userData);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(platform::windowScreenRect(child), Rect(10, 20, 40, 40));
  EXPECT_EQ(headless::pendingPaintCount(), 1u);

  EXPECT_TRUE(platform::dispatchOnePendingPaint());
  EXPECT_FALSE(platform::dispatchOnePendingPaint());
  ASSERT_EQ(procedureLog.paints.size(), 1u);
  EXPECT_EQ(procedureLog.paints[0], Rect(0, 0, 30, 20));
  EXPECT_EQ(headless::windowPixel(child, Point(29, 19)), blueColor);

  const Rect first(2, 2, 4, 4);
  const Rect second(10, 1, 12, 3);
  platform::invalidateWindow(child, &first);
  platform::invalidateWindow(child, &second);
  EXPECT_EQ(headless::pendingPaintCount(), 1u) << "requests of one window merge";
  EXPECT_TRUE(platform::dispatchOnePendingPaint());
  EXPECT_EQ(procedureLog.paints.back(), Rect(2, 1, 12, 4));

  headless::clickWindow(child, Point(3, 4));
  ASSERT_EQ(procedureLog.clicks.size(), 1u);
  EXPECT_EQ(procedureLog.clicks[0], Point(3, 4));

  headless::destroyHostWindow(host);
  host = nullptr;
  EXPECT_EQ(procedureLog.destroyed, 1) << "children go with their parent";
  EXPECT_FALSE(headless::isLiveWindow(child));
}

TEST_F(HeadlessBackendTest, WindowWithoutUserDataGetsDefaultHandling) {
  platform::Window* child =
      platform::createChildWindow(host, Rect(0, 0, 30, 20), "Child", &testHandler, nullptr);
  EXPECT_TRUE(platform::dispatchOnePendingPaint());
  EXPECT_TRUE(procedureLog.paints.empty());
  headless::clickWindow(child, Point(1, 1));
  EXPECT_TRUE(procedureLog.clicks.empty());
  platform::destroyWindow(child);
  EXPECT_EQ(procedureLog.destroyed, 0);
}

TEST_F(HeadlessBackendTest, KeyedCopyLeavesKeyPixelsOfTheSourceOut) {
  platform::Surface* source = headless::createSurface(4, 1, whiteColor);
  platform::Surface* target = headless::createSurface(4, 1, redColor);
  platform::Brush* brush = platform::createSolidBrush(greenColor);
  platform::Brush* previous = platform::selectBrush(source, brush);
  platform::fillRect(source, Rect(1, 0, 3, 1));
  platform::selectBrush(source, previous);
  platform::deleteBrush(brush);

  platform::copyPixelsKeyed(target, Rect(0, 0, 4, 1), source, Point(), whiteColor);
  const Color keyed[] = {redColor, greenColor, greenColor, redColor};
  for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(headless::pixel(target, Point(x, 0)), keyed[x]) << x;
  platform::copyPixels(target, Rect(0, 0, 4, 1), source, Point());
  const Color plain[] = {whiteColor, greenColor, greenColor, whiteColor};
  for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(headless::pixel(target, Point(x, 0)), plain[x]) << x;
  platform::destroySurface(source);
  platform::destroySurface(target);
}

TEST_F(HeadlessBackendTest, CopiesWithinOneSurfaceReadTheOriginalPixelsAndSkipMissingSourcePixels) {
  platform::Surface* surface = headless::createSurface(4, 1, whiteColor);
  const Color start[] = {redColor, greenColor, blueColor, whiteColor};
  for (int32_t x = 0; x < 4; ++x) {
    platform::Brush* brush = platform::createSolidBrush(start[x]);
    platform::Brush* previous = platform::selectBrush(surface, brush);
    platform::fillRect(surface, Rect(x, 0, x + 1, 1));
    platform::selectBrush(surface, previous);
    platform::deleteBrush(brush);
  }
  platform::copyPixels(surface, Rect(1, 0, 4, 1), surface, Point(0, 0));
  const Color shifted[] = {redColor, redColor, greenColor, blueColor};
  for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(headless::pixel(surface, Point(x, 0)), shifted[x]) << x;

  platform::Surface* target = headless::createSurface(2, 1, yellowColor);
  platform::copyPixels(target, Rect(0, 0, 2, 1), surface, Point(-1, 0));
  EXPECT_EQ(headless::pixel(target, Point(0, 0)), yellowColor) << "no source pixel there";
  EXPECT_EQ(headless::pixel(target, Point(1, 0)), redColor);
  platform::destroySurface(target);
  platform::destroySurface(surface);
}

TEST_F(HeadlessBackendTest, DrawingOutsideTheSurfaceIsClippedWithoutHarm) {
  platform::Surface* surface = headless::createSurface(5, 5, blackColor);
  platform::Pen* pen = platform::createPen(platform::penSolid, 1, whiteColor);
  platform::Pen* previous = platform::selectPen(surface, pen);
  platform::moveTo(surface, Point(-10, 2));
  platform::lineTo(surface, Point(20, 2));
  platform::fillRect(surface, Rect(-100, -100, 100, 1));
  platform::copyPixels(surface, Rect(-3, -3, 8, 8), surface, Point(-1, 4));
  platform::drawText(surface, "far away", Rect(50, 50, 90, 60),
                     platform::textSingleLine | platform::textVerticalCenter);
  EXPECT_EQ(headless::pixel(surface, Point(4, 2)), whiteColor);
  EXPECT_EQ(headless::pixel(surface, Point(99, 99)), blackColor) << "outside reads black";
  platform::selectPen(surface, previous);
  platform::deletePen(pen);
  platform::destroySurface(surface);
}

TEST_F(HeadlessBackendTest, MissingBitmapResourceAnswersNullAndZeroSize) {
  int32_t width = 7;
  int32_t height = 7;
  EXPECT_EQ(platform::loadBitmapResource(nullptr, 42, &width, &height), nullptr);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(height, 0);
  EXPECT_EQ(platform::createMemorySurface(nullptr, 0, 10), nullptr);
}

TEST_F(HeadlessBackendTest, WindowPixelsCanBeSavedAsPng) {
  platform::Window* child =
      platform::createChildWindow(host, Rect(0, 0, 8, 8), "Child", &testHandler, &userData);
  platform::dispatchOnePendingPaint();
  const std::string path = ::testing::TempDir() + "headless-window.png";
  ASSERT_TRUE(headless::saveWindowPng(child, path.c_str()));
  std::FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  unsigned char signature[8] = {};
  EXPECT_EQ(std::fread(signature, 1, 8, file), 8u);
  std::fclose(file);
  std::remove(path.c_str());
  EXPECT_EQ(signature[1], 'P');
  EXPECT_EQ(signature[2], 'N');
  EXPECT_EQ(signature[3], 'G');
  EXPECT_FALSE(headless::saveWindowPng(nullptr, path.c_str()));
}

}  // namespace
}  // namespace wrenfold
