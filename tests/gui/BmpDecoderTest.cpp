#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "editor/Skin.h"
#include "gui/platform/cairo/BmpDecoder.h"
#include "resources/EmbeddedBitmaps.h"

namespace wrenfold {
namespace {

// Builds an 8-bit palettised BMP file; `rows` are given top to bottom.
struct BmpBuilder {
  int32_t width = 3;
  int32_t height = 2;
  bool topDown = false;
  uint16_t bitsPerPixel = 8;
  uint32_t compression = 0;
  uint32_t colorsUsed = 4;
  std::vector<uint32_t> palette = {0x000000, 0xff0000, 0x00ff00, 0x0000ff};
  std::vector<std::vector<uint8_t>> rows;

  BmpBuilder() {
    rows.push_back(std::vector<uint8_t>{0, 1, 2});
    rows.push_back(std::vector<uint8_t>{3, 2, 1});
  }

  std::vector<unsigned char> build() const {
    std::vector<unsigned char> bytes;
    auto u16 = [&bytes](uint32_t v) {
      bytes.push_back(static_cast<unsigned char>(v));
      bytes.push_back(static_cast<unsigned char>(v >> 8));
    };
    auto u32 = [&u16](uint32_t v) {
      u16(v & 0xffff);
      u16(v >> 16);
    };
    const uint32_t stride = (static_cast<uint32_t>(width) + 3) & ~3u;
    const uint32_t offset = 14 + 40 + static_cast<uint32_t>(palette.size()) * 4;
    bytes.push_back('B');
    bytes.push_back('M');
    u32(offset + stride * static_cast<uint32_t>(rows.size()));
    u32(0);
    u32(offset);
    u32(40);
    u32(static_cast<uint32_t>(width));
    u32(static_cast<uint32_t>(topDown ? -height : height));
    u16(1);
    u16(bitsPerPixel);
    u32(compression);
    u32(0);
    u32(2835);
    u32(2835);
    u32(colorsUsed);
    u32(0);
    for (uint32_t rgb : palette) {
      bytes.push_back(static_cast<unsigned char>(rgb));
      bytes.push_back(static_cast<unsigned char>(rgb >> 8));
      bytes.push_back(static_cast<unsigned char>(rgb >> 16));
      bytes.push_back(0);
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const auto& row = rows[topDown ? i : rows.size() - 1 - i];
      for (uint32_t x = 0; x < stride; ++x) bytes.push_back(x < row.size() ? row[x] : 0xee);
    }
    return bytes;
  }
};

TEST(BmpDecoderTest, DecodesBottomUpRowsWithPaddingIntoTopDownPixels) {
  const std::vector<unsigned char> file = BmpBuilder().build();
  DecodedBitmap image;
  ASSERT_TRUE(decodeBmp(file.data(), file.size(), image));
  EXPECT_EQ(image.width, 3);
  EXPECT_EQ(image.height, 2);
  const std::vector<uint32_t> expected = {0x000000, 0xff0000, 0x00ff00,
                                          0x0000ff, 0x00ff00, 0xff0000};
  EXPECT_EQ(image.pixels, expected);
}

TEST(BmpDecoderTest, DecodesTopDownRowsInFileOrder) {
  BmpBuilder builder;
  builder.topDown = true;
  const std::vector<unsigned char> file = builder.build();
  DecodedBitmap image;
  ASSERT_TRUE(decodeBmp(file.data(), file.size(), image));
  EXPECT_EQ(image.pixels[0], 0x000000u);
  EXPECT_EQ(image.pixels[3], 0x0000ffu);
}

TEST(BmpDecoderTest, ZeroColoursUsedMeansAFullPalette) {
  BmpBuilder builder;
  builder.colorsUsed = 0;
  builder.palette.resize(256, 0x123456);
  builder.rows = {{255, 0, 1}, {1, 1, 1}};
  const std::vector<unsigned char> file = builder.build();
  DecodedBitmap image;
  ASSERT_TRUE(decodeBmp(file.data(), file.size(), image));
  EXPECT_EQ(image.pixels[0], 0x123456u);
}

TEST(BmpDecoderTest, RejectsCorruptOrUnsupportedFilesAndLeavesTheImageEmpty) {
  struct Case {
    const char* name;
    std::vector<unsigned char> file;
  };
  std::vector<Case> cases;
  {
    auto file = BmpBuilder().build();
    file[0] = 'X';
    cases.push_back({"bad signature", file});
  }
  {
    auto file = BmpBuilder().build();
    file.resize(file.size() - 1);
    cases.push_back({"truncated pixel rows", file});
  }
  {
    auto file = BmpBuilder().build();
    file.resize(30);
    cases.push_back({"header only", file});
  }
  cases.push_back({"empty", {}});
  {
    BmpBuilder b;
    b.bitsPerPixel = 24;
    cases.push_back({"24 bits per pixel", b.build()});
  }
  {
    BmpBuilder b;
    b.compression = 1;
    cases.push_back({"run-length compressed", b.build()});
  }
  {
    BmpBuilder b;
    b.rows[0] = std::vector<uint8_t>{0, 4, 1};
    cases.push_back({"palette index beyond the palette", b.build()});
  }
  {
    BmpBuilder b;
    b.colorsUsed = 300;
    cases.push_back({"more than 256 colours", b.build()});
  }
  {
    BmpBuilder b;
    b.width = 0;
    b.rows.assign(2, std::vector<uint8_t>());
    cases.push_back({"zero width", b.build()});
  }
  {
    BmpBuilder b;
    b.height = 0;
    b.rows.clear();
    cases.push_back({"zero height", b.build()});
  }
  {
    auto file = BmpBuilder().build();
    file[18] = 0xff;  // width 0x000100ff... made huge
    file[20] = 0xff;
    cases.push_back({"huge width", file});
  }
  {
    auto file = BmpBuilder().build();
    file[10] = 20;  // pixel data would start inside the palette
    cases.push_back({"pixel offset inside the palette", file});
  }
  {
    auto file = BmpBuilder().build();
    file[14] = 12;  // an old core header is not supported
    cases.push_back({"small info header", file});
  }
  {
    auto file = BmpBuilder().build();
    file[10] = 0xff;
    file[11] = 0xff;
    file[12] = 0xff;
    file[13] = 0xff;
    cases.push_back({"pixel offset beyond the file", file});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DecodedBitmap image;
    image.width = 9;
    image.pixels.assign(3, 1);
    EXPECT_FALSE(decodeBmp(c.file.data(), c.file.size(), image));
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.height, 0);
    EXPECT_TRUE(image.pixels.empty());
  }
  DecodedBitmap image;
  EXPECT_FALSE(decodeBmp(nullptr, 100, image));
}

TEST(BmpDecoderTest, DecodesAllSevenSkinBitmapsToTheirSizes) {
  for (const skin::SkinBitmap& c : skin::bitmaps) {
    SCOPED_TRACE(c.id);
    const EmbeddedBitmap* file = findEmbeddedBitmap(c.id);
    ASSERT_NE(file, nullptr);
    DecodedBitmap image;
    ASSERT_TRUE(decodeBmp(file->bytes, file->size, image));
    EXPECT_EQ(image.width, c.width);
    EXPECT_EQ(image.height, c.height);
    EXPECT_EQ(image.pixels.size(), static_cast<std::size_t>(c.width * c.height));
  }
}

}  // namespace
}  // namespace wrenfold
