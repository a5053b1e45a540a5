// The pixel conversion over made-up screens: Xvfb serves only least-significant-byte-first ones.
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <vector>

#include "gui/platform/x11/X11PixelFormat.h"

namespace wrenfold {
namespace {

// Each row: a screen (depth, bits per pixel, byte order, channel masks), a drawn 0x00RRGGBB pixel
// and the bytes the server must receive for it.
struct ScreenCase {
  const char* name;
  uint8_t depth, bitsPerPixel, byteOrder;
  uint32_t red, green, blue, drawn;
  std::vector<uint8_t> sent;
};

TEST(X11PixelFormat, DrawnPixelsReachEveryScreenFormatAsTheServerTakesThem) {
  const ScreenCase cases[] = {
      {"most significant byte first",
       24,
       32,
       XCB_IMAGE_ORDER_MSB_FIRST,
       0xff0000,
       0xff00,
       0xff,
       0x123456,
       {0x00, 0x12, 0x34, 0x56}},
      {"30-bit: white keeps the low bits",
       30,
       32,
       XCB_IMAGE_ORDER_LSB_FIRST,
       0x3ff00000,
       0xffc00,
       0x3ff,
       0xffffff,
       {0xff, 0xff, 0xff, 0x3f}},
      {"32-bit visual: the bits beside the channels are set",
       32,
       32,
       XCB_IMAGE_ORDER_LSB_FIRST,
       0xff0000,
       0xff00,
       0xff,
       0x123456,
       {0x56, 0x34, 0x12, 0xff}},
  };
  for (const ScreenCase& test : cases) {
    SCOPED_TRACE(test.name);
    // The setup followed by its one image format; the screen by its one depth and root visual.
    struct {
      xcb_setup_t setup;
      xcb_format_t format;
    } server{};
    server.setup.pixmap_formats_len = 1;
    server.setup.image_byte_order = test.byteOrder;
    server.format = {test.depth, test.bitsPerPixel, 32, {}};
    struct {
      xcb_screen_t screen;
      xcb_depth_t depth;
      xcb_visualtype_t visual;
    } root{};
    root.screen.root_depth = root.depth.depth = test.depth;
    root.screen.root_visual = 1;
    root.screen.allowed_depths_len = root.depth.visuals_len = 1;
    root.visual = {1, XCB_VISUAL_CLASS_TRUE_COLOR, 8, 256, test.red, test.green, test.blue, {}};

    const x11::X11PixelFormat format = x11::X11PixelFormat::ofScreen(&server.setup, &root.screen);
    std::vector<uint8_t> row(format.rowBytes(1));
    format.convertRow(&test.drawn, 1, row.data());
    EXPECT_EQ(row, test.sent);
  }
}

}  // namespace
}  // namespace wrenfold
