#include "gui/platform/x11/X11PixelFormat.h"

#include <cstring>

namespace wrenfold {
namespace x11 {

namespace {

// Returns the screen's root visual, or null.
const xcb_visualtype_t* rootVisual(const xcb_screen_t* screen) {
  for (xcb_depth_iterator_t depths = xcb_screen_allowed_depths_iterator(screen); depths.rem > 0;
       xcb_depth_next(&depths)) {
    for (xcb_visualtype_iterator_t visuals = xcb_depth_visuals_iterator(depths.data);
         visuals.rem > 0; xcb_visualtype_next(&visuals)) {
      if (visuals.data->visual_id == screen->root_visual) return visuals.data;
    }
  }
  return nullptr;
}

// Returns the image format of a depth, or null.
const xcb_format_t* formatOfDepth(const xcb_setup_t* setup, uint8_t depth) {
  for (xcb_format_iterator_t formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem > 0;
       xcb_format_next(&formats)) {
    if (formats.data->depth == depth) return formats.data;
  }
  return nullptr;
}

}  // namespace

X11PixelFormat::Channel X11PixelFormat::channelOf(uint32_t mask) {
  Channel channel;
  if (mask == 0) return channel;
  while ((mask >> channel.shift & 1u) == 0) ++channel.shift;
  uint32_t bits = 0;
  while (channel.shift + bits < 32 && (mask >> (channel.shift + bits) & 1u) != 0) ++bits;
  // Anything but one run of 1 to 16 ones is no channel this conversion serves.
  if (bits > 16 || (mask >> channel.shift) != (1u << bits) - 1u) return Channel{};
  channel.bits = bits;
  return channel;
}

uint32_t X11PixelFormat::Channel::place(uint32_t value) const {
  // Wider channels repeat the top bits, so that white stays full white.
  const uint32_t scaled =
      bits <= 8 ? value >> (8 - bits) : (value << (bits - 8)) | (value >> (16 - bits));
  return scaled << shift;
}

X11PixelFormat X11PixelFormat::ofScreen(const xcb_setup_t* setup, const xcb_screen_t* screen) {
  X11PixelFormat format;
  const xcb_visualtype_t* visual = rootVisual(screen);
  const xcb_format_t* image = formatOfDepth(setup, screen->root_depth);
  if (visual == nullptr || image == nullptr || visual->_class != XCB_VISUAL_CLASS_TRUE_COLOR)
    return format;
  const uint32_t bytes = image->bits_per_pixel / 8u;
  if (bytes < 2 || bytes > 4 || image->bits_per_pixel % 8 != 0 || screen->root_depth > 32)
    return format;
  format.red = channelOf(visual->red_mask);
  format.green = channelOf(visual->green_mask);
  format.blue = channelOf(visual->blue_mask);
  if (format.red.bits == 0 || format.green.bits == 0 || format.blue.bits == 0) return format;
  const uint32_t depthMask = screen->root_depth >= 32 ? ~0u : (1u << screen->root_depth) - 1u;
  format.unusedBits = depthMask & ~(visual->red_mask | visual->green_mask | visual->blue_mask);
  format.depthBits = screen->root_depth;
  format.scanlinePadBytes = image->scanline_pad >= 8 ? image->scanline_pad / 8u : 1u;
  format.mostSignificantFirst = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
  format.asDrawn = bytes == 4 && !format.mostSignificantFirst && format.unusedBits == 0 &&
                   visual->red_mask == 0xff0000u && visual->green_mask == 0xff00u &&
                   visual->blue_mask == 0xffu;
  format.bytesPerPixel = bytes;
  return format;
}

uint32_t X11PixelFormat::rowBytes(int32_t width) const {
  const uint32_t bytes = static_cast<uint32_t>(width) * bytesPerPixel;
  return (bytes + scanlinePadBytes - 1) / scanlinePadBytes * scanlinePadBytes;
}

uint32_t X11PixelFormat::pixelOf(uint32_t rgb) const {
  return red.place(rgb >> 16 & 0xffu) | green.place(rgb >> 8 & 0xffu) | blue.place(rgb & 0xffu) |
         unusedBits;
}

void X11PixelFormat::convertRow(const uint32_t* pixels, int32_t width, uint8_t* out) const {
  if (asDrawn) {
    std::memcpy(out, pixels, static_cast<std::size_t>(width) * 4);
    return;
  }
  for (int32_t i = 0; i < width; ++i, out += bytesPerPixel) {
    const uint32_t value = pixelOf(pixels[i]);
    for (uint32_t b = 0; b < bytesPerPixel; ++b) {
      const uint32_t byte = mostSignificantFirst ? bytesPerPixel - 1 - b : b;
      out[b] = static_cast<uint8_t>(value >> (8 * byte));
    }
  }
}

}  // namespace x11
}  // namespace wrenfold
