// wrenfold-skinsheet <out.png>: draws the seven skin bitmaps side by side, as the module loads
// them, so the artwork can be checked at a glance.

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

}  // namespace

int main(int argc, char** argv) {
  using namespace wrenfold;
  const char* usage =
      "usage: wrenfold-skinsheet OUT.png\n"
      "Draws the seven skin bitmaps side by side, as the module loads them, into OUT.png.\n"
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
    std::fprintf(stderr, "wrenfold-skinsheet: %s (see --help)\n",
                 argc != 2 ? "give one output file, OUT.png" : ("unknown option '" + first + "'").c_str());
    return 1;
  }
  Bitmap* bitmaps[skin::bitmapCount];
  int32_t width = gap;
  int32_t height = 0;
  for (int32_t i = 0; i < skin::bitmapCount; ++i) {
    bitmaps[i] = new Bitmap(skin::bitmaps[i].id);
    if (!bitmaps[i]->isLoaded()) std::fprintf(stderr, "bitmap %d is missing or corrupt\n", skin::bitmaps[i].id);
    width += bitmaps[i]->getWidth() + gap;
    height = std::max(height, bitmaps[i]->getHeight());
  }
  height += 2 * gap;

  platform::Surface* sheet = headless::createSurface(width, height, sheetColor);
  int status = 1;
  if (sheet != nullptr) {
    {
      DrawContext context(nullptr, sheet, nullptr);
      int32_t left = gap;
      for (Bitmap* bitmap : bitmaps) {
        bitmap->draw(&context, Rect(left, gap, left + bitmap->getWidth(), gap + bitmap->getHeight()), Point());
        left += bitmap->getWidth() + gap;
      }
    }
    errno = 0;
    status = headless::saveSurfacePng(sheet, argv[1]) ? 0 : 1;
    if (status != 0) {
      std::fprintf(stderr, "wrenfold-skinsheet: cannot write %s: %s\n", argv[1],
                   errno != 0 ? std::strerror(errno) : "the PNG encoder failed");
    }
    platform::destroySurface(sheet);
  }
  for (Bitmap* bitmap : bitmaps) bitmap->release();
  return status;
}
