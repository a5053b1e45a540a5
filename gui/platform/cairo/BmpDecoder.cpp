#include "gui/platform/cairo/BmpDecoder.h"

#include <utility>

namespace wrenfold {

namespace {

constexpr std::size_t fileHeaderSize = 14;
constexpr uint32_t infoHeaderSize = 40;
constexpr uint32_t paletteEntrySize = 4;
constexpr uint32_t fullPaletteSize = 256;

uint32_t readU16(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8);
}

uint32_t readU32(const unsigned char* p) { return readU16(p) | (readU16(p + 2) << 16); }

int32_t readS32(const unsigned char* p) { return static_cast<int32_t>(readU32(p)); }

struct Header {
  uint32_t pixelOffset;
  uint32_t headerSize;
  int32_t width;
  int32_t height;  // negative for top-down rows
  uint32_t planes;
  uint32_t bitsPerPixel;
  uint32_t compression;
  uint32_t colorsUsed;
};

bool readHeader(const unsigned char* bytes, std::size_t size, Header& header) {
  if (size < fileHeaderSize + infoHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') return false;
  header.pixelOffset = readU32(bytes + 10);
  const unsigned char* info = bytes + fileHeaderSize;
  header.headerSize = readU32(info);
  header.width = readS32(info + 4);
  header.height = readS32(info + 8);
  header.planes = readU16(info + 12);
  header.bitsPerPixel = readU16(info + 14);
  header.compression = readU32(info + 16);
  header.colorsUsed = readU32(info + 32);
  return true;
}

bool isSupported(const Header& header) {
  if (header.headerSize < infoHeaderSize || header.planes != 1) return false;
  if (header.bitsPerPixel != 8 || header.compression != 0) return false;
  if (header.width <= 0 || header.width > maximumBitmapSide) return false;
  if (header.height == 0 || header.height < -maximumBitmapSide || header.height > maximumBitmapSide)
    return false;
  return header.colorsUsed <= fullPaletteSize;
}

// Checks that the palette and the rows the header announces lie inside the file.
bool fitsInFile(const Header& header, std::size_t size) {
  const uint32_t paletteCount = header.colorsUsed == 0 ? fullPaletteSize : header.colorsUsed;
  const uint64_t paletteStart = fileHeaderSize + static_cast<uint64_t>(header.headerSize);
  const uint64_t paletteEnd = paletteStart + static_cast<uint64_t>(paletteCount) * paletteEntrySize;
  if (paletteEnd > size || paletteEnd > header.pixelOffset) return false;
  const uint64_t height = static_cast<uint64_t>(header.height < 0 ? -header.height : header.height);
  const uint64_t stride = (static_cast<uint64_t>(header.width) + 3) & ~static_cast<uint64_t>(3);
  return static_cast<uint64_t>(header.pixelOffset) + stride * height <= size;
}

}  // namespace

bool readBmpSize(const unsigned char* bytes, std::size_t size, int32_t& width, int32_t& height) {
  Header header;
  if (bytes == nullptr || !readHeader(bytes, size, header) || !isSupported(header) ||
      !fitsInFile(header, size))
    return false;
  width = header.width;
  height = header.height < 0 ? -header.height : header.height;
  return true;
}

bool decodeBmp(const unsigned char* bytes, std::size_t size, DecodedBitmap& image) {
  image = DecodedBitmap();
  Header header;
  if (bytes == nullptr || !readHeader(bytes, size, header) || !isSupported(header) ||
      !fitsInFile(header, size))
    return false;

  const uint32_t paletteCount = header.colorsUsed == 0 ? fullPaletteSize : header.colorsUsed;
  const uint64_t paletteStart = fileHeaderSize + static_cast<uint64_t>(header.headerSize);
  const int32_t width = header.width;
  const int32_t height = header.height < 0 ? -header.height : header.height;
  const uint64_t stride = (static_cast<uint64_t>(width) + 3) & ~static_cast<uint64_t>(3);

  uint32_t palette[fullPaletteSize];
  for (uint32_t i = 0; i < paletteCount; ++i) {
    const unsigned char* entry =
        bytes + paletteStart + i * paletteEntrySize;  // blue, green, red, reserved
    palette[i] =
        (static_cast<uint32_t>(entry[2]) << 16) | (static_cast<uint32_t>(entry[1]) << 8) | entry[0];
  }

  DecodedBitmap decoded;
  decoded.width = width;
  decoded.height = height;
  decoded.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  const bool bottomUp = header.height > 0;
  for (int32_t row = 0; row < height; ++row) {
    const int32_t fileRow = bottomUp ? height - 1 - row : row;
    const unsigned char* source =
        bytes + header.pixelOffset + stride * static_cast<uint64_t>(fileRow);
    uint32_t* target =
        decoded.pixels.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(width);
    for (int32_t column = 0; column < width; ++column) {
      if (source[column] >= paletteCount) return false;
      target[column] = palette[source[column]];
    }
  }
  image = std::move(decoded);
  return true;
}

}  // namespace wrenfold
