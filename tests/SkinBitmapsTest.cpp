// Checks the committed skin bitmaps: the file format the module's decoder expects, and the pixels
// that have to line up with the editor's layout (greys under the controls, the white key).

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Colour {
  int red;
  int green;
  int blue;
  bool operator==(const Colour& other) const { return red == other.red && green == other.green && blue == other.blue; }
  bool operator!=(const Colour& other) const { return !(*this == other); }
};

std::ostream& operator<<(std::ostream& out, const Colour& c) {
  return out << "(" << c.red << ", " << c.green << ", " << c.blue << ")";
}

const Colour kChannelGrey{183, 183, 183};
const Colour kLowerGrey{168, 168, 168};
const Colour kKeyWhite{255, 255, 255};

// Reads an 8-bit bottom-up BMP straight from its bytes.
class BmpFile {
 public:
  explicit BmpFile(const std::string& name) {
    std::ifstream file(std::string(WRENFOLD_SOURCE_DIR) + "/resources/" + name, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }

  std::size_t size() const { return bytes_.size(); }
  std::uint32_t u16(std::size_t at) const { return bytes_[at] | (bytes_[at + 1] << 8); }
  std::uint32_t u32(std::size_t at) const { return u16(at) | (u16(at + 2) << 16); }
  std::int32_t s32(std::size_t at) const { return static_cast<std::int32_t>(u32(at)); }

  int width() const { return s32(18); }
  int height() const { return s32(22); }
  std::uint32_t paletteEntries() const { return u32(46) == 0 ? 256 : u32(46); }

  // Returns the colour at column x, row y counted from the top of the picture.
  Colour pixel(int x, int y) const {
    const std::size_t stride = (static_cast<std::size_t>(width()) + 3) & ~std::size_t{3};
    const std::size_t row = static_cast<std::size_t>(height() - 1 - y);
    const std::uint8_t index = bytes_[u32(10) + row * stride + static_cast<std::size_t>(x)];
    const std::size_t entry = 14 + u32(14) + index * 4u;
    return Colour{bytes_[entry + 2], bytes_[entry + 1], bytes_[entry]};
  }

 private:
  std::vector<std::uint8_t> bytes_;
};

struct Rect {
  int left, top, right, bottom;
};

struct SkinCase {
  const char* name;
  int width;
  int height;
};

const SkinCase kSkins[] = {
    {"128-background.bmp", 350, 430}, {"129-lower-knob.bmp", 30, 30},    {"130-channel-knob.bmp", 30, 30},
    {"131-knob-handle.bmp", 6, 6},     {"132-slider-track.bmp", 20, 180}, {"133-slider-handle.bmp", 20, 10},
    {"134-button.bmp", 20, 54},
};

// Display boxes cover their right column and bottom row.
std::vector<Rect> channelDisplays() {
  std::vector<Rect> boxes;
  for (int x0 : {25, 195}) {
    for (int top : {40, 119, 200}) boxes.push_back({x0 - 10, top, x0 + 40, top + 10});
    for (int offset : {50, 80, 110}) boxes.push_back({x0 + offset, 45, x0 + offset + 30, 55});
  }
  return boxes;
}

const Rect kLowerDisplays[] = {{145, 315, 195, 325}, {205, 315, 255, 325}, {280, 315, 330, 325},
                               {21, 351, 71, 362},   {71, 351, 121, 362}};

// Images cover right - left columns from left.
std::vector<Rect> channelKnobs() {
  std::vector<Rect> knobs;
  for (int x0 : {25, 195})
    for (int top : {55, 134, 215}) knobs.push_back({x0, top, x0 + 30, top + 30});
  return knobs;
}

std::vector<Rect> sliders() {
  std::vector<Rect> result;
  for (int x0 : {25, 195})
    for (int offset : {55, 85, 115}) result.push_back({x0 + offset, 60, x0 + offset + 20, 240});
  return result;
}

const Rect kLowerKnobs[] = {{155, 330, 185, 360}, {215, 330, 245, 360}, {290, 330, 320, 360},
                            {31, 364, 61, 394},   {81, 364, 111, 394}};
const Rect kButtons[] = {{25, 300, 45, 327}, {65, 300, 85, 327}, {105, 300, 125, 327}};

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
  for (const SkinCase& skin : kSkins) {
    SCOPED_TRACE(skin.name);
    const BmpFile file(skin.name);
    ASSERT_GE(file.size(), 54u);
    EXPECT_EQ(file.u16(0), 0x4D42u);  // "BM"
    EXPECT_EQ(file.u32(2), file.size());
    EXPECT_EQ(file.u32(14), 40u);
    EXPECT_EQ(file.width(), skin.width);
    EXPECT_EQ(file.height(), skin.height);  // positive: bottom-up
    EXPECT_EQ(file.u16(26), 1u);
    EXPECT_EQ(file.u16(28), 8u);
    EXPECT_EQ(file.u32(30), 0u);  // BI_RGB
    EXPECT_LE(file.paletteEntries(), 256u);
    const std::size_t stride = (static_cast<std::size_t>(skin.width) + 3) & ~std::size_t{3};
    EXPECT_GE(file.u32(10), 54u + 4u * file.paletteEntries());
    EXPECT_LE(file.u32(10) + stride * static_cast<std::size_t>(skin.height), file.size());
  }
}

TEST(SkinBitmaps, KnobBodyCornersCarryTheGreyUnderThem) {
  const struct {
    const char* name;
    Colour grey;
  } bodies[] = {{"129-lower-knob.bmp", kLowerGrey}, {"130-channel-knob.bmp", kChannelGrey}};
  for (const auto& body : bodies) {
    SCOPED_TRACE(body.name);
    const BmpFile file(body.name);
    for (int y : {0, 1, 28, 29})
      for (int x : {0, 1, 28, 29}) EXPECT_EQ(file.pixel(x, y), body.grey) << "at (" << x << ", " << y << ")";
    EXPECT_NE(file.pixel(15, 15), body.grey);
  }
}

TEST(SkinBitmaps, HandlesAreWhiteOnlyWhereTheyMustNotShow) {
  const BmpFile dot("131-knob-handle.bmp");
  for (int y : {0, 5})
    for (int x : {0, 5}) EXPECT_EQ(dot.pixel(x, y), kKeyWhite);
  for (int y = 2; y <= 3; ++y)
    for (int x = 2; x <= 3; ++x) EXPECT_NE(dot.pixel(x, y), kKeyWhite);

  const BmpFile cap("133-slider-handle.bmp");
  for (int y : {0, 9})
    for (int x : {0, 19}) EXPECT_EQ(cap.pixel(x, y), kKeyWhite);
  for (int y = 1; y <= 7; ++y)
    for (int x = 3; x <= 16; ++x) EXPECT_NE(cap.pixel(x, y), kKeyWhite) << "at (" << x << ", " << y << ")";
}

TEST(SkinBitmaps, OpaqueImagesContainNoKeyWhite) {
  for (const char* name : {"128-background.bmp", "129-lower-knob.bmp", "130-channel-knob.bmp", "132-slider-track.bmp",
                           "134-button.bmp"}) {
    SCOPED_TRACE(name);
    const BmpFile file(name);
    for (int y = 0; y < file.height(); ++y)
      for (int x = 0; x < file.width(); ++x) ASSERT_NE(file.pixel(x, y), kKeyWhite) << "at (" << x << ", " << y << ")";
  }
}

TEST(SkinBitmaps, ButtonStatesDifferAndSitOnTheLowerGrey) {
  const BmpFile button("134-button.bmp");
  int differing = 0;
  for (int y = 0; y < 27; ++y)
    for (int x = 0; x < 20; ++x)
      if (button.pixel(x, y) != button.pixel(x, y + 27)) ++differing;
  EXPECT_GE(differing, 40);
  for (int top : {0, 27}) {
    EXPECT_EQ(button.pixel(0, top), kLowerGrey);
    EXPECT_EQ(button.pixel(19, top + 26), kLowerGrey);
  }
}

TEST(SkinBitmaps, SliderTrackEdgesMatchTheChannelPanel) {
  const BmpFile track("132-slider-track.bmp");
  for (int y = 0; y < 180; ++y) {
    EXPECT_EQ(track.pixel(0, y), kChannelGrey) << "row " << y;
    EXPECT_EQ(track.pixel(19, y), kChannelGrey) << "row " << y;
  }
}

TEST(SkinBitmaps, DisplayBoxesAndTheirMarginSitOnTheirPanelGrey) {
  const BmpFile face("128-background.bmp");
  for (const Rect& box : channelDisplays()) {
    SCOPED_TRACE(testing::Message() << "channel display at " << box.left << ", " << box.top);
    expectUniform(face, {box.left - 1, box.top - 1, box.right + 1, box.bottom + 1}, kChannelGrey);
  }
  for (const Rect& box : kLowerDisplays) {
    SCOPED_TRACE(testing::Message() << "lower display at " << box.left << ", " << box.top);
    expectUniform(face, {box.left - 1, box.top - 1, box.right + 1, box.bottom + 1}, kLowerGrey);
  }
}

TEST(SkinBitmaps, ControlImagesCoverOnlyPlainPanelGrey) {
  const BmpFile face("128-background.bmp");
  for (const Rect& knob : channelKnobs()) {
    SCOPED_TRACE(testing::Message() << "channel knob at " << knob.left << ", " << knob.top);
    expectPlainUnder(face, knob, kChannelGrey);
  }
  for (const Rect& slider : sliders()) {
    SCOPED_TRACE(testing::Message() << "slider at " << slider.left);
    expectPlainUnder(face, slider, kChannelGrey);
  }
  for (const Rect& knob : kLowerKnobs) {
    SCOPED_TRACE(testing::Message() << "lower knob at " << knob.left << ", " << knob.top);
    expectPlainUnder(face, knob, kLowerGrey);
  }
  for (const Rect& button : kButtons) {
    SCOPED_TRACE(testing::Message() << "button at " << button.left);
    expectPlainUnder(face, button, kLowerGrey);
  }
}

TEST(SkinBitmaps, EveryValueControlHasALabelBelowIt) {
  const BmpFile face("128-background.bmp");
  std::vector<Rect> controls = channelKnobs();
  for (const Rect& slider : sliders()) controls.push_back(slider);
  controls.insert(controls.end(), std::begin(kLowerKnobs), std::end(kLowerKnobs));
  controls.insert(controls.end(), std::begin(kButtons), std::end(kButtons));
  for (const Rect& control : controls) {
    SCOPED_TRACE(testing::Message() << "control at " << control.left << ", " << control.top);
    EXPECT_TRUE(hasInkBelow(face, control));
  }
}

}  // namespace
