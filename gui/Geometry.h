#pragma once

#include <cstdint>

namespace wrenfold {

// A pixel position: h grows to the right, v grows downwards.
struct Point {
  int32_t h = 0;
  int32_t v = 0;

  // Makes the origin.
  constexpr Point() = default;
  // Makes the point (h, v).
  constexpr Point(int32_t horizontal, int32_t vertical) : h(horizontal), v(vertical) {}

  // Returns whether both coordinates are equal.
  constexpr bool operator==(const Point& other) const { return h == other.h && v == other.v; }
  // Returns whether any coordinate differs.
  constexpr bool operator!=(const Point& other) const { return !(*this == other); }
};

// A pixel rectangle; every containment and overlap test includes all four edges.
struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  // Makes the empty rectangle at the origin.
  constexpr Rect() = default;
  // Makes the rectangle from its four edges.
  constexpr Rect(int32_t l, int32_t t, int32_t r, int32_t b)
      : left(l), top(t), right(r), bottom(b) {}

  // Returns right − left.
  constexpr int32_t width() const { return right - left; }
  // Returns bottom − top.
  constexpr int32_t height() const { return bottom - top; }
  // Returns the top-left corner.
  constexpr Point topLeft() const { return Point(left, top); }

  // Returns whether the point lies inside or on an edge.
  constexpr bool contains(const Point& p) const {
    return left <= p.h && p.h <= right && top <= p.v && p.v <= bottom;
  }
  // Returns whether the rectangles share at least one point, edges included.
  constexpr bool overlaps(const Rect& other) const {
    return other.right >= left && other.left <= right && other.bottom >= top && other.top <= bottom;
  }
  // Returns the rectangle moved by (dh, dv).
  constexpr Rect offsetBy(int32_t dh, int32_t dv) const {
    return Rect(left + dh, top + dv, right + dh, bottom + dv);
  }
  // Returns the smallest rectangle that holds both.
  constexpr Rect unitedWith(const Rect& other) const {
    return Rect(left < other.left ? left : other.left, top < other.top ? top : other.top,
                right > other.right ? right : other.right,
                bottom > other.bottom ? bottom : other.bottom);
  }

  // Returns whether all four edges are equal.
  constexpr bool operator==(const Rect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
  // Returns whether any edge differs.
  constexpr bool operator!=(const Rect& other) const { return !(*this == other); }
};

}  // namespace wrenfold
