// Skin pictures at a window's scale: the double-size resource as it is at 2, else resized from it
// (or from the 1× bitmap where the module has no double-size one) into a 32-bit DIB section, so
// copies at that scale are 1:1 in device pixels.
#include <cstring>
#include <new>
#include <vector>

#include "gui/platform/shared/DeviceScale.h"
#include "gui/platform/shared/ImageResampler.h"
#include "gui/platform/win32/Win32Surface.h"

namespace wrenfold {

namespace {

// The key colour as the pixels hold it: 0x00RRGGBB.
uint32_t keyPixel() {
  return (uint32_t{transparentKeyColor.red} << 16) | (uint32_t{transparentKeyColor.green} << 8) |
         transparentKeyColor.blue;
}

BITMAPINFO topDownInfo(int32_t width, int32_t height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

bool sizeOf(HBITMAP bitmap, int32_t& width, int32_t& height) {
  BITMAP description;
  if (GetObjectA(bitmap, sizeof(description), &description) == 0) return false;
  width = description.bmWidth;
  height = description.bmHeight;
  return true;
}

// Returns the bitmap's pixels as 0x00RRGGBB, rows top to bottom; empty when they cannot be read.
std::vector<uint32_t> pixelsOf(HBITMAP bitmap, int32_t width, int32_t height) {
  std::vector<uint32_t> pixels(static_cast<std::size_t>(width) * height);
  BITMAPINFO info = topDownInfo(width, height);
  HDC screen = GetDC(nullptr);
  const int rows = screen != nullptr
                       ? GetDIBits(screen, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS)
                       : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  if (rows != height) pixels.clear();
  return pixels;
}

// Returns a DIB section holding the pixels; null on failure.
HBITMAP sectionOf(const std::vector<uint32_t>& pixels, int32_t width, int32_t height) {
  BITMAPINFO info = topDownInfo(width, height);
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (section != nullptr) std::memcpy(bits, pixels.data(), pixels.size() * sizeof(uint32_t));
  return section;
}

// Makes the picture of the loaded bitmap at `scale`, in device pixels; null on failure.
HBITMAP makeScaled(platform::Surface* bitmap, float scale) {
  int32_t width = 0;
  int32_t height = 0;
  if (!sizeOf(bitmap->bitmap, width, height)) return nullptr;
  const int32_t targetWidth = platform::toDevice(width, scale);
  const int32_t targetHeight = platform::toDevice(height, scale);
  HBITMAP doubled = LoadBitmapA(
      bitmap->module, MAKEINTRESOURCEA(bitmap->resourceId + platform::doubleSizeResourceOffset));
  HBITMAP source = doubled != nullptr ? doubled : bitmap->bitmap;
  int32_t sourceWidth = 0;
  int32_t sourceHeight = 0;
  HBITMAP made = nullptr;
  if (sizeOf(source, sourceWidth, sourceHeight)) {
    if (source == doubled && sourceWidth == targetWidth && sourceHeight == targetHeight)
      return doubled;
    const std::vector<uint32_t> pixels = pixelsOf(source, sourceWidth, sourceHeight);
    const std::vector<uint32_t> resized =
        pixels.empty() ? pixels
                       : ImageResampler::resize(pixels.data(), sourceWidth, sourceHeight,
                                                targetWidth, targetHeight, keyPixel());
    if (!resized.empty()) made = sectionOf(resized, targetWidth, targetHeight);
  }
  if (doubled != nullptr) DeleteObject(doubled);
  return made;
}

}  // namespace

namespace win32 {

HBITMAP bitmapAtScale(platform::Surface* bitmap, float scale) {
  if (scale == 1.0f || bitmap->resourceId == 0) return bitmap->bitmap;
  // One picture per bitmap: an editor reopened at another scale makes it afresh.
  // A picture that could not be made is not tried again at the same scale.
  if (bitmap->scaledBitmapScale == scale) return bitmap->scaledBitmap;
  releaseScaledBitmap(bitmap);
  try {
    bitmap->scaledBitmap = makeScaled(bitmap, scale);
  } catch (const std::bad_alloc&) {
    // Short of memory the bitmap draws nothing, as a missing one does.
  }
  bitmap->scaledBitmapScale = scale;
  return bitmap->scaledBitmap;
}

void releaseScaledBitmap(platform::Surface* bitmap) {
  if (bitmap->scaledBitmap != nullptr) DeleteObject(bitmap->scaledBitmap);
  bitmap->scaledBitmap = nullptr;
  bitmap->scaledBitmapScale = 1.0f;
}

}  // namespace win32
}  // namespace wrenfold
