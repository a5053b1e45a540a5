#include "tools/render/InputTap.h"

#include <utility>

namespace wrenfold {

InputTap::InputTap(AudioSource& tapped, Observer onRead)
    : source(tapped), observer(std::move(onRead)) {}

int64_t InputTap::read(float* interleaved, int64_t frames) {
  const int64_t got = source.read(interleaved, frames);
  if (got > 0) {
    observer(interleaved, source.channels(), got);
  }
  return got;
}

}  // namespace wrenfold
