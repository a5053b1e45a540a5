#include "tools/skingen/PaletteQuantiser.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <utility>

namespace wrenfold {

namespace {

constexpr std::size_t paletteSize = 256;
constexpr Rgb keyWhite{255, 255, 255};

struct ColourCount {
  Rgb colour;
  std::uint32_t count;
};

using Box = std::vector<ColourCount>;

std::uint32_t packed(Rgb c) {
  return (std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) | c.blue;
}

int channel(Rgb c, int which) { return which == 0 ? c.red : which == 1 ? c.green : c.blue; }

// Widest channel first, so boxes split where the colours really spread.
std::pair<int, int> widestChannel(const Box& box) {
  int best = 0;
  int bestRange = -1;
  for (int which = 0; which < 3; ++which) {
    int low = 255;
    int high = 0;
    for (const ColourCount& entry : box) {
      low = std::min(low, channel(entry.colour, which));
      high = std::max(high, channel(entry.colour, which));
    }
    if (high - low > bestRange) {
      bestRange = high - low;
      best = which;
    }
  }
  return {best, bestRange};
}

std::pair<Box, Box> splitAtMedian(Box box) {
  const int which = widestChannel(box).first;
  std::sort(box.begin(), box.end(), [which](const ColourCount& a, const ColourCount& b) {
    return channel(a.colour, which) < channel(b.colour, which);
  });
  std::uint64_t total = 0;
  for (const ColourCount& entry : box) total += entry.count;
  std::uint64_t running = 0;
  std::size_t cut = 1;
  for (; cut < box.size() - 1; ++cut) {
    running += box[cut - 1].count;
    if (running * 2 >= total) break;
  }
  Box upper(box.begin() + static_cast<std::ptrdiff_t>(cut), box.end());
  box.resize(cut);
  return {std::move(box), std::move(upper)};
}

Rgb weightedMean(const Box& box) {
  std::uint64_t sums[3] = {0, 0, 0};
  std::uint64_t total = 0;
  for (const ColourCount& entry : box) {
    for (int which = 0; which < 3; ++which)
      sums[which] += std::uint64_t(channel(entry.colour, which)) * entry.count;
    total += entry.count;
  }
  auto mean = [&](int which) {
    return static_cast<std::uint8_t>((sums[which] + total / 2) / total);
  };
  Rgb colour{mean(0), mean(1), mean(2)};
  // A mean that lands on the key colour would turn visible pixels transparent.
  if (colour == keyWhite) colour = Rgb{254, 254, 254};
  return colour;
}

std::vector<Rgb> medianCut(Box all, std::size_t boxCount) {
  std::vector<Box> boxes;
  boxes.push_back(std::move(all));
  while (boxes.size() < boxCount) {
    std::size_t widest = boxes.size();
    int widestRange = 0;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].size() < 2) continue;
      const int range = widestChannel(boxes[i]).second;
      if (range > widestRange) {
        widestRange = range;
        widest = i;
      }
    }
    if (widest == boxes.size()) break;
    auto halves = splitAtMedian(std::move(boxes[widest]));
    boxes[widest] = std::move(halves.first);
    boxes.push_back(std::move(halves.second));
  }
  std::vector<Rgb> means;
  for (const Box& box : boxes) means.push_back(weightedMean(box));
  return means;
}

int squaredDistance(Rgb a, Rgb b) {
  const int dr = int(a.red) - b.red;
  const int dg = int(a.green) - b.green;
  const int db = int(a.blue) - b.blue;
  return dr * dr + dg * dg + db * db;
}

}  // namespace

PaletteQuantiser::PaletteQuantiser(std::vector<Rgb> keptColours)
    : reserved(std::move(keptColours)) {
  if (std::find(reserved.begin(), reserved.end(), keyWhite) == reserved.end())
    reserved.push_back(keyWhite);
}

std::vector<Rgb> PaletteQuantiser::buildPalette(const RgbImage& image) const {
  std::map<std::uint32_t, ColourCount> histogram;
  for (Rgb pixel : image.pixels) {
    ColourCount& entry = histogram[packed(pixel)];
    entry.colour = pixel;
    ++entry.count;
  }
  std::vector<Rgb> palette = reserved;
  Box others;
  for (const auto& item : histogram)
    if (std::find(reserved.begin(), reserved.end(), item.second.colour) == reserved.end())
      others.push_back(item.second);
  if (others.empty()) return palette;
  if (palette.size() + others.size() <= paletteSize) {
    for (const ColourCount& entry : others) palette.push_back(entry.colour);
    return palette;
  }
  for (Rgb mean : medianCut(std::move(others), paletteSize - palette.size()))
    palette.push_back(mean);
  return palette;
}

int PaletteQuantiser::indexFor(Rgb colour, const std::vector<Rgb>& palette) const {
  int best = -1;
  int bestDistance = 0;
  for (std::size_t i = 0; i < palette.size(); ++i) {
    if (palette[i] == colour) return static_cast<int>(i);
    if (palette[i] == keyWhite) continue;
    const int distance = squaredDistance(colour, palette[i]);
    if (best < 0 || distance < bestDistance) {
      best = static_cast<int>(i);
      bestDistance = distance;
    }
  }
  return best;
}

IndexedImage PaletteQuantiser::quantise(const RgbImage& image) const {
  IndexedImage result;
  result.width = image.width;
  result.height = image.height;
  result.palette = buildPalette(image);
  std::unordered_map<std::uint32_t, std::uint8_t> cache;
  result.indices.reserve(image.pixels.size());
  for (Rgb pixel : image.pixels) {
    auto found = cache.find(packed(pixel));
    if (found == cache.end())
      found =
          cache.emplace(packed(pixel), static_cast<std::uint8_t>(indexFor(pixel, result.palette)))
              .first;
    result.indices.push_back(found->second);
  }
  return result;
}

}  // namespace wrenfold
