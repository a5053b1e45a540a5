#pragma once

// How a back end turns editor pixels into device pixels of a window drawn at a scale, and back.
// An edge at editor pixel x lies at device pixel round(x·s), so neighbouring areas stay seamless;
// a device position belongs to the editor pixel it falls in (rounded down, also left of 0).

#include <cmath>
#include <cstdint>

#include "gui/Geometry.h"

namespace wrenfold {
namespace platform {

// Returns `scale`, or 1 where it is no scale at all (not above 0, not finite).
inline float usableScale(float scale) { return std::isfinite(scale) && scale > 0 ? scale : 1.0f; }

// Returns the device coordinate of an edge at editor coordinate `x`.
inline int32_t toDevice(int32_t x, float scale) {
  return static_cast<int32_t>(std::lround(static_cast<double>(x) * scale));
}

// Returns the device rectangle whose edges lie at the area's edges.
inline Rect toDevice(Rect area, float scale) {
  return Rect(toDevice(area.left, scale), toDevice(area.top, scale), toDevice(area.right, scale),
              toDevice(area.bottom, scale));
}

// Returns the device point of the editor point's top-left corner.
inline Point toDevice(Point where, float scale) {
  return Point(toDevice(where.h, scale), toDevice(where.v, scale));
}

// Returns the editor coordinate the device coordinate `x` falls in.
inline int32_t toEditor(int32_t x, float scale) {
  return static_cast<int32_t>(std::floor(static_cast<double>(x) / scale));
}

// Returns the editor point the device point falls in.
inline Point toEditor(Point where, float scale) {
  return Point(toEditor(where.h, scale), toEditor(where.v, scale));
}

// Returns the smallest editor rectangle that covers the device area.
inline Rect coveringEditorRect(Rect area, float scale) {
  return Rect(toEditor(area.left, scale), toEditor(area.top, scale),
              static_cast<int32_t>(std::ceil(static_cast<double>(area.right) / scale)),
              static_cast<int32_t>(std::ceil(static_cast<double>(area.bottom) / scale)));
}

}  // namespace platform
}  // namespace wrenfold
