// wrenfold-skinsheet <out.png>: draws the seven skin bitmaps side by side, as the module loads
// them, at scale 1 and below that at scale 2, so the artwork can be checked at a glance.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "editor/Skin.h"
#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/platform/headless/HeadlessControl.h"
#include "gui/platform/platform.h"

namespace {

constexpr int32_t gap = 10;
const wrenfold::Color sheetColor(64, 64, 72);

// Draws the bitmaps side by side into `row`, at the row's scale.
void drawRow(wrenfold::platform::Surface* row, wrenfold::Bitmap* const* bitmaps) {
  using namespace wrenfold;
  DrawContext context(nullptr, row, nullptr);
  int32_t left = gap;
  for (int32_t i = 0; i < skin::bitmapCount; ++i) {
    Bitmap* bitmap = bitmaps[i];
    bitmap->draw(&context, Rect(left, gap, left + bitmap->getWidth(), gap + bitmap->getHeight()),
                 Point());
    left += bitmap->getWidth() + gap;
  }
}

}  // namespace

int main(int argc, char** argv) {
  using namespace wrenfold;
  const char* usage =
      "usage: wrenfold-skinsheet OUT.png\n"
      "Draws the seven skin bitmaps side by side, as the module loads them, into OUT.png:\n"
      "as they are, and below at twice the size as HiDPI screens show them.\n"
      "  --help      print this text\n"
      "  --version   print the version\n";
  const std::string first = argc > 1 ? argv[1] : "";
  if (first == "--help" || first == "-h") {
    std::fputs(usage, stdout);
    return 0;
  }
  if (first == "--version") {
    std::fputs("wrenfold-skinsheet " WRENFOLD_VERSION "\n", stdout);
    return 0;
  }
  if (argc != 2 || (first.size() > 1 && first[0] == '-')) {
    std::fprintf(
        stderr, "wrenfold-skinsheet: %s (see --help)\n",
        argc != 2 ? "give one output file, OUT.png" : ("unknown option '" + first + "'").c_str());
    return 1;
  }
  Bitmap* bitmaps[skin::bitmapCount];
  int32_t width = gap;
  int32_t height = 0;
  for (int32_t i = 0; i < skin::bitmapCount; ++i) {
    bitmaps[i] = new Bitmap(skin::bitmaps[i].id);
    if (!bitmaps[i]->isLoaded())
      std::fprintf(stderr, "bitmap %d is missing or corrupt\n", skin::bitmaps[i].id);
    width += bitmaps[i]->getWidth() + gap;
    height = std::max(height, bitmaps[i]->getHeight());
  }
  height += 2 * gap;

  // The 1x row on top, the row drawn at scale 2 (from the 2x pictures) below it, in one image.
  platform::Surface* sheet = headless::createSurface(2 * width, 3 * height, sheetColor);
  platform::Surface* rows[] = {headless::createSurface(width, height, sheetColor),
                               headless::createSurface(width, height, sheetColor, 2.0f)};
  int status = 1;
  if (sheet != nullptr && rows[0] != nullptr && rows[1] != nullptr) {
    int32_t top = 0;
    for (platform::Surface* row : rows) {
      drawRow(row, bitmaps);
      const Point size = headless::surfaceSize(row);
      // Both are copied pixel for pixel, as the sheet has one pixel for each of theirs.
      platform::copyPixels(sheet, Rect(0, top, size.h, top + size.v), row, Point());
      top += size.v;
    }
    errno = 0;
    status = headless::saveSurfacePng(sheet, argv[1]) ? 0 : 1;
    if (status != 0) {
      std::fprintf(stderr, "wrenfold-skinsheet: cannot write %s: %s\n", argv[1],
                   errno != 0 ? std::strerror(errno) : "the PNG encoder failed");
    }
  }
  for (platform::Surface* surface : {sheet, rows[0], rows[1]}) platform::destroySurface(surface);
  for (Bitmap* bitmap : bitmaps) bitmap->release();
  return status;
}
