#include "tools/skingen/BmpWriter.h"

#include <fstream>

namespace wrenfold {

namespace {

constexpr std::uint32_t fileHeaderSize = 14;
constexpr std::uint32_t infoHeaderSize = 40;
constexpr std::uint32_t paletteEntries = 256;
constexpr std::uint32_t pixelsPerMetre = 2835;  // 72 dots per inch

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

}  // namespace

std::vector<std::uint8_t> BmpWriter::encode(const IndexedImage& image) {
  const std::uint32_t width = static_cast<std::uint32_t>(image.width);
  const std::uint32_t height = static_cast<std::uint32_t>(image.height);
  const std::uint32_t stride = (width + 3) & ~3u;
  const std::uint32_t pixelOffset = fileHeaderSize + infoHeaderSize + paletteEntries * 4;
  const std::uint32_t imageSize = stride * height;

  std::vector<std::uint8_t> out;
  out.reserve(pixelOffset + imageSize);
  out.push_back('B');
  out.push_back('M');
  put32(out, pixelOffset + imageSize);
  put32(out, 0);
  put32(out, pixelOffset);

  put32(out, infoHeaderSize);
  put32(out, width);
  put32(out, height);  // positive: rows are stored bottom-up
  put16(out, 1);       // planes
  put16(out, 8);       // bits per pixel
  put32(out, 0);       // BI_RGB, no compression
  put32(out, imageSize);
  put32(out, pixelsPerMetre);
  put32(out, pixelsPerMetre);
  put32(out, paletteEntries);
  put32(out, 0);

  for (std::uint32_t i = 0; i < paletteEntries; ++i) {
    const Rgb colour = i < image.palette.size() ? image.palette[i] : Rgb{};
    out.push_back(colour.blue);
    out.push_back(colour.green);
    out.push_back(colour.red);
    out.push_back(0);
  }

  for (std::uint32_t row = height; row-- > 0;) {
    const auto first = image.indices.begin() + static_cast<std::ptrdiff_t>(row * width);
    out.insert(out.end(), first, first + static_cast<std::ptrdiff_t>(width));
    out.insert(out.end(), stride - width, 0);
  }
  return out;
}

bool BmpWriter::write(const IndexedImage& image, const std::string& path) {
  const std::vector<std::uint8_t> bytes = encode(image);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

}  // namespace wrenfold
