#include "gui/platform/shared/ImageResampler.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace wrenfold {

namespace {

// Colour sums of the samples an output pixel is made from, the keyed ones counted apart.
struct Mix {
  double red = 0;
  double green = 0;
  double blue = 0;
  double weight = 0;
  double keyWeight = 0;

  void add(uint32_t pixel, double share, uint32_t key) {
    if (share <= 0) return;
    if ((pixel & 0xffffff) == key) {
      keyWeight += share;
      return;
    }
    red += share * static_cast<double>((pixel >> 16) & 0xff);
    green += share * static_cast<double>((pixel >> 8) & 0xff);
    blue += share * static_cast<double>(pixel & 0xff);
    weight += share;
  }

  uint32_t result(uint32_t key) const {
    if (weight <= 0 || keyWeight >= weight) return key;
    auto channel = [this](double sum) {
      return static_cast<uint32_t>(std::lround(std::min(255.0, sum / weight)));
    };
    return (channel(red) << 16) | (channel(green) << 8) | channel(blue);
  }
};

// The source span [from, to) that output index i of n covers in a source of `size`, and the share
// of each source index in it.
struct Span {
  double from;
  double to;
  double share(int32_t index) const {
    return std::min(to, index + 1.0) - std::max(from, static_cast<double>(index));
  }
};

Span spanOf(int32_t i, int32_t n, int32_t size) {
  const double step = static_cast<double>(size) / n;
  return Span{i * step, (i + 1) * step};
}

uint32_t averaged(const uint32_t* pixels, int32_t width, Span x, Span y, uint32_t key) {
  Mix mix;
  for (auto row = static_cast<int32_t>(y.from); row < y.to; ++row) {
    for (auto column = static_cast<int32_t>(x.from); column < x.to; ++column) {
      mix.add(pixels[static_cast<std::size_t>(row) * width + column],
              x.share(column) * y.share(row), key);
    }
  }
  return mix.result(key);
}

// The two source indices around output index i of n, and the weight of the second.
struct Neighbours {
  int32_t first;
  int32_t second;
  double weight;
};

Neighbours neighboursOf(int32_t i, int32_t n, int32_t size) {
  const double centre = std::clamp((i + 0.5) * size / n - 0.5, 0.0, size - 1.0);
  const auto first = static_cast<int32_t>(centre);
  return Neighbours{first, std::min(first + 1, size - 1), centre - first};
}

uint32_t interpolated(const uint32_t* pixels, int32_t width, Neighbours x, Neighbours y,
                      uint32_t key) {
  auto at = [pixels, width](int32_t column, int32_t row) {
    return pixels[static_cast<std::size_t>(row) * width + column];
  };
  Mix mix;
  mix.add(at(x.first, y.first), (1 - x.weight) * (1 - y.weight), key);
  mix.add(at(x.second, y.first), x.weight * (1 - y.weight), key);
  mix.add(at(x.first, y.second), (1 - x.weight) * y.weight, key);
  mix.add(at(x.second, y.second), x.weight * y.weight, key);
  return mix.result(key);
}

}  // namespace

std::vector<uint32_t> ImageResampler::resize(const uint32_t* pixels, int32_t width, int32_t height,
                                             int32_t targetWidth, int32_t targetHeight,
                                             uint32_t key) {
  std::vector<uint32_t> out;
  if (pixels == nullptr || width <= 0 || height <= 0 || targetWidth <= 0 || targetHeight <= 0)
    return out;
  try {
    out.resize(static_cast<std::size_t>(targetWidth) * targetHeight);
  } catch (const std::bad_alloc&) {
    return out;
  }
  key &= 0xffffff;
  const bool shrinks = targetWidth <= width && targetHeight <= height;
  for (int32_t y = 0; y < targetHeight; ++y) {
    for (int32_t x = 0; x < targetWidth; ++x) {
      out[static_cast<std::size_t>(y) * targetWidth + x] =
          shrinks ? averaged(pixels, width, spanOf(x, targetWidth, width),
                             spanOf(y, targetHeight, height), key)
                  : interpolated(pixels, width, neighboursOf(x, targetWidth, width),
                                 neighboursOf(y, targetHeight, height), key);
    }
  }
  return out;
}

}  // namespace wrenfold
