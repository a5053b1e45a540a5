#include <algorithm>
#include <cstdio>
#include <string>

#include "gui/platform/headless/HeadlessState.h"

namespace wrenfold {

namespace {

// Direct read access to an image's pixels.
uint32_t* imageRow(cairo_surface_t* image, int32_t y) {
  return reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(image) +
                                     static_cast<std::ptrdiff_t>(y) *
                                         cairo_image_surface_get_stride(image));
}

std::string pointText(Point p) { return std::to_string(p.h) + "," + std::to_string(p.v); }

std::string rectText(Rect r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

std::string hexColor(Color color) {
  char text[8];
  std::snprintf(text, sizeof(text), "#%02x%02x%02x", color.red, color.green, color.blue);
  return text;
}

// Appends one line describing a drawing primitive to the drawing record.
void recordStep(const cairo::DrawingStep& step) {
  using Kind = cairo::DrawingStep::Kind;
  std::string line;
  switch (step.kind) {
    case Kind::line:
      line = "line " + pointText(step.from) + " " + pointText(step.to) + " " +
             hexColor(step.color) +
             (step.target->pen->style == platform::penDotted ? " dotted" : " solid");
      break;
    case Kind::fill:
      line = "fill " + rectText(step.area) + " " + hexColor(step.color);
      break;
    case Kind::text:
      line = std::string("text \"") + step.text + "\" " + rectText(step.area) +
             " flags=" + std::to_string(step.flags) + " " + hexColor(step.color) +
             (step.target->opaqueBackground ? " opaque" : " transparent");
      break;
    case Kind::copy:
      line = "copy " + rectText(step.area) + " from " + pointText(step.from);
      break;
    case Kind::copyKeyed:
      line = "copyKeyed " + rectText(step.area) + " from " + pointText(step.from) + " key " +
             hexColor(step.color);
      break;
  }
  headless::state().drawing.push_back(line);
}

}  // namespace

namespace headless {

void recordDrawing(bool on) {
  state().recording = on;
  cairo::setDrawingWatcher(on ? &recordStep : nullptr);
}

const std::vector<std::string>& drawingLog() { return state().drawing; }

void clearDrawingLog() { state().drawing.clear(); }

platform::Surface* createSurface(int32_t width, int32_t height, Color fill, float scale) {
  // A memory surface takes its scale from its reference.
  platform::Surface reference;
  reference.scale = scale;
  platform::Surface* surface = platform::createMemorySurface(&reference, width, height);
  if (surface == nullptr) return nullptr;
  const Point size = surfaceSize(surface);
  cairo_surface_flush(surface->image);
  for (int32_t y = 0; y < size.v; ++y) {
    std::fill(imageRow(surface->image, y), imageRow(surface->image, y) + size.h,
              cairo::packedColor(fill));
  }
  cairo_surface_mark_dirty(surface->image);
  return surface;
}

Color pixel(platform::Surface* surface, Point where) {
  if (surface == nullptr) return blackColor;
  cairo_surface_flush(surface->image);
  const Point size = surfaceSize(surface);
  if (where.h < 0 || where.v < 0 || where.h >= size.h || where.v >= size.v) return blackColor;
  return cairo::unpackedColor(imageRow(surface->image, where.v)[where.h] & 0xffffff);
}

Point surfaceSize(platform::Surface* surface) {
  if (surface == nullptr) return Point();
  return Point(cairo_image_surface_get_width(surface->image),
               cairo_image_surface_get_height(surface->image));
}

bool fontRequest(platform::Font* font, platform::FontRequest& request) {
  if (font == nullptr || font->stock) return false;
  request = font->request;
  return true;
}

bool saveSurfacePng(platform::Surface* surface, const char* path) {
  if (surface == nullptr || path == nullptr) return false;
  cairo_surface_flush(surface->image);
  return cairo_surface_write_to_png(surface->image, path) == CAIRO_STATUS_SUCCESS;
}

std::size_t liveObjectCount() { return cairo::liveObjectCount(); }

}  // namespace headless

namespace platform {

void releaseWindowSurface(Window*, Surface* surface) { destroySurface(surface); }

}  // namespace platform
}  // namespace wrenfold
