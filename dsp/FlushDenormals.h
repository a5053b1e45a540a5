#pragma once

#if defined(__SSE__) || defined(_M_X64)
#include <xmmintrin.h>
#define WRENFOLD_FLUSH_DENORMALS 1
#endif

namespace wrenfold {

// Sets flush-to-zero and denormals-are-zero for its lifetime and then restores the caller's
// setting: no result of processing is subnormal, and a subnormal input counts as zero, so a tail
// decays to exact zero at full speed instead of crawling through subnormal arithmetic.
// [audio thread]
class FlushDenormals {
 public:
#if WRENFOLD_FLUSH_DENORMALS
  FlushDenormals() : callers(_mm_getcsr()) { _mm_setcsr(callers | flushToZero | denormalsAreZero); }
  ~FlushDenormals() { _mm_setcsr(callers); }
#else
  FlushDenormals() = default;
#endif
  FlushDenormals(const FlushDenormals&) = delete;
  FlushDenormals& operator=(const FlushDenormals&) = delete;

 private:
#if WRENFOLD_FLUSH_DENORMALS
  static constexpr unsigned int flushToZero = 0x8000;
  static constexpr unsigned int denormalsAreZero = 0x0040;
  unsigned int callers;
#endif
};

}  // namespace wrenfold
