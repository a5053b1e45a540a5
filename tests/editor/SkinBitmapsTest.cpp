// Checks the committed skin bitmaps: the file format the module's decoder expects, and the pixels
// that have to line up with the editor's layout (greys under the controls, the white key).

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "editor/EditorLayout.h"
#include "editor/Skin.h"

namespace {

struct Colour {
  int red;
  int green;
  int blue;
  bool operator==(const Colour& other) const {
    return red == other.red && green == other.green && blue == other.blue;
  }
  bool operator!=(const Colour& other) const { return !(*this == other); }
};

std::ostream& operator<<(std::ostream& out, const Colour& c) {
  return out << "(" << c.red << ", " << c.green << ", " << c.blue << ")";
}

Colour colourOf(wrenfold::Color c) { return Colour{c.red, c.green, c.blue}; }

const Colour channelGreyColour = colourOf(wrenfold::skin::channelGrey);
const Colour lowerGreyColour = colourOf(wrenfold::skin::lowerGrey);
const Colour keyWhite{255, 255, 255};

// Reads an 8-bit bottom-up BMP straight from its bytes.
class BmpFile {
 public:
  explicit BmpFile(wrenfold::skin::BitmapId id) {
    const std::string name = wrenfold::skin::bitmap(id).fileName;
    std::ifstream file(std::string(WRENFOLD_SOURCE_DIR) + "/resources/" + name, std::ios::binary);
    fileBytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }

  std::size_t size() const { return fileBytes.size(); }
  std::uint32_t u16(std::size_t at) const { return fileBytes[at] | (fileBytes[at + 1] << 8); }
  std::uint32_t u32(std::size_t at) const { return u16(at) | (u16(at + 2) << 16); }
  std::int32_t s32(std::size_t at) const { return static_cast<std::int32_t>(u32(at)); }

  int width() const { return s32(18); }
  int height() const { return s32(22); }
  std::uint32_t paletteEntries() const { return u32(46) == 0 ? 256 : u32(46); }

  // Returns the colour at column x, row y counted from the top of the picture.
  Colour pixel(int x, int y) const {
    const std::size_t stride = (static_cast<std::size_t>(width()) + 3) & ~std::size_t{3};
    const std::size_t row = static_cast<std::size_t>(height() - 1 - y);
    const std::uint8_t index = fileBytes[u32(10) + row * stride + static_cast<std::size_t>(x)];
    const std::size_t entry = 14 + u32(14) + index * 4u;
    return Colour{fileBytes[entry + 2], fileBytes[entry + 1], fileBytes[entry]};
  }

 private:
  std::vector<std::uint8_t> fileBytes;
};

using wrenfold::Rect;
using wrenfold::layout::ControlKind;
using wrenfold::layout::PlacedControl;
namespace skin = wrenfold::skin;

// Returns the editor's displays (display true) or its knobs, sliders and buttons.
std::vector<PlacedControl> placedControls(bool displays) {
  std::vector<PlacedControl> result;
  for (int32_t position = 0; position < wrenfold::layout::controlCount; ++position) {
    const PlacedControl placed = wrenfold::layout::placedControl(position);
    if ((placed.row.kind == ControlKind::display) == displays) result.push_back(placed);
  }
  return result;
}

// Expects every pixel of the rectangle (inclusive edges) to have the given colour.
void expectUniform(const BmpFile& face, Rect area, Colour colour) {
  for (int y = area.top; y <= area.bottom; ++y)
    for (int x = area.left; x <= area.right; ++x)
      ASSERT_EQ(face.pixel(x, y), colour) << "at (" << x << ", " << y << ")";
}

// Expects the area an image covers, plus a one-pixel ring around it, to be plain grey: nothing
// printed there would show, and the image's edge would show as a seam.
void expectPlainUnder(const BmpFile& face, Rect image, Colour colour) {
  expectUniform(face, {image.left - 1, image.top - 1, image.right, image.bottom}, colour);
}

// Returns true when some pixel in the band under the image is dark enough to be label ink.
bool hasInkBelow(const BmpFile& face, Rect image) {
  for (int y = image.bottom + 1; y <= image.bottom + 12; ++y)
    for (int x = image.left - 8; x < image.right + 8; ++x)
      if (face.pixel(x, y).red < 110) return true;
  return false;
}

TEST(SkinBitmaps, AreEightBitUncompressedBottomUpWithExactSizes) {
  for (const skin::SkinBitmap& spec : skin::bitmaps) {
    SCOPED_TRACE(spec.fileName);
    const BmpFile file(static_cast<skin::BitmapId>(spec.id));
    ASSERT_GE(file.size(), 54u);
    EXPECT_EQ(file.u16(0), 0x4D42u);  // "BM"
    EXPECT_EQ(file.u32(2), file.size());
    EXPECT_EQ(file.u32(14), 40u);
    EXPECT_EQ(file.width(), spec.width);
    EXPECT_EQ(file.height(), spec.height);  // positive: bottom-up
    EXPECT_EQ(file.u16(26), 1u);
    EXPECT_EQ(file.u16(28), 8u);
    EXPECT_EQ(file.u32(30), 0u);  // BI_RGB
    EXPECT_LE(file.paletteEntries(), 256u);
    const std::size_t stride = (static_cast<std::size_t>(spec.width) + 3) & ~std::size_t{3};
    EXPECT_GE(file.u32(10), 54u + 4u * file.paletteEntries());
    EXPECT_LE(file.u32(10) + stride * static_cast<std::size_t>(spec.height), file.size());
  }
}

TEST(SkinBitmaps, KnobBodyCornersCarryTheGreyUnderThem) {
  const struct {
    skin::BitmapId id;
    Colour grey;
  } bodies[] = {{skin::lowerKnobBitmap, lowerGreyColour},
                {skin::channelKnobBitmap, channelGreyColour}};
  for (const auto& body : bodies) {
    const BmpFile file(body.id);
    SCOPED_TRACE(skin::bitmap(body.id).fileName);
    const int w = file.width(), h = file.height();
    for (int y : {0, 1, h - 2, h - 1})
      for (int x : {0, 1, w - 2, w - 1})
        EXPECT_EQ(file.pixel(x, y), body.grey) << "at (" << x << ", " << y << ")";
    EXPECT_NE(file.pixel(w / 2, h / 2), body.grey);
  }
}

TEST(SkinBitmaps, HandlesAreWhiteOnlyWhereTheyMustNotShow) {
  const BmpFile dot(skin::knobHandleBitmap);
  for (int y : {0, dot.height() - 1})
    for (int x : {0, dot.width() - 1}) EXPECT_EQ(dot.pixel(x, y), keyWhite);
  for (int y = 2; y <= dot.height() - 3; ++y)
    for (int x = 2; x <= dot.width() - 3; ++x) EXPECT_NE(dot.pixel(x, y), keyWhite);

  const BmpFile cap(skin::sliderHandleBitmap);
  for (int y : {0, cap.height() - 1})
    for (int x : {0, cap.width() - 1}) EXPECT_EQ(cap.pixel(x, y), keyWhite);
  for (int y = 1; y <= cap.height() - 3; ++y)
    for (int x = 3; x <= cap.width() - 4; ++x)
      EXPECT_NE(cap.pixel(x, y), keyWhite) << "at (" << x << ", " << y << ")";
}

TEST(SkinBitmaps, OpaqueImagesContainNoKeyWhite) {
  for (skin::BitmapId id : {skin::backgroundBitmap, skin::lowerKnobBitmap, skin::channelKnobBitmap,
                            skin::sliderTrackBitmap, skin::buttonBitmap}) {
    SCOPED_TRACE(skin::bitmap(id).fileName);
    const BmpFile file(id);
    for (int y = 0; y < file.height(); ++y)
      for (int x = 0; x < file.width(); ++x)
        ASSERT_NE(file.pixel(x, y), keyWhite) << "at (" << x << ", " << y << ")";
  }
}

TEST(SkinBitmaps, ButtonStatesDifferAndSitOnTheLowerGrey) {
  const BmpFile button(skin::buttonBitmap);
  const int imageHeight = button.height() / skin::buttonImages;
  int differing = 0;
  for (int y = 0; y < imageHeight; ++y)
    for (int x = 0; x < button.width(); ++x)
      if (button.pixel(x, y) != button.pixel(x, y + imageHeight)) ++differing;
  EXPECT_GE(differing, 40);
  for (int top : {0, imageHeight}) {
    EXPECT_EQ(button.pixel(0, top), lowerGreyColour);
    EXPECT_EQ(button.pixel(button.width() - 1, top + imageHeight - 1), lowerGreyColour);
  }
}

TEST(SkinBitmaps, SliderTrackEdgesMatchTheChannelPanel) {
  const BmpFile track(skin::sliderTrackBitmap);
  for (int y = 0; y < track.height(); ++y) {
    EXPECT_EQ(track.pixel(0, y), channelGreyColour) << "row " << y;
    EXPECT_EQ(track.pixel(track.width() - 1, y), channelGreyColour) << "row " << y;
  }
}

TEST(SkinBitmaps, DisplayBoxesAndTheirMarginSitOnTheirPanelGrey) {
  const BmpFile face(skin::backgroundBitmap);
  for (const PlacedControl& display : placedControls(true)) {
    const Rect box = display.row.bounds;
    SCOPED_TRACE(testing::Message() << "display at " << box.left << ", " << box.top);
    expectUniform(face, {box.left - 1, box.top - 1, box.right + 1, box.bottom + 1},
                  colourOf(display.panelGrey));
  }
}

TEST(SkinBitmaps, ControlImagesCoverOnlyPlainPanelGrey) {
  const BmpFile face(skin::backgroundBitmap);
  for (const PlacedControl& control : placedControls(false)) {
    SCOPED_TRACE(testing::Message()
                 << "control at " << control.row.bounds.left << ", " << control.row.bounds.top);
    expectPlainUnder(face, control.row.bounds, colourOf(control.panelGrey));
  }
}

TEST(SkinBitmaps, EveryValueControlHasALabelBelowIt) {
  const BmpFile face(skin::backgroundBitmap);
  for (const PlacedControl& control : placedControls(false)) {
    SCOPED_TRACE(testing::Message()
                 << "control at " << control.row.bounds.left << ", " << control.row.bounds.top);
    EXPECT_TRUE(hasInkBelow(face, control.row.bounds));
  }
}

}  // namespace
