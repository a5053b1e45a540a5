#pragma once

// The pixels a thin pen sets along a line, as the window systems' one-pixel pens draw them:
// Bresenham's walk from one end towards the other with the far end left out; a dotted pen sets
// three pixels and leaves three out, counted from the start. Back ends that draw lines themselves
// (at a scale, or with no line primitive of their own) walk them here, so all draw the same pixels.

#include <cstdint>
#include <cstdlib>

#include "gui/Geometry.h"

namespace wrenfold {
namespace platform {

// Calls plot(x, y) for each pixel the pen sets on the way from `from` to `to`.
template <typename Plot>
void walkLine(Point from, Point to, bool dotted, Plot plot) {
  constexpr int32_t dotOn = 3;
  constexpr int32_t dotPeriod = 6;
  const int32_t dx = std::abs(to.h - from.h);
  const int32_t dy = -std::abs(to.v - from.v);
  const int32_t sx = from.h < to.h ? 1 : -1;
  const int32_t sy = from.v < to.v ? 1 : -1;
  int32_t error = dx + dy;
  int32_t x = from.h;
  int32_t y = from.v;
  for (int32_t step = 0; x != to.h || y != to.v; ++step) {
    if (!dotted || step % dotPeriod < dotOn) plot(x, y);
    const int32_t doubled = 2 * error;
    if (doubled >= dy) {
      error += dy;
      x += sx;
    }
    if (doubled <= dx) {
      error += dx;
      y += sy;
    }
  }
}

}  // namespace platform
}  // namespace wrenfold
