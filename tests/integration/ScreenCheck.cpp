// wrenfold-screen-check CAPTURE.xwd EXPECTED.png SAVED.png: compares a window dump written by xwd
// (ZPixmap, 24 or 32 bits per pixel, true colour) with a PNG pixel for pixel. The capture is also
// written as SAVED.png so that a failed comparison can be looked at. Exits 0 when both have the
// same size and every pixel's red, green and blue are equal, 1 otherwise.
#include <cairo.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// The fields of an xwd header, in file order; all are 32-bit big-endian.
enum XwdField {
  headerSize,
  fileVersion,
  pixmapFormat,
  pixmapDepth,
  widthField,
  heightField,
  xOffset,
  byteOrderField,
  bitmapUnit,
  bitmapBitOrder,
  bitmapPad,
  bitsPerPixel,
  bytesPerLine,
  visualClass,
  redMask,
  greenMask,
  blueMask,
  bitsPerRgb,
  colormapEntries,
  colorCount,
  fieldCount = 25
};
constexpr uint32_t zPixmap = 2;
constexpr uint32_t trueColor = 4;
constexpr std::size_t colorRecordSize = 12;

struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> rgb;  // 0x00RRGGBB, row by row
};

uint32_t readBigEndian(const std::vector<unsigned char>& bytes, std::size_t at) {
  return static_cast<uint32_t>(bytes[at]) << 24 | static_cast<uint32_t>(bytes[at + 1]) << 16 |
         static_cast<uint32_t>(bytes[at + 2]) << 8 | bytes[at + 3];
}

// Reads one pixel of `size` bytes in the dump's byte order (0 = least significant byte first).
uint32_t readPixel(const unsigned char* at, uint32_t size, uint32_t byteOrder) {
  uint32_t value = 0;
  for (uint32_t i = 0; i < size; ++i) {
    const uint32_t byte = byteOrder == 0 ? at[size - 1 - i] : at[i];
    value = value << 8 | byte;
  }
  return value;
}

// Moves the bits under `mask` down to an 8-bit channel value.
uint32_t channel(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  uint32_t value = pixel & mask;
  while ((mask & 1u) == 0) {
    mask >>= 1;
    value >>= 1;
  }
  return value & 0xffu;
}

bool readXwd(const char* path, Image& image, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)),
                                         std::istreambuf_iterator<char>());
  if (bytes.size() < fieldCount * 4) {
    error = "not an xwd dump";
    return false;
  }
  uint32_t field[fieldCount];
  for (int i = 0; i < fieldCount; ++i)
    field[i] = readBigEndian(bytes, static_cast<std::size_t>(i) * 4);
  const uint32_t bytesPerPixel = field[bitsPerPixel] / 8;
  if (field[pixmapFormat] != zPixmap || field[visualClass] != trueColor ||
      (bytesPerPixel != 3 && bytesPerPixel != 4)) {
    error = "not a true-colour ZPixmap dump of 24 or 32 bits per pixel";
    return false;
  }
  const std::size_t pixels = field[headerSize] + field[colorCount] * colorRecordSize;
  const std::size_t end =
      pixels + static_cast<std::size_t>(field[bytesPerLine]) * field[heightField];
  if (end > bytes.size() ||
      static_cast<std::size_t>(field[widthField]) * bytesPerPixel > field[bytesPerLine]) {
    error = "the dump is truncated";
    return false;
  }
  image.width = static_cast<int>(field[widthField]);
  image.height = static_cast<int>(field[heightField]);
  for (uint32_t y = 0; y < field[heightField]; ++y) {
    for (uint32_t x = 0; x < field[widthField]; ++x) {
      const unsigned char* at = &bytes[pixels + y * field[bytesPerLine] + x * bytesPerPixel];
      const uint32_t pixel = readPixel(at, bytesPerPixel, field[byteOrderField]);
      image.rgb.push_back(channel(pixel, field[redMask]) << 16 |
                          channel(pixel, field[greenMask]) << 8 | channel(pixel, field[blueMask]));
    }
  }
  return true;
}

bool readPng(const char* path, Image& image) {
  cairo_surface_t* surface = cairo_image_surface_create_from_png(path);
  const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
  if (ok) {
    cairo_surface_flush(surface);
    image.width = cairo_image_surface_get_width(surface);
    image.height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    for (int y = 0; y < image.height; ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
      for (int x = 0; x < image.width; ++x) image.rgb.push_back(row[x] & 0xffffffu);
    }
  }
  cairo_surface_destroy(surface);
  return ok;
}

bool writePng(const Image& image, const char* path) {
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, image.width, image.height);
  const int stride = cairo_image_surface_get_stride(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  for (int y = 0; y < image.height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
    for (int x = 0; x < image.width; ++x)
      row[x] = image.rgb[static_cast<std::size_t>(y * image.width + x)];
  }
  cairo_surface_mark_dirty(surface);
  const bool ok = cairo_surface_write_to_png(surface, path) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return ok;
}

// Prints how many pixels differ and where the first one is; returns that count.
long reportDifferences(const Image& capture, const Image& expected) {
  long differing = 0;
  for (std::size_t i = 0; i < capture.rgb.size(); ++i) {
    if (capture.rgb[i] == expected.rgb[i]) continue;
    if (differing++ == 0) {
      std::printf("first difference at (%d, %d): captured #%06x, expected #%06x\n",
                  static_cast<int>(i) % capture.width, static_cast<int>(i) / capture.width,
                  capture.rgb[i], expected.rgb[i]);
    }
  }
  std::printf("%ld of %zu pixels differ\n", differing, capture.rgb.size());
  return differing;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: wrenfold-screen-check CAPTURE.xwd EXPECTED.png SAVED.png\n");
    return 2;
  }
  Image capture;
  Image expected;
  std::string error;
  if (!readXwd(argv[1], capture, error)) {
    std::printf("FAIL: %s: %s\n", argv[1], error.c_str());
    return 1;
  }
  if (!writePng(capture, argv[3])) std::printf("cannot write %s\n", argv[3]);
  if (!readPng(argv[2], expected)) {
    std::printf("FAIL: cannot read %s\n", argv[2]);
    return 1;
  }
  if (capture.width != expected.width || capture.height != expected.height) {
    std::printf("FAIL: captured %d x %d, expected %d x %d\n", capture.width, capture.height,
                expected.width, expected.height);
    return 1;
  }
  return reportDifferences(capture, expected) == 0 ? 0 : 1;
}
