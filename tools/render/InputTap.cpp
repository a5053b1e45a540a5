#include "tools/render/InputTap.h"

#include <utility>

namespace wrenfold {

InputTap::InputTap(AudioSource& source, Observer observer)
    : source_(source), observer_(std::move(observer)) {}

int64_t InputTap::read(float* interleaved, int64_t frames) {
  const int64_t got = source_.read(interleaved, frames);
  if (got > 0) {
    observer_(interleaved, source_.channels(), got);
  }
  return got;
}

}  // namespace wrenfold
