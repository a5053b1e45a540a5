#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/ModuleState.h"
#include "gui/DrawContext.h"
#include "gui/OffscreenContext.h"
#include "gui/platform/headless/HeadlessControl.h"
#include "gui/platform/platform.h"

namespace wrenfold {
namespace {

class DrawContextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::reset();
    objectsBefore = headless::liveObjectCount();
    surface = headless::createSurface(40, 40, redColor);
  }
  void TearDown() override {
    platform::destroySurface(surface);
    EXPECT_EQ(headless::liveObjectCount(), objectsBefore)
        << "pens, brushes, fonts or surfaces leaked";
    headless::reset();
  }

  // Returns the pixels of `area` (inclusive) that do not have `color`.
  std::vector<Point> pixelsOtherThan(Rect area, Color color) {
    std::vector<Point> others;
    for (int32_t y = area.top; y <= area.bottom; ++y) {
      for (int32_t x = area.left; x <= area.right; ++x) {
        if (headless::pixel(surface, Point(x, y)) != color) others.push_back(Point(x, y));
      }
    }
    return others;
  }

  // Returns the number of pixels in the whole surface of `color`.
  int countOf(Color color) {
    int count = 0;
    for (int32_t y = 0; y < 40; ++y) {
      for (int32_t x = 0; x < 40; ++x)
        count += headless::pixel(surface, Point(x, y)) == color ? 1 : 0;
    }
    return count;
  }

  std::size_t objectsBefore = 0;
  platform::Surface* surface = nullptr;
};

TEST_F(DrawContextTest, FillRectFillsOnlyTheInsideOfTheOutline) {
  DrawContext context(nullptr, surface, nullptr);
  context.setFillColor(blueColor);
  context.fillRect(Rect(10, 10, 20, 20));
  EXPECT_TRUE(pixelsOtherThan(Rect(11, 11, 19, 19), blueColor).empty());
  EXPECT_EQ(countOf(blueColor), 81) << "9 x 9 pixels from (11, 11) to (19, 19)";
}

TEST_F(DrawContextTest, FrameRectCoversTheRightColumnAndBottomRow) {
  DrawContext context(nullptr, surface, nullptr);
  context.setFrameColor(greenColor);
  context.frameRect(Rect(10, 10, 20, 20));
  EXPECT_EQ(countOf(greenColor), 40) << "outline of the 11 x 11 square";
  for (int32_t i = 10; i <= 20; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(headless::pixel(surface, Point(i, 10)), greenColor);
    EXPECT_EQ(headless::pixel(surface, Point(i, 20)), greenColor);
    EXPECT_EQ(headless::pixel(surface, Point(10, i)), greenColor);
    EXPECT_EQ(headless::pixel(surface, Point(20, i)), greenColor);
  }
}

TEST_F(DrawContextTest, FillRectThenFrameRectCoverTheRectangleExactly) {
  DrawContext context(nullptr, surface, nullptr);
  context.setFillColor(blueColor);
  context.setFrameColor(blueColor);
  context.fillRect(Rect(10, 10, 20, 20));
  context.frameRect(Rect(10, 10, 20, 20));
  EXPECT_TRUE(pixelsOtherThan(Rect(10, 10, 20, 20), blueColor).empty());
  EXPECT_EQ(countOf(blueColor), 121);
}

TEST_F(DrawContextTest, LinesLeaveOutTheirEndPoint) {
  DrawContext context(nullptr, surface, nullptr);
  context.setFrameColor(whiteColor);
  struct Case {
    Point from, to;
    int pixels;
  };
  const Case cases[] = {
      {{0, 0}, {10, 0}, 10},     // horizontal
      {{5, 30}, {5, 20}, 10},    // vertical, upwards
      {{20, 20}, {30, 30}, 10},  // diagonal
      {{3, 3}, {3, 3}, 0},       // zero length draws nothing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.from.h << "," << c.from.v << " to " << c.to.h << "," << c.to.v);
    int before = countOf(whiteColor);
    context.moveTo(c.from);
    context.lineTo(c.to);
    EXPECT_EQ(countOf(whiteColor) - before, c.pixels);
    EXPECT_NE(headless::pixel(surface, c.to), whiteColor);
    if (c.pixels > 0) {
      EXPECT_EQ(headless::pixel(surface, c.from), whiteColor);
    }
  }
}

TEST_F(DrawContextTest, DottedLineStyleDrawsThreeOnThreeOffAndOtherStylesSolid) {
  DrawContext context(nullptr, surface, nullptr);
  context.setLineStyle(1);
  context.moveTo(Point(0, 0));
  context.lineTo(Point(12, 0));
  const bool expected[] = {true, true, true, false, false, false,
                           true, true, true, false, false, false};
  for (int32_t x = 0; x < 12; ++x) {
    SCOPED_TRACE(x);
    EXPECT_EQ(headless::pixel(surface, Point(x, 0)) == whiteColor, expected[x]);
  }
  for (int32_t style : {0, 2, 5}) {
    SCOPED_TRACE(style);
    context.setLineStyle(style);
    context.moveTo(Point(0, 5 + style));
    context.lineTo(Point(12, 5 + style));
    EXPECT_TRUE(pixelsOtherThan(Rect(0, 5 + style, 11, 5 + style), whiteColor).empty());
  }
}

TEST_F(DrawContextTest, NewContextHasWhitePenBlackFillAndWhiteText) {
  DrawContext context(nullptr, surface, nullptr);
  EXPECT_EQ(context.getFrameColor(), whiteColor);
  EXPECT_EQ(context.getFillColor(), blackColor);
  EXPECT_EQ(context.getFontColor(), whiteColor);
  EXPECT_EQ(context.getLineStyle(), 0);
  context.fillRect(Rect(0, 0, 3, 3));
  EXPECT_EQ(headless::pixel(surface, Point(1, 1)), blackColor);
}

TEST_F(DrawContextTest, DestructionSelectsBackTheObjectsFoundAtConstruction) {
  platform::Pen* pen = platform::currentPen(surface);
  platform::Brush* brush = platform::currentBrush(surface);
  platform::Font* font = platform::currentFont(surface);
  {
    DrawContext context(nullptr, surface, nullptr);
    context.setFont(2, 0, 0);
    context.setFrameColor(blueColor);
    EXPECT_NE(platform::currentPen(surface), pen);
    EXPECT_NE(platform::currentFont(surface), font);
  }
  EXPECT_EQ(platform::currentPen(surface), pen);
  EXPECT_EQ(platform::currentBrush(surface), brush);
  EXPECT_EQ(platform::currentFont(surface), font);
}

TEST_F(DrawContextTest, SetFontMapsIdsSizesAndFaceBits) {
  struct Case {
    int32_t id, size, face;
    int32_t expectedId, height, weight;
    bool italic, underline;
    const char* faceName;
    int32_t family;
  };
  const Case cases[] = {
      {9, 0, 0, 0, 12, 700, false, false, "Arial", 34},  // out of range: id 0, always bold
      {-1, 0, 0, 0, 12, 700, false, false, "Arial", 34},
      {0, 0, 0, 0, 12, 700, false, false, "Arial", 34},
      {7, 0, faceBold, 7, 13, 700, false, false, "Symbol", 80},
      {3, 20, faceItalic | faceUnderline, 3, 20, 400, true, true, "Arial", 34},
      {1, 0, 0, 1, 18, 400, false, false, "Arial", 34},
      {2, 0, 0, 2, 14, 400, false, false, "Arial", 34},
      {4, 0, faceBold, 4, 11, 700, false, false, "Arial", 34},
      {5, 0, 0, 5, 10, 400, false, false, "Arial", 34},
      {6, 0, 0, 6, 9, 400, false, false, "Arial", 34},
  };
  DrawContext context(nullptr, surface, nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "setFont(" << c.id << ", " << c.size << ", " << c.face << ")");
    context.setFont(c.id, c.size, c.face);
    EXPECT_EQ(context.getFontId(), c.expectedId);
    EXPECT_EQ(context.getFontSize(), c.height);
    platform::FontRequest request;
    ASSERT_TRUE(headless::fontRequest(platform::currentFont(surface), request));
    EXPECT_EQ(request.height, c.height);
    EXPECT_EQ(request.weight, c.weight);
    EXPECT_EQ(request.italic, c.italic);
    EXPECT_EQ(request.underline, c.underline);
    EXPECT_STREQ(request.face, c.faceName);
    EXPECT_EQ(request.pitchAndFamily, c.family);
  }
}

TEST_F(DrawContextTest, DrawStringMovesOnlyLeftAlignedTextOnePixelRight) {
  headless::recordDrawing(true);
  DrawContext context(nullptr, surface, nullptr);
  context.setFont(3, 0, 0);
  const Rect area(5, 5, 35, 20);
  struct Case {
    int32_t alignment;
    const char* expected;
  };
  const Case cases[] = {
      {alignLeft, "text \"ab\" 6,5,35,20 flags=2084 #ffffff transparent"},
      {alignCenter, "text \"ab\" 5,5,35,20 flags=2085 #ffffff transparent"},
      {alignRight, "text \"ab\" 5,5,35,20 flags=2086 #ffffff transparent"},
      {17, "text \"ab\" 6,5,35,20 flags=2084 #ffffff transparent"},  // anything else is left
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.alignment);
    headless::clearDrawingLog();
    context.drawString("ab", area, false, c.alignment);
    ASSERT_EQ(headless::drawingLog().size(), 1u);
    EXPECT_EQ(headless::drawingLog()[0], c.expected);
  }
}

TEST_F(DrawContextTest, DrawStringPlacesGlyphsByAlignmentInsideTheRectangle) {
  struct Case {
    int32_t alignment;
    int32_t minLeft, maxLeft, minRight, maxRight;
  };
  // "II" at 12 px bold is about 7 pixels wide; glyph edges may move a pixel with the font's
  // hinting.
  const Case cases[] = {
      {alignLeft, 1, 4, 4, 10}, {alignRight, 30, 36, 36, 39}, {alignCenter, 14, 19, 19, 25}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.alignment);
    headless::reset();
    platform::destroySurface(surface);
    surface = headless::createSurface(40, 40, redColor);
    DrawContext fresh(nullptr, surface, nullptr);
    fresh.setFont(0, 0, 0);
    fresh.setFontColor(blackColor);
    fresh.drawString("II", Rect(0, 0, 40, 40), false, c.alignment);
    int32_t left = 40, right = -1, top = 40, bottom = -1;
    for (int32_t y = 0; y < 40; ++y) {
      for (int32_t x = 0; x < 40; ++x) {
        if (headless::pixel(surface, Point(x, y)) == redColor) continue;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
    ASSERT_GE(right, 0) << "no text drawn";
    EXPECT_GE(left, c.minLeft);
    EXPECT_LE(left, c.maxLeft);
    EXPECT_GE(right, c.minRight);
    EXPECT_LE(right, c.maxRight);
    EXPECT_NEAR((top + bottom) / 2.0, 20.0, 3.0) << "vertically centred";
  }
}

TEST_F(DrawContextTest, OpaqueTextFillsBehindItWithTheFillColourAndNullTextDrawsNothing) {
  DrawContext context(nullptr, surface, nullptr);
  context.setFont(3, 0, 0);
  context.setFillColor(yellowColor);
  context.drawString(nullptr, Rect(0, 0, 40, 40), true, alignCenter);
  EXPECT_EQ(countOf(redColor), 1600);
  context.drawString("x", Rect(0, 0, 40, 40), true, alignCenter);
  EXPECT_GT(countOf(yellowColor), 0);
  const int before = countOf(yellowColor);
  context.drawString("x", Rect(0, 0, 40, 40), false, alignLeft);
  EXPECT_LE(countOf(yellowColor), before) << "transparent text fills nothing";
}

TEST_F(DrawContextTest, MouseLocationIsMeasuredFromTheWindowPositionAtConstruction) {
  platform::Window* host = headless::createHostWindow(Rect(100, 200, 500, 600));
  DrawContext context(nullptr, nullptr, host);
  EXPECT_EQ(context.getWindowOrigin(), Point(100, 200));
  headless::moveWindow(host, Point(0, 0));
  headless::setInput({0, Point(130, 250)});
  Point where;
  context.readMouseLocation(where);
  EXPECT_EQ(where, Point(30, 50));
  headless::destroyHostWindow(host);
}

TEST_F(DrawContextTest, ContextWithoutSurfaceDrawsNothingAndKeepsItsSettings) {
  DrawContext context(nullptr, nullptr, nullptr);
  context.setFrameColor(blueColor);
  context.setFillColor(greenColor);
  context.setFontColor(cyanColor);
  context.setFont(12, 0, 0);
  context.moveTo(Point(0, 0));
  context.lineTo(Point(5, 5));
  context.frameRect(Rect(0, 0, 5, 5));
  context.fillRect(Rect(0, 0, 5, 5));
  context.drawString("x", Rect(0, 0, 5, 5), true, alignLeft);
  EXPECT_EQ(context.getFrameColor(), blueColor);
  EXPECT_EQ(context.getFillColor(), greenColor);
  EXPECT_EQ(context.getFontColor(), cyanColor);
  EXPECT_EQ(context.getFontId(), 0);
  EXPECT_EQ(context.getFontSize(), 12);
}

TEST_F(DrawContextTest, OffscreenStartsInItsBackgroundColourAndCopiesFromTheSourcePoint) {
  OffscreenContext offscreen(nullptr, 8, 6, magentaColor);
  ASSERT_NE(offscreen.getSurface(), nullptr);
  for (int32_t y = 0; y < 6; ++y) {
    for (int32_t x = 0; x < 8; ++x)
      ASSERT_EQ(headless::pixel(offscreen.getSurface(), Point(x, y)), magentaColor);
  }
  offscreen.setFillColor(cyanColor);
  offscreen.setFrameColor(cyanColor);
  offscreen.fillRect(Rect(4, 3, 7, 5));
  offscreen.frameRect(Rect(4, 3, 7, 5));

  DrawContext window(nullptr, surface, nullptr);
  offscreen.copyTo(&window, Rect(10, 10, 14, 13), Point(4, 3));
  EXPECT_TRUE(pixelsOtherThan(Rect(10, 10, 13, 12), cyanColor).empty());
  EXPECT_EQ(countOf(cyanColor), 12) << "exactly the 4 x 3 copied pixels";
  offscreen.copyTo(nullptr, Rect(0, 0, 4, 4), Point());
}

}  // namespace
}  // namespace wrenfold
