#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace wrenfold {

// Truncates toward zero like an integer conversion, saturating instead of overflowing; NaN gives 0.
// [any thread]
inline int32_t truncateToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

}  // namespace wrenfold
