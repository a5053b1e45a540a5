#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "gui/platform/cairo/BmpDecoder.h"
#include "gui/platform/cairo/CairoSurface.h"
#include "gui/platform/cairo/SharedBitmapPixels.h"
#include "gui/platform/shared/DeviceScale.h"
#include "gui/platform/shared/LineWalk.h"
#include "resources/EmbeddedBitmaps.h"

namespace wrenfold {

namespace {

// Size of a font request of height 0.
constexpr double defaultFontHeight = 12.0;

platform::Pen blackPen{platform::penSolid, 1, blackColor, false, true};
platform::Pen emptyPen{platform::penSolid, 0, blackColor, true, true};
platform::Brush whiteBrush{whiteColor, true};
platform::Font systemFont{platform::FontRequest(), true};

std::size_t liveObjects = 0;
cairo::DrawingWatcher drawingWatcher = nullptr;

uint32_t packed(Color color) { return cairo::packedColor(color); }

// Shows a primitive that ran to the back end watching drawing.
void watch(cairo::DrawingStep::Kind kind, platform::Surface* target, Rect area, Rect changed,
           Color color = Color(), Point from = Point(), Point to = Point(),
           const char* text = nullptr, uint32_t flags = 0) {
  if (drawingWatcher != nullptr)
    drawingWatcher({kind, target, area, from, to, color, text, flags, changed});
}

// Direct access to an image's pixels, flushed on entry and marked as changed on exit.
class PixelAccess {
 public:
  explicit PixelAccess(cairo_surface_t* drawn)
      : image(drawn),
        imageWidth(cairo_image_surface_get_width(drawn)),
        imageHeight(cairo_image_surface_get_height(drawn)),
        rowStride(cairo_image_surface_get_stride(drawn)) {
    cairo_surface_flush(image);
    pixelData = cairo_image_surface_get_data(image);
  }
  ~PixelAccess() { cairo_surface_mark_dirty(image); }
  PixelAccess(const PixelAccess&) = delete;
  PixelAccess& operator=(const PixelAccess&) = delete;

  int32_t width() const { return imageWidth; }
  int32_t height() const { return imageHeight; }
  bool inside(int32_t x, int32_t y) const {
    return x >= 0 && y >= 0 && x < imageWidth && y < imageHeight;
  }
  uint32_t get(int32_t x, int32_t y) const { return row(y)[x] & 0xffffff; }
  // Fills the part of `area` inside the image; returns that part.
  Rect fill(Rect area, uint32_t value) {
    const Rect clipped(std::max(area.left, 0), std::max(area.top, 0),
                       std::min(area.right, imageWidth), std::min(area.bottom, imageHeight));
    for (int32_t y = clipped.top; y < clipped.bottom; ++y) {
      std::fill(row(y) + clipped.left, row(y) + std::max(clipped.left, clipped.right), value);
    }
    return clipped;
  }

  uint32_t* row(int32_t y) const {
    return reinterpret_cast<uint32_t*>(pixelData + static_cast<std::ptrdiff_t>(y) * rowStride);
  }

 private:
  cairo_surface_t* image;
  int32_t imageWidth;
  int32_t imageHeight;
  int32_t rowStride;
  unsigned char* pixelData;
};

// Returns an image over shared pixels that the image never writes; null when cairo refuses.
cairo_surface_t* imageOver(const uint32_t* pixels, cairo_format_t format, int32_t width,
                           int32_t height) {
  // Each surface gets its own image over the pixels: cairo's image state is not safe to share
  // between threads, the pixels are.
  const int32_t stride = width * static_cast<int32_t>(sizeof(uint32_t));
  if (cairo_format_stride_for_width(format, width) != stride) return nullptr;
  auto* data = reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(pixels));
  cairo_surface_t* image = cairo_image_surface_create_for_data(data, format, width, height, stride);
  if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS) return image;
  cairo_surface_destroy(image);
  return nullptr;
}

// Gives a bitmap with shared pixels its keyed image from the shared keyed pixels; without them (a
// second key colour) keyed copies fall back to comparing each pixel.
void attachKeyedImage(platform::Surface* surface) {
  SharedBitmapPixels* shared = surface->sharedPixels;
  const uint32_t* keyed = shared->keyedPixels(surface->keyedColor);
  if (keyed != nullptr)
    surface->keyedImage = imageOver(keyed, CAIRO_FORMAT_ARGB32, shared->width(), shared->height());
}

// Lets go of a loaded bitmap's pixels, to take them at another scale.
void detachSharedPixels(platform::Surface* surface) {
  cairo_surface_destroy(surface->image);
  if (surface->keyedImage != nullptr) cairo_surface_destroy(surface->keyedImage);
  surface->sharedPixels->release();
  surface->image = nullptr;
  surface->keyedImage = nullptr;
  surface->sharedPixels = nullptr;
}

// Gives a loaded bitmap its shared pixels at `scale` when it is first drawn there; answers whether
// the surface has an image to draw from.
bool attachSharedPixels(platform::Surface* surface, float scale) {
  if (surface->sharedPixels != nullptr && surface->sharedPixels->scale() != scale)
    detachSharedPixels(surface);
  if (surface->image != nullptr) return true;
  if (surface->bitmapId == 0) return false;
  SharedBitmapPixels* shared = SharedBitmapPixels::acquire(surface->bitmapId, scale);
  cairo_surface_t* image = shared != nullptr ? imageOver(shared->pixels(), CAIRO_FORMAT_RGB24,
                                                         shared->width(), shared->height())
                                             : nullptr;
  if (image == nullptr) {
    if (shared != nullptr) shared->release();
    surface->bitmapId = 0;  // a resource that failed once fails again: stop asking
    return false;
  }
  surface->sharedPixels = shared;
  surface->image = image;
  surface->scale = scale;
  return true;
}

// Copies device pixels: `area` and `origin` are already at the images' scale.
void blit(platform::Surface* destination, Rect area, platform::Surface* source, Point origin,
          const Color* key) {
  if (destination == nullptr || source == nullptr) return;
  if (!attachSharedPixels(source, destination->scale) || destination->image == nullptr) return;
  PixelAccess from(source->image);
  PixelAccess to(destination->image);
  // Only the part that lies inside both images is copied; the rest of the destination stays.
  const int32_t x0 = std::max({0, -origin.h, -area.left});
  const int32_t y0 = std::max({0, -origin.v, -area.top});
  const int32_t x1 = std::min({area.width(), from.width() - origin.h, to.width() - area.left});
  const int32_t y1 = std::min({area.height(), from.height() - origin.v, to.height() - area.top});
  if (x0 >= x1 || y0 >= y1) return;
  const std::size_t rowLength = static_cast<std::size_t>(x1 - x0);

  // A surface copied onto itself reads from a snapshot, so overlapping areas copy cleanly.
  std::vector<uint32_t> snapshot;
  if (source->image == destination->image) {
    snapshot.reserve(rowLength * static_cast<std::size_t>(y1 - y0));
    for (int32_t y = y0; y < y1; ++y) {
      const uint32_t* row = from.row(origin.v + y) + origin.h + x0;
      snapshot.insert(snapshot.end(), row, row + rowLength);
    }
  }
  const uint32_t keyValue = key != nullptr ? packed(*key) : 0;
  for (int32_t y = y0; y < y1; ++y) {
    const uint32_t* input = snapshot.empty()
                                ? from.row(origin.v + y) + origin.h + x0
                                : snapshot.data() + rowLength * static_cast<std::size_t>(y - y0);
    uint32_t* output = to.row(area.top + y) + area.left + x0;
    if (key == nullptr) {
      std::memcpy(output, input, rowLength * sizeof(uint32_t));
      continue;
    }
    for (std::size_t x = 0; x < rowLength; ++x) {
      if ((input[x] & 0xffffff) != keyValue) output[x] = input[x];
    }
  }
}

// Draws the bitmap's prepared keyed image over the destination: the key pixels are transparent.
void compositeKeyed(platform::Surface* destination, Rect area, platform::Surface* source,
                    Point origin) {
  cairo_surface_flush(destination->image);
  cairo_t* cr = cairo_create(destination->image);
  cairo_rectangle(cr, area.left, area.top, area.width(), area.height());
  cairo_clip(cr);
  cairo_set_source_surface(cr, source->keyedImage, area.left - origin.h, area.top - origin.v);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint(cr);
  cairo_destroy(cr);
}

const char* installedFace(const char* face) {
  if (std::strcmp(face, "Arial") == 0) return "Liberation Sans";
  if (std::strcmp(face, "Symbol") == 0) return "DejaVu Sans";
  return face;
}

// Text crosses the interface as 8-bit Latin text; cairo takes UTF-8.
std::string latinToUtf8(const char* text) {
  std::string out;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
    if (*p < 0x80) {
      out.push_back(static_cast<char>(*p));
    } else {
      out.push_back(static_cast<char>(0xc0 | (*p >> 6)));
      out.push_back(static_cast<char>(0x80 | (*p & 0x3f)));
    }
  }
  return out;
}

void setSource(cairo_t* cr, Color color) {
  cairo_set_source_rgb(cr, color.red / 255.0, color.green / 255.0, color.blue / 255.0);
}

}  // namespace

namespace cairo {

platform::Surface* makeSurface(cairo_surface_t* image, bool ownsImage, platform::Window* window,
                               float scale) {
  auto* surface = new platform::Surface();
  surface->image = image;
  surface->scale = scale;
  surface->ownsImage = ownsImage;
  surface->window = window;
  surface->pen = &blackPen;
  surface->brush = &whiteBrush;
  surface->font = &systemFont;
  surface->textColor = blackColor;
  surface->backgroundColor = whiteColor;
  ++liveObjects;
  return surface;
}

std::size_t liveObjectCount() { return liveObjects; }

void setDrawingWatcher(DrawingWatcher watcher) { drawingWatcher = watcher; }

uint32_t packedColor(Color color) {
  return (static_cast<uint32_t>(color.red) << 16) | (static_cast<uint32_t>(color.green) << 8) |
         color.blue;
}

Color unpackedColor(uint32_t value) {
  return Color(static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
               static_cast<uint8_t>(value));
}

}  // namespace cairo

namespace platform {

Surface* createMemorySurface(Surface* reference, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return nullptr;
  const float scale = reference != nullptr ? reference->scale : 1.0f;
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, toDevice(width, scale),
                                                      toDevice(height, scale));
  if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(image);
    return nullptr;
  }
  return cairo::makeSurface(image, true, nullptr, scale);
}

void destroySurface(Surface* surface) {
  if (surface == nullptr) return;
  if (surface->ownsImage) cairo_surface_destroy(surface->image);
  if (surface->keyedImage != nullptr) cairo_surface_destroy(surface->keyedImage);
  if (surface->sharedPixels != nullptr) surface->sharedPixels->release();
  delete surface;
  --liveObjects;
}

Surface* loadBitmapResource(void*, int32_t id, int32_t* width, int32_t* height) {
  if (width != nullptr) *width = 0;
  if (height != nullptr) *height = 0;
  const EmbeddedBitmap* file = findEmbeddedBitmap(id);
  int32_t fileWidth = 0;
  int32_t fileHeight = 0;
  if (file == nullptr || !readBmpSize(file->bytes, file->size, fileWidth, fileHeight))
    return nullptr;
  // Only the size is read now; the pixels are shared by the module and attached at the first draw.
  Surface* surface = cairo::makeSurface(nullptr, true, nullptr);
  surface->bitmapId = id;
  if (width != nullptr) *width = fileWidth;
  if (height != nullptr) *height = fileHeight;
  return surface;
}

Pen* createPen(int32_t style, int32_t width, Color color) {
  ++liveObjects;
  return new Pen{style, width, color, false, false};
}

Brush* createSolidBrush(Color color) {
  ++liveObjects;
  return new Brush{color, false};
}

Font* createFont(const FontRequest& request) {
  ++liveObjects;
  return new Font{request, false};
}

Pen* nullPen() { return &emptyPen; }

void deletePen(Pen* pen) {
  if (pen == nullptr || pen->stock) return;
  delete pen;
  --liveObjects;
}

void deleteBrush(Brush* brush) {
  if (brush == nullptr || brush->stock) return;
  delete brush;
  --liveObjects;
}

void deleteFont(Font* font) {
  if (font == nullptr || font->stock) return;
  delete font;
  --liveObjects;
}

Pen* selectPen(Surface* surface, Pen* pen) {
  if (surface == nullptr || pen == nullptr) return nullptr;
  Pen* previous = surface->pen;
  surface->pen = pen;
  return previous;
}

Brush* selectBrush(Surface* surface, Brush* brush) {
  if (surface == nullptr || brush == nullptr) return nullptr;
  Brush* previous = surface->brush;
  surface->brush = brush;
  return previous;
}

Font* selectFont(Surface* surface, Font* font) {
  if (surface == nullptr || font == nullptr) return nullptr;
  Font* previous = surface->font;
  surface->font = font;
  return previous;
}

Pen* currentPen(Surface* surface) { return surface != nullptr ? surface->pen : nullptr; }

Brush* currentBrush(Surface* surface) { return surface != nullptr ? surface->brush : nullptr; }

Font* currentFont(Surface* surface) { return surface != nullptr ? surface->font : nullptr; }

Color setBackgroundColor(Surface* surface, Color color) {
  if (surface == nullptr) return Color();
  Color previous = surface->backgroundColor;
  surface->backgroundColor = color;
  return previous;
}

Color setTextColor(Surface* surface, Color color) {
  if (surface == nullptr) return Color();
  Color previous = surface->textColor;
  surface->textColor = color;
  return previous;
}

void setBackgroundOpaque(Surface* surface, bool opaque) {
  if (surface != nullptr) surface->opaqueBackground = opaque;
}

void moveTo(Surface* surface, Point to) {
  if (surface != nullptr) surface->position = to;
}

void lineTo(Surface* surface, Point to) {
  if (surface == nullptr) return;
  Point from = surface->position;
  surface->position = to;
  const Pen* pen = surface->pen;
  if (pen == nullptr || pen->drawsNothing) return;
  // Each editor pixel the pen sets is its square of device pixels.
  const float scale = surface->scale;
  PixelAccess pixels(surface->image);
  const uint32_t color = packed(pen->color);
  walkLine(from, to, pen->style == penDotted, [&](int32_t x, int32_t y) {
    pixels.fill(toDevice(Rect(x, y, x + 1, y + 1), scale), color);
  });
  const Rect covered(std::min(from.h, to.h), std::min(from.v, to.v), std::max(from.h, to.h) + 1,
                     std::max(from.v, to.v) + 1);
  watch(cairo::DrawingStep::Kind::line, surface, Rect(), toDevice(covered, scale), pen->color, from,
        to);
}

void fillRect(Surface* surface, Rect area) {
  if (surface == nullptr || surface->brush == nullptr) return;
  PixelAccess pixels(surface->image);
  const Rect clipped = pixels.fill(toDevice(area, surface->scale), packed(surface->brush->color));
  watch(cairo::DrawingStep::Kind::fill, surface, area, clipped, surface->brush->color);
}

void drawText(Surface* surface, const char* text, Rect area, uint32_t flags) {
  if (surface == nullptr || text == nullptr) return;
  const FontRequest& font = surface->font->request;
  cairo_t* cr = cairo_create(surface->image);
  // Text is laid out in editor pixels and drawn by the font engine at the surface's scale.
  if (surface->scale != 1.0f) cairo_scale(cr, surface->scale, surface->scale);
  cairo_select_font_face(
      cr, installedFace(font.face[0] != 0 ? font.face : "Arial"),
      font.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
      font.weight >= fontWeightBold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, font.height > 0 ? font.height : defaultFontHeight);

  const std::string utf8 = latinToUtf8(text);
  cairo_font_extents_t fontExtents;
  cairo_text_extents_t textExtents;
  cairo_font_extents(cr, &fontExtents);
  cairo_text_extents(cr, utf8.c_str(), &textExtents);
  const int32_t ascent = static_cast<int32_t>(std::lround(fontExtents.ascent));
  const int32_t lineHeight = ascent + static_cast<int32_t>(std::lround(fontExtents.descent));
  const int32_t textWidth = static_cast<int32_t>(std::lround(textExtents.x_advance));

  int32_t x = area.left;
  if ((flags & textAlignCenter) != 0) {
    x = area.left + (area.width() - textWidth) / 2;
  } else if ((flags & textAlignRight) != 0) {
    x = area.right - textWidth;
  }
  int32_t y = area.top;
  if ((flags & textVerticalCenter) != 0) y = area.top + (area.height() - lineHeight) / 2;

  cairo_rectangle(cr, area.left, area.top, area.width(), area.height());
  cairo_clip(cr);
  if (surface->opaqueBackground) {
    setSource(cr, surface->backgroundColor);
    cairo_rectangle(cr, x, y, textWidth, lineHeight);
    cairo_fill(cr);
  }
  setSource(cr, surface->textColor);
  cairo_move_to(cr, x, y + ascent);
  cairo_show_text(cr, utf8.c_str());
  if (font.underline) {
    cairo_rectangle(cr, x, y + ascent + 1, textWidth, font.height >= 24 ? 2 : 1);
    cairo_fill(cr);
  }
  cairo_destroy(cr);
  watch(cairo::DrawingStep::Kind::text, surface, area, toDevice(area, surface->scale),
        surface->textColor, Point(), Point(), text, flags);
}

void copyPixels(Surface* destination, Rect area, Surface* source, Point sourceOrigin) {
  const float scale = destination != nullptr ? destination->scale : 1.0f;
  blit(destination, toDevice(area, scale), source, toDevice(sourceOrigin, scale), nullptr);
  watch(cairo::DrawingStep::Kind::copy, destination, area,
        destination != nullptr ? toDevice(area, scale) : Rect(), Color(), sourceOrigin);
}

void copyPixelsKeyed(Surface* destination, Rect area, Surface* source, Point sourceOrigin,
                     Color key) {
  if (destination == nullptr || source == nullptr ||
      !attachSharedPixels(source, destination->scale)) {
    watch(cairo::DrawingStep::Kind::copyKeyed, destination, area, Rect(), key, sourceOrigin);
    return;
  }
  // A loaded bitmap never changes, so its keyed image is made at its first keyed copy and kept,
  // over the module's shared keyed pixels.
  if (source->sharedPixels != nullptr &&
      (source->keyedImage == nullptr || source->keyedColor != key)) {
    if (source->keyedImage != nullptr) cairo_surface_destroy(source->keyedImage);
    source->keyedImage = nullptr;
    source->keyedColor = key;
    attachKeyedImage(source);
  }
  const Rect deviceArea = toDevice(area, destination->scale);
  const Point deviceOrigin = toDevice(sourceOrigin, destination->scale);
  if (source->keyedImage != nullptr && source->keyedColor == key &&
      source->image != destination->image) {
    compositeKeyed(destination, deviceArea, source, deviceOrigin);
  } else {
    blit(destination, deviceArea, source, deviceOrigin, &key);
  }
  watch(cairo::DrawingStep::Kind::copyKeyed, destination, area, deviceArea, key, sourceOrigin);
}

}  // namespace platform
}  // namespace wrenfold
