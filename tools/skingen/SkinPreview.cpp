#include "tools/skingen/SkinPreview.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "editor/Skin.h"
#include "tools/skingen/SkinLayout.h"

namespace wrenfold {

namespace {

constexpr int gap = 12;

// Copies image pixels from rows [first, first + rows) onto the target; keyed copies leave out pure
// white.
void blitRows(cairo_surface_t* target, const RgbImage& image, int first, int rows, int left,
              int top, int scale, bool keyed) {
  cairo_surface_flush(target);
  const int stride = cairo_image_surface_get_stride(target);
  unsigned char* data = cairo_image_surface_get_data(target);
  for (int y = 0; y < rows * scale; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(
        data + static_cast<std::ptrdiff_t>(top * scale + y) * stride);
    for (int x = 0; x < image.width * scale; ++x) {
      const Rgb colour = image.at(x / scale, first + y / scale);
      if (keyed && colour == Rgb{255, 255, 255}) continue;
      row[left * scale + x] = 0xFF000000u | (std::uint32_t{colour.red} << 16) |
                              (std::uint32_t{colour.green} << 8) | colour.blue;
    }
  }
  cairo_surface_mark_dirty(target);
}

void blit(cairo_surface_t* target, const RgbImage& image, int left, int top, int scale) {
  cairo_surface_flush(target);
  const int stride = cairo_image_surface_get_stride(target);
  unsigned char* data = cairo_image_surface_get_data(target);
  for (int y = 0; y < image.height * scale; ++y) {
    auto* row =
        reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(top + y) * stride);
    for (int x = 0; x < image.width * scale; ++x) {
      const Rgb colour = image.at(x / scale, y / scale);
      row[left + x] = 0xFF000000u | (std::uint32_t{colour.red} << 16) |
                      (std::uint32_t{colour.green} << 8) | colour.blue;
    }
  }
  cairo_surface_mark_dirty(target);
}

bool savePng(cairo_surface_t* surface, const std::string& path) {
  return cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace

bool SkinPreview::writeSheet(const std::vector<RgbImage>& images, int scale,
                             const std::string& path) {
  int width = gap;
  int height = 0;
  for (const RgbImage& image : images) {
    width += image.width * scale + gap;
    height = std::max(height, image.height * scale);
  }
  height += 2 * gap;
  cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(sheet);
  cairo_set_source_rgb(cr, 0.35, 0.37, 0.40);
  cairo_paint(cr);
  cairo_destroy(cr);
  int left = gap;
  for (const RgbImage& image : images) {
    blit(sheet, image, left, gap, scale);
    left += image.width * scale + gap;
  }
  const bool saved = savePng(sheet, path);
  cairo_surface_destroy(sheet);
  return saved;
}

bool SkinPreview::writeOverlay(const RgbImage& face, const std::vector<ControlBox>& controls,
                               int scale, const std::string& path) {
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, face.width * scale, face.height * scale);
  blit(surface, face, 0, 0, scale);
  cairo_t* cr = cairo_create(surface);
  cairo_set_line_width(cr, 1);
  for (const ControlBox& box : controls) {
    // Display boxes cover their right column and bottom row; images stop one short of them.
    const int extra = box.kind == ControlBox::Kind::display ? 1 : 0;
    const double x = box.left * scale + 0.5;
    const double y = box.top * scale + 0.5;
    const double w = (box.right - box.left + extra) * scale - 1;
    const double h = (box.bottom - box.top + extra) * scale - 1;
    switch (box.kind) {
      case ControlBox::Kind::knob:
        cairo_set_source_rgba(cr, 1, 0, 0, 0.8);
        break;
      case ControlBox::Kind::slider:
        cairo_set_source_rgba(cr, 0, 0.3, 1, 0.8);
        break;
      case ControlBox::Kind::button:
        cairo_set_source_rgba(cr, 0, 0.7, 0, 0.8);
        break;
      case ControlBox::Kind::display:
        cairo_set_source_rgba(cr, 1, 0, 1, 0.8);
        break;
    }
    cairo_rectangle(cr, x, y, w, h);
    cairo_stroke(cr);
  }
  cairo_destroy(cr);
  const bool saved = savePng(surface, path);
  cairo_surface_destroy(surface);
  return saved;
}

bool SkinPreview::writeMockup(const std::vector<RgbImage>& images, int scale,
                              const std::string& path) {
  if (images.size() != static_cast<std::size_t>(skin::bitmapCount)) return false;
  const RgbImage& face = images[0];
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, face.width * scale, face.height * scale);
  blitRows(surface, face, 0, face.height, 0, 0, scale, false);
  const RgbImage& dot = images[skin::knobHandleBitmap - skin::backgroundBitmap];
  int step = 0;
  for (const ControlBox& box : SkinLayout::all()) {
    const double value = (step++ % 7) / 6.0;
    if (box.kind == ControlBox::Kind::knob) {
      const RgbImage& body = images[box.bitmap - skin::backgroundBitmap];
      blitRows(surface, body, 0, body.height, box.left, box.top, scale, false);
      const double angle = (225.0 - 270.0 * value) * 3.14159265358979 / 180.0;
      const int h = static_cast<int>(15 + std::cos(angle) * 5 + 0.5);
      const int v = static_cast<int>(15 - std::sin(angle) * 5 + 0.5);
      blitRows(surface, dot, 0, dot.height, box.left + h - dot.width / 2,
               box.top + v - dot.height / 2, scale, true);
    } else if (box.kind == ControlBox::Kind::slider) {
      const RgbImage& track = images[skin::sliderTrackBitmap - skin::backgroundBitmap];
      const RgbImage& handle = images[skin::sliderHandleBitmap - skin::backgroundBitmap];
      blitRows(surface, track, 0, track.height, box.left, box.top, scale, false);
      const int handleTop =
          box.top + static_cast<int>((1.0 - value) * (track.height - handle.height));
      blitRows(surface, handle, 0, handle.height, box.left, handleTop, scale, true);
    } else if (box.kind == ControlBox::Kind::button) {
      const RgbImage& button = images[skin::buttonBitmap - skin::backgroundBitmap];
      const int imageHeight = button.height / skin::buttonImages;
      blitRows(surface, button, step % 2 == 0 ? imageHeight : 0, imageHeight, box.left, box.top,
               scale, false);
    }
  }
  cairo_t* cr = cairo_create(surface);
  cairo_scale(cr, scale, scale);
  cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 9);
  for (const ControlBox& box : SkinLayout::all()) {
    if (box.kind != ControlBox::Kind::display) continue;
    const Rgb grey = face.at(box.left, box.top);
    cairo_set_source_rgb(cr, grey.red / 255.0, grey.green / 255.0, grey.blue / 255.0);
    cairo_rectangle(cr, box.left, box.top, box.right - box.left + 1, box.bottom - box.top + 1);
    cairo_fill(cr);
    char text[16];
    std::snprintf(text, sizeof text, "%d%%", (box.left * 7 + box.top) % 101);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text, &extents);
    cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
    cairo_move_to(cr, std::round(box.centreX() - extents.x_advance / 2), box.bottom);
    cairo_show_text(cr, text);
  }
  cairo_destroy(cr);
  const bool saved = savePng(surface, path);
  cairo_surface_destroy(surface);
  return saved;
}

}  // namespace wrenfold
