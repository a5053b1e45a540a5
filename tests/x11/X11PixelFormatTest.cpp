// The conversion of drawn pixels into a screen's own format, over made-up screens: Xvfb serves
// only least-significant-byte-first screens, so the other formats are described here instead.
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <vector>

#include "gui/platform/x11/X11PixelFormat.h"

namespace wrenfold {
namespace {

// Each row: a screen's depth, bits per pixel, byte order and channel masks, a drawn 0x00RRGGBB
// pixel and the bytes the server must receive for it.
struct ScreenCase {
  const char* name;
  uint8_t depth, bitsPerPixel;
  bool msbFirst;
  uint32_t red, green, blue;
  uint32_t drawn;
  std::vector<uint8_t> sent;
};

TEST(X11PixelFormat, DrawnPixelsReachEveryScreenFormatAsTheServerTakesThem) {
  const ScreenCase cases[] = {
      {"24-bit, most significant byte first", 24, 32, true, 0xff0000, 0xff00, 0xff, 0x123456, {0x00, 0x12, 0x34, 0x56}},
      {"16-bit 5-6-5, most significant byte first", 16, 16, true, 0xf800, 0x7e0, 0x1f, 0x123456, {0x11, 0xaa}},
      {"30-bit: white keeps the low bits of its channels", 30, 32, false, 0x3ff00000, 0xffc00, 0x3ff, 0xffffff,
       {0xff, 0xff, 0xff, 0x3f}},
      {"32-bit visual: the bits outside the channels are set", 32, 32, false, 0xff0000, 0xff00, 0xff, 0x123456,
       {0x56, 0x34, 0x12, 0xff}},
  };
  for (const ScreenCase& test : cases) {
    SCOPED_TRACE(test.name);
    // The setup with one image format after it; the screen with one depth and its root visual.
    alignas(8) uint8_t setupBytes[sizeof(xcb_setup_t) + sizeof(xcb_format_t)] = {};
    alignas(8) uint8_t screenBytes[sizeof(xcb_screen_t) + sizeof(xcb_depth_t) + sizeof(xcb_visualtype_t)] = {};
    auto* setup = reinterpret_cast<xcb_setup_t*>(setupBytes);
    setup->pixmap_formats_len = 1;
    setup->image_byte_order = test.msbFirst ? XCB_IMAGE_ORDER_MSB_FIRST : XCB_IMAGE_ORDER_LSB_FIRST;
    auto* format = reinterpret_cast<xcb_format_t*>(setup + 1);
    *format = {test.depth, test.bitsPerPixel, 32, {}};
    auto* screen = reinterpret_cast<xcb_screen_t*>(screenBytes);
    screen->root_depth = test.depth;
    screen->root_visual = 1;
    screen->allowed_depths_len = 1;
    auto* depth = reinterpret_cast<xcb_depth_t*>(screen + 1);
    depth->depth = test.depth;
    depth->visuals_len = 1;
    auto* visual = reinterpret_cast<xcb_visualtype_t*>(depth + 1);
    *visual = {1, XCB_VISUAL_CLASS_TRUE_COLOR, 8, 256, test.red, test.green, test.blue, {}};

    const x11::X11PixelFormat pixels = x11::X11PixelFormat::ofScreen(setup, screen);
    ASSERT_TRUE(pixels.usable());
    std::vector<uint8_t> row(pixels.rowBytes(1));
    pixels.convertRow(&test.drawn, 1, row.data());
    EXPECT_EQ(std::vector<uint8_t>(row.begin(), row.begin() + test.bitsPerPixel / 8), test.sent);
  }
}

}  // namespace
}  // namespace wrenfold
