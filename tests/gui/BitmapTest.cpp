#include <gtest/gtest.h>

#include "editor/Skin.h"
#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/platform/cairo/BmpDecoder.h"
#include "gui/platform/cairo/CairoSurface.h"
#include "gui/platform/cairo/SharedBitmapPixels.h"
#include "gui/platform/headless/HeadlessControl.h"
#include "gui/platform/platform.h"
#include "resources/EmbeddedBitmaps.h"

namespace wrenfold {
namespace {

class BitmapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::reset();
    objectsBefore = headless::liveObjectCount();
  }
  void TearDown() override {
    EXPECT_EQ(headless::liveObjectCount(), objectsBefore) << "images leaked";
  }

  std::size_t objectsBefore = 0;
};

TEST_F(BitmapTest, SkinResourcesLoadWithTheirSizes) {
  for (const skin::SkinBitmap& c : skin::bitmaps) {
    SCOPED_TRACE(c.id);
    auto* bitmap = new Bitmap(c.id);
    EXPECT_TRUE(bitmap->isLoaded());
    EXPECT_EQ(bitmap->getResourceId(), c.id);
    EXPECT_EQ(bitmap->getWidth(), c.width);
    EXPECT_EQ(bitmap->getHeight(), c.height);
    EXPECT_EQ(bitmap->getRefCount(), 1);
    EXPECT_EQ(bitmap->getKeyColor(), transparentKeyColor);
    bitmap->release();
  }
}

TEST_F(BitmapTest, MissingResourceGivesAZeroSizedBitmapThatDrawsNothing) {
  platform::Surface* surface = headless::createSurface(10, 10, redColor);
  auto* bitmap = new Bitmap(999);
  EXPECT_FALSE(bitmap->isLoaded());
  EXPECT_EQ(bitmap->getWidth(), 0);
  EXPECT_EQ(bitmap->getHeight(), 0);
  {
    DrawContext context(nullptr, surface, nullptr);
    bitmap->draw(&context, Rect(0, 0, 10, 10), Point());
    bitmap->drawTransparent(&context, Rect(0, 0, 10, 10), Point());
    bitmap->draw(nullptr, Rect(0, 0, 10, 10), Point());
  }
  EXPECT_EQ(headless::pixel(surface, Point(5, 5)), redColor);
  bitmap->release();
  platform::destroySurface(surface);
}

TEST_F(BitmapTest, ReleasedTwiceAfterOneAddRefIsDeletedAtTheSecondRelease) {
  const std::size_t before = headless::liveObjectCount();
  auto* bitmap = new Bitmap(skin::lowerKnobBitmap);
  ASSERT_EQ(headless::liveObjectCount(), before + 1);
  bitmap->addRef();
  bitmap->release();
  EXPECT_EQ(bitmap->getRefCount(), 1);
  EXPECT_EQ(headless::liveObjectCount(), before + 1);
  bitmap->release();
  EXPECT_EQ(headless::liveObjectCount(), before) << "the image went with the last reference";
}

TEST_F(BitmapTest, DrawCopiesFromTheOffsetIntoTheRectangle) {
  auto* button = new Bitmap(skin::buttonBitmap);
  const int32_t w = button->getWidth();
  const int32_t h = button->getHeight() / skin::buttonImages;
  platform::Surface* reference = headless::createSurface(w, button->getHeight(), blackColor);
  platform::Surface* target = headless::createSurface(w + 20, h + 20, redColor);
  {
    DrawContext whole(nullptr, reference, nullptr);
    button->draw(&whole, Rect(0, 0, w, button->getHeight()), Point());
    DrawContext context(nullptr, target, nullptr);
    button->draw(&context, Rect(5, 5, 5 + w, 5 + h), Point(0, h));  // the lower, lit state
  }
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      ASSERT_EQ(headless::pixel(target, Point(5 + x, 5 + y)),
                headless::pixel(reference, Point(x, h + y)))
          << x << "," << y;
    }
  }
  EXPECT_EQ(headless::pixel(target, Point(4, 5)), redColor);
  EXPECT_EQ(headless::pixel(target, Point(5 + w, 5)), redColor);
  EXPECT_EQ(headless::pixel(target, Point(5, 5 + h)), redColor);
  button->release();
  platform::destroySurface(reference);
  platform::destroySurface(target);
}

TEST_F(BitmapTest, TransparentDrawingLeavesWhitePixelsOutAndPlainDrawingCopiesThem) {
  for (int32_t id : {skin::knobHandleBitmap, skin::sliderHandleBitmap}) {
    SCOPED_TRACE(id);
    auto* handle = new Bitmap(id);
    const int32_t w = handle->getWidth();
    const int32_t h = handle->getHeight();
    platform::Surface* plain = headless::createSurface(w, h, redColor);
    platform::Surface* keyed = headless::createSurface(w, h, redColor);
    {
      DrawContext plainContext(nullptr, plain, nullptr);
      handle->draw(&plainContext, Rect(0, 0, w, h), Point());
      DrawContext keyedContext(nullptr, keyed, nullptr);
      handle->drawTransparent(&keyedContext, Rect(0, 0, w, h), Point());
    }
    int whites = 0;
    for (int32_t y = 0; y < h; ++y) {
      for (int32_t x = 0; x < w; ++x) {
        const Color source = headless::pixel(plain, Point(x, y));
        if (source == whiteColor) ++whites;
        const Color expected = source == whiteColor ? redColor : source;
        ASSERT_EQ(headless::pixel(keyed, Point(x, y)), expected) << x << "," << y;
      }
    }
    EXPECT_GT(whites, 0) << "the handle bitmap has white where it must not show";
    handle->release();
    platform::destroySurface(plain);
    platform::destroySurface(keyed);
  }
}

// Instances share one decoded copy of each skin image, made at the first draw and freed with the
// last bitmap that drew it; a bitmap released early must not take the pixels from the others.
TEST_F(BitmapTest, BitmapsOfOneResourceShareItsPixelsFromTheFirstDrawToTheLastRelease) {
  const std::size_t held = SharedBitmapPixels::heldCount();
  Bitmap* bitmaps[3] = {new Bitmap(133), new Bitmap(133), new Bitmap(133)};
  EXPECT_EQ(SharedBitmapPixels::heldCount(), held) << "decoded before any draw";
  platform::Surface* targets[3];
  for (int32_t i = 0; i < 3; ++i) {
    if (i == 2) bitmaps[0]->release();
    targets[i] = headless::createSurface(20, 10, redColor);
    DrawContext context(nullptr, targets[i], nullptr);
    bitmaps[i]->drawTransparent(&context, Rect(0, 0, 20, 10), Point());
    EXPECT_EQ(SharedBitmapPixels::heldCount(), held + 1) << "bitmap " << i;
  }
  for (int32_t y = 0; y < 10; ++y)
    for (int32_t x = 0; x < 20; ++x)
      ASSERT_EQ(headless::pixel(targets[2], Point(x, y)), headless::pixel(targets[0], Point(x, y)));
  bitmaps[1]->release();
  bitmaps[2]->release();
  EXPECT_EQ(SharedBitmapPixels::heldCount(), held) << "kept after the last user";
  for (platform::Surface* target : targets) platform::destroySurface(target);
}

// A surface at scale 2 shows each skin image as its double-size picture, pixel for pixel, and a
// bitmap drawn at scale 1 again afterwards goes back to its own picture.
TEST_F(BitmapTest, AtScaleTwoTheSkinShowsItsDoubleSizePictures) {
  for (const skin::SkinBitmap& c : skin::bitmaps) {
    SCOPED_TRACE(c.id);
    const EmbeddedBitmap* file = findEmbeddedBitmap(c.id + platform::doubleSizeResourceOffset);
    DecodedBitmap expected;
    ASSERT_TRUE(file != nullptr && decodeBmp(file->bytes, file->size, expected));
    Bitmap* bitmap = new Bitmap(c.id);
    for (float scale : {2.0f, 1.0f, 2.0f}) {
      platform::Surface* target = headless::createSurface(c.width, c.height, redColor, scale);
      {
        DrawContext context(nullptr, target, nullptr);
        bitmap->draw(&context, Rect(0, 0, c.width, c.height), Point());
      }
      ASSERT_EQ(headless::surfaceSize(target), Point(c.width * static_cast<int32_t>(scale),
                                                     c.height * static_cast<int32_t>(scale)));
      if (scale == 2.0f) {
        for (int32_t y = 0; y < expected.height; ++y)
          for (int32_t x = 0; x < expected.width; ++x)
            ASSERT_EQ(headless::pixel(target, Point(x, y)),
                      cairo::unpackedColor(expected.pixels[y * expected.width + x]))
                << x << "," << y;
      }
      platform::destroySurface(target);
    }
    bitmap->release();
  }
}

}  // namespace
}  // namespace wrenfold
