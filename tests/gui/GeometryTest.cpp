#include <gtest/gtest.h>

#include "gui/Color.h"
#include "gui/Geometry.h"

namespace wrenfold {
namespace {

TEST(RectTest, ContainmentIncludesAllFourEdgesAndNothingBeyond) {
  const Rect r(10, 20, 30, 40);
  struct Case {
    Point p;
    bool inside;
  };
  const Case cases[] = {
      {{10, 20}, true}, {{30, 40}, true},  {{30, 20}, true},  {{10, 40}, true},  {{20, 30}, true},
      {{9, 30}, false}, {{31, 30}, false}, {{20, 19}, false}, {{20, 41}, false}, {{31, 41}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "point " << c.p.h << "," << c.p.v);
    EXPECT_EQ(r.contains(c.p), c.inside);
  }
}

TEST(RectTest, RectanglesSharingOnlyAnEdgeOrCornerOverlap) {
  const Rect r(10, 10, 20, 20);
  struct Case {
    Rect other;
    bool overlaps;
  };
  const Case cases[] = {
      {{20, 10, 30, 20}, true},   // shares the right edge
      {{0, 20, 10, 30}, true},    // shares the bottom-left corner
      {{12, 12, 14, 14}, true},   // inside
      {{0, 0, 40, 40}, true},     // around
      {{21, 10, 30, 20}, false},  // one pixel to the right
      {{10, 0, 20, 9}, false},    // one pixel above
      {{0, 21, 9, 30}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "other " << c.other.left << "," << c.other.top << ","
                                    << c.other.right << "," << c.other.bottom);
    EXPECT_EQ(r.overlaps(c.other), c.overlaps);
    EXPECT_EQ(c.other.overlaps(r), c.overlaps);
  }
}

TEST(RectTest, WidthAndHeightAreEdgeDifferences) {
  const Rect r(-5, 3, 15, 4);
  EXPECT_EQ(r.width(), 20);
  EXPECT_EQ(r.height(), 1);
  EXPECT_EQ(r.offsetBy(5, -3), Rect(0, 0, 20, 1));
}

TEST(ColorTest, EqualityIgnoresTheFourthByte) {
  Color a(1, 2, 3);
  Color b(1, 2, 3);
  b.unused = 9;
  EXPECT_EQ(a, b);
  EXPECT_NE(a, Color(1, 2, 4));
}

}  // namespace
}  // namespace wrenfold
