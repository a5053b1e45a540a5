#include "tools/skingen/SkinArtist.h"

#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "editor/Skin.h"
#include "tools/skingen/SkinLayout.h"

namespace wrenfold {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr Rgb rgbOf(Color colour) { return Rgb{colour.red, colour.green, colour.blue}; }

constexpr int imageWidth = skin::bitmap(skin::backgroundBitmap).width;
constexpr int imageHeight = skin::bitmap(skin::backgroundBitmap).height;

constexpr Rgb channelGreyRgb = rgbOf(skin::channelGrey);
constexpr Rgb lowerGreyRgb = rgbOf(skin::lowerGrey);
constexpr Rgb inkRgb = rgbOf(skin::ink);
constexpr Rgb keyWhite{255, 255, 255};

constexpr Rgb stripTop{50, 52, 56};
constexpr Rgb stripBottom{31, 32, 35};
constexpr Rgb stripEdge{18, 19, 21};
constexpr Rgb stripText{238, 235, 228};
constexpr Rgb stripMuted{146, 148, 153};
constexpr Rgb accent{242, 152, 48};
constexpr Rgb accentHot{255, 214, 150};

constexpr Rgb panelHighlight{204, 204, 204};
constexpr Rgb panelEdge{138, 138, 138};
constexpr Rgb rule{150, 150, 150};
constexpr Rgb engraveDark{136, 136, 136};
constexpr Rgb engraveLight{190, 190, 190};

constexpr Rgb capFace{64, 66, 70};
constexpr Rgb dotRgb{250, 247, 238};

// The face's fixed geometry, in editor pixels.
constexpr int titleStripBottom = 23;
constexpr int footerTop = 415;
constexpr int panelLeft = 8;
constexpr int panelTop = 26;
constexpr int panelWidth = 164;
constexpr int panelBottom = 266;
constexpr int panelSpacing = 170;
constexpr int groupTop = 283;
constexpr int groupBottom = 411;
constexpr int bufferGroupLeft = 9;
constexpr int bufferGroupRight = 135;
constexpr int filterGroupLeft = 139;
constexpr int filterGroupRight = 341;

constexpr double labelSize = 8.0;
constexpr double titleSize = 10.0;

enum class Align { left, centre, right };

void setColour(cairo_t* cr, Rgb colour, double alpha = 1.0) {
  cairo_set_source_rgba(cr, colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0, alpha);
}

void addStop(cairo_pattern_t* pattern, double offset, Rgb colour, double alpha = 1.0) {
  cairo_pattern_add_color_stop_rgba(pattern, offset, colour.red / 255.0, colour.green / 255.0,
                                    colour.blue / 255.0, alpha);
}

void verticalGradient(cairo_t* cr, double top, double bottom, Rgb from, Rgb to) {
  cairo_pattern_t* pattern = cairo_pattern_create_linear(0, top, 0, bottom);
  addStop(pattern, 0, from);
  addStop(pattern, 1, to);
  cairo_set_source(cr, pattern);
  cairo_pattern_destroy(pattern);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -pi / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, pi / 2);
  cairo_arc(cr, x + r, y + h - r, r, pi / 2, pi);
  cairo_arc(cr, x + r, y + r, r, pi, 3 * pi / 2);
  cairo_close_path(cr);
}

void fillRect(cairo_t* cr, int x, int y, int w, int h, Rgb colour) {
  setColour(cr, colour);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
}

void selectFont(cairo_t* cr, double size, bool bold) {
  cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

double textWidth(cairo_t* cr, const std::string& text) {
  cairo_text_extents_t extents;
  cairo_text_extents(cr, text.c_str(), &extents);
  return extents.x_advance;
}

// Snaps text to whole pixels so that small glyphs stay crisp. Returns the left edge used.
double drawText(cairo_t* cr, const std::string& text, double x, double baseline, Align align,
                Rgb colour) {
  const double width = textWidth(cr, text);
  double left = x;
  if (align == Align::centre) left = x - width / 2;
  if (align == Align::right) left = x - width;
  left = std::round(left);
  setColour(cr, colour);
  cairo_move_to(cr, left, baseline);
  cairo_show_text(cr, text.c_str());
  return left;
}

// Draws text with extra space between the letters, for small capitals.
void drawSpacedText(cairo_t* cr, const std::string& text, double right, double baseline,
                    double spacing, Rgb colour) {
  double width = 0;
  for (char letter : text) width += textWidth(cr, std::string(1, letter)) + spacing;
  width -= spacing;
  double x = std::round(right - width);
  setColour(cr, colour);
  for (char letter : text) {
    const std::string glyph(1, letter);
    cairo_move_to(cr, x, baseline);
    cairo_show_text(cr, glyph.c_str());
    x += textWidth(cr, glyph) + spacing;
  }
}

// Turns every pixel of a drawn surface into a colour with `convert(pixel)`.
template <class Convert>
RgbImage imageOf(cairo_surface_t* surface, Convert convert) {
  cairo_surface_flush(surface);
  RgbImage image;
  image.width = cairo_image_surface_get_width(surface);
  image.height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  for (int y = 0; y < image.height; ++y) {
    const auto* row =
        reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int x = 0; x < image.width; ++x) image.pixels.push_back(convert(row[x]));
  }
  return image;
}

RgbImage fromOpaqueSurface(cairo_surface_t* surface) {
  return imageOf(surface, [](std::uint32_t pixel) {
    return Rgb{static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
               static_cast<std::uint8_t>(pixel)};
  });
}

// Turns a drawing with coverage into a keyed image: barely covered pixels become the white key,
// the rest is flattened over the colour the image will be drawn on, so edges do not glow white.
RgbImage fromKeyedSurface(cairo_surface_t* surface, Rgb backdrop, double threshold) {
  return imageOf(surface, [backdrop, threshold](std::uint32_t pixel) {
    const double alpha = (pixel >> 24) / 255.0;
    if (alpha < threshold) return keyWhite;
    auto flatten = [&](int shift, std::uint8_t under) {
      const double premultiplied = ((pixel >> shift) & 0xFF);
      const long value = std::lround(premultiplied + (1.0 - alpha) * under);
      return static_cast<std::uint8_t>(value > 254 ? 254 : value);
    };
    return Rgb{flatten(16, backdrop.red), flatten(8, backdrop.green), flatten(0, backdrop.blue)};
  });
}

// Owns a cairo surface and its context for the length of one painting.
// Painting code works in editor pixels; the surface has `scale` pixels for each.
class Canvas {
 public:
  Canvas(int width, int height, cairo_format_t format, int scale)
      : cairoSurface(cairo_image_surface_create(format, width * scale, height * scale)),
        cairoContext(cairo_create(cairoSurface)) {
    if (scale != 1) cairo_scale(cairoContext, scale, scale);
  }
  ~Canvas() {
    cairo_destroy(cairoContext);
    cairo_surface_destroy(cairoSurface);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  cairo_t* context() const { return cairoContext; }
  cairo_surface_t* surface() const { return cairoSurface; }

 private:
  cairo_surface_t* cairoSurface;
  cairo_t* cairoContext;
};

void paintTitleStrip(cairo_t* cr) {
  verticalGradient(cr, 0, titleStripBottom, stripTop, stripBottom);
  cairo_rectangle(cr, 0, 0, imageWidth, titleStripBottom);
  cairo_fill(cr);
  fillRect(cr, 0, titleStripBottom, imageWidth, 1, stripEdge);

  // Three fading taps: the echo mark in front of the name.
  const double heights[] = {11, 8, 5};
  const double alphas[] = {1.0, 0.7, 0.45};
  for (int i = 0; i < 3; ++i) {
    setColour(cr, accent, alphas[i]);
    cairo_rectangle(cr, 12 + 4 * i, 17 - heights[i], 2, heights[i]);
    cairo_fill(cr);
  }
  selectFont(cr, 14, true);
  drawText(cr, "Wrenfold", 27, 17, Align::left, stripText);
  selectFont(cr, 8, false);
  drawSpacedText(cr, "STEREO TEMPO DELAY", 340, 15, 1.0, stripMuted);
}

void paintFooter(cairo_t* cr) {
  fillRect(cr, 0, footerTop, imageWidth, 1, stripEdge);
  verticalGradient(cr, footerTop + 1, imageHeight, stripBottom, stripTop);
  cairo_rectangle(cr, 0, footerTop + 1, imageWidth, imageHeight - footerTop - 1);
  cairo_fill(cr);
  selectFont(cr, labelSize, false);
  drawText(cr, "hollow reed tone", 340, 426, Align::right, stripMuted);
}

void paintChannelPanel(cairo_t* cr, int channel) {
  const double left = panelLeft + panelSpacing * channel;
  const double height = panelBottom - panelTop;
  for (int spread = 3; spread >= 1; --spread) {
    setColour(cr, Rgb{0, 0, 0}, 0.06);
    roundedRect(cr, left - spread * 0.5, panelTop + spread * 0.5, panelWidth + spread,
                height + spread * 0.5, 5);
    cairo_fill(cr);
  }
  setColour(cr, panelEdge);
  roundedRect(cr, left, panelTop, panelWidth, height, 5);
  cairo_fill(cr);
  setColour(cr, panelHighlight);
  roundedRect(cr, left + 1, panelTop + 1, panelWidth - 2, height - 2, 4);
  cairo_fill(cr);
  setColour(cr, channelGreyRgb);
  roundedRect(cr, left + 1, panelTop + 2, panelWidth - 2, height - 3, 4);
  cairo_fill(cr);

  const int x0 = SkinLayout::channelOrigin(channel);
  selectFont(cr, titleSize, true);
  const std::string title = channel == 0 ? "Left ch." : "Right ch.";
  const double titleLeft = drawText(cr, title, x0 - 10, 37, Align::left, inkRgb);
  const double ruleLeft = std::round(titleLeft + textWidth(cr, title) + 6);
  fillRect(cr, static_cast<int>(ruleLeft), 33, x0 + 141 - static_cast<int>(ruleLeft), 1, rule);
  fillRect(cr, static_cast<int>(ruleLeft), 34, x0 + 141 - static_cast<int>(ruleLeft), 1,
           panelHighlight);
}

// Draws an engraved frame whose top line breaks for the group's title.
void paintGroup(cairo_t* cr, int left, int right, const std::string& title) {
  const double width = right - left;
  const double height = groupBottom - groupTop;
  cairo_set_line_width(cr, 1);
  setColour(cr, engraveLight);
  roundedRect(cr, left + 1.5, groupTop + 1.5, width, height, 4);
  cairo_stroke(cr);
  setColour(cr, engraveDark);
  roundedRect(cr, left + 0.5, groupTop + 0.5, width, height, 4);
  cairo_stroke(cr);

  selectFont(cr, titleSize, true);
  const double textLeft = left + 10;
  fillRect(cr, left + 6, groupTop, static_cast<int>(std::ceil(textWidth(cr, title))) + 8, 3,
           lowerGreyRgb);
  drawText(cr, title, textLeft, groupTop + 4, Align::left, inkRgb);
}

// Prints every control's label under it, as the editor's layout rows give them.
void paintLabels(cairo_t* cr) {
  selectFont(cr, labelSize, false);
  for (const ControlBox& box : SkinLayout::all())
    if (box.label != nullptr)
      drawText(cr, box.label, box.centreX(), box.labelBaseline, Align::centre, inkRgb);
}

// Marks the 270° travel of a knob with ticks between the body and the image's edge.
void paintKnobScale(cairo_t* cr, Rgb cornerGrey) {
  const Rgb tickColour{static_cast<std::uint8_t>(cornerGrey.red * 0.5),
                       static_cast<std::uint8_t>(cornerGrey.green * 0.5),
                       static_cast<std::uint8_t>(cornerGrey.blue * 0.5)};
  cairo_set_line_width(cr, 1.0);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  for (int i = 0; i <= 10; ++i) {
    const double angle = (225.0 - 27.0 * i) * pi / 180.0;
    const bool major = i == 0 || i == 5 || i == 10;
    const double inner = 12.6;
    const double outer = major ? 14.8 : 14.0;
    setColour(cr, tickColour, major ? 0.95 : 0.6);
    cairo_move_to(cr, 15 + std::cos(angle) * inner, 15 - std::sin(angle) * inner);
    cairo_line_to(cr, 15 + std::cos(angle) * outer, 15 - std::sin(angle) * outer);
    cairo_stroke(cr);
  }
}

void paintButtonState(cairo_t* cr, double top, bool lit) {
  setColour(cr, Rgb{0, 0, 0}, 0.25);
  roundedRect(cr, 1, top + 2, 18, 24.5, 3);
  cairo_fill(cr);
  setColour(cr, Rgb{24, 25, 27});
  roundedRect(cr, 1, top + 1, 18, 24, 3);
  cairo_fill(cr);
  if (lit)
    verticalGradient(cr, top + 2, top + 24, Rgb{62, 64, 68}, Rgb{48, 49, 52});
  else
    verticalGradient(cr, top + 2, top + 24, Rgb{104, 106, 110}, Rgb{50, 51, 54});
  roundedRect(cr, 2, top + 2, 16, 22, 2.2);
  cairo_fill(cr);

  if (lit) {
    cairo_save(cr);
    roundedRect(cr, 2, top + 2, 16, 22, 2.2);
    cairo_clip(cr);
    cairo_pattern_t* glow = cairo_pattern_create_radial(10, top + 8, 1, 10, top + 8, 11);
    addStop(glow, 0, accent, 0.55);
    addStop(glow, 1, accent, 0.0);
    cairo_set_source(cr, glow);
    cairo_paint(cr);
    cairo_pattern_destroy(glow);
    cairo_restore(cr);
  }

  setColour(cr, Rgb{20, 20, 22});
  roundedRect(cr, 4.5, top + 5.5, 11, 5, 1.5);
  cairo_fill(cr);
  if (lit) {
    setColour(cr, accent);
    roundedRect(cr, 5.5, top + 6.5, 9, 3, 1);
    cairo_fill(cr);
    setColour(cr, accentHot);
    cairo_rectangle(cr, 7, top + 7, 6, 1);
    cairo_fill(cr);
  } else {
    setColour(cr, Rgb{78, 60, 44});
    roundedRect(cr, 5.5, top + 6.5, 9, 3, 1);
    cairo_fill(cr);
    setColour(cr, Rgb{104, 86, 70});
    cairo_rectangle(cr, 7, top + 7, 6, 1);
    cairo_fill(cr);
  }

  // Grip lines on the lower half of the cap.
  for (int i = 0; i < 3; ++i) {
    const double y = top + 15 + 3 * i;
    setColour(cr, Rgb{20, 20, 22}, lit ? 0.55 : 0.5);
    cairo_rectangle(cr, 6, y, 8, 1);
    cairo_fill(cr);
    setColour(cr, Rgb{255, 250, 240}, lit ? 0.10 : 0.16);
    cairo_rectangle(cr, 6, y + 1, 8, 1);
    cairo_fill(cr);
  }
}

}  // namespace

Rgb SkinArtist::channelGrey() { return channelGreyRgb; }

Rgb SkinArtist::lowerGrey() { return lowerGreyRgb; }

Rgb SkinArtist::ink() { return inkRgb; }

RgbImage SkinArtist::background() const {
  Canvas canvas(imageWidth, imageHeight, CAIRO_FORMAT_RGB24, scale);
  cairo_t* cr = canvas.context();
  fillRect(cr, 0, 0, imageWidth, imageHeight, lowerGreyRgb);
  paintTitleStrip(cr);
  for (int channel : {0, 1}) paintChannelPanel(cr, channel);
  paintGroup(cr, bufferGroupLeft, bufferGroupRight, "BufferSetting");
  paintGroup(cr, filterGroupLeft, filterGroupRight, "FilterSetting");
  paintLabels(cr);
  paintFooter(cr);
  return fromOpaqueSurface(canvas.surface());
}

RgbImage SkinArtist::knobBody(Rgb cornerGrey) const {
  const skin::SkinBitmap& size = skin::bitmap(skin::lowerKnobBitmap);
  Canvas canvas(size.width, size.height, CAIRO_FORMAT_RGB24, scale);
  cairo_t* cr = canvas.context();
  fillRect(cr, 0, 0, size.width, size.height, cornerGrey);
  paintKnobScale(cr, cornerGrey);

  setColour(cr, Rgb{0, 0, 0}, 0.12);
  cairo_arc(cr, 15, 16.6, 12.2, 0, 2 * pi);
  cairo_fill(cr);
  setColour(cr, Rgb{0, 0, 0}, 0.22);
  cairo_arc(cr, 15, 15.8, 11.9, 0, 2 * pi);
  cairo_fill(cr);

  verticalGradient(cr, 3.5, 26.5, Rgb{122, 124, 129}, Rgb{30, 31, 34});
  cairo_arc(cr, 15, 15, 11.4, 0, 2 * pi);
  cairo_fill(cr);

  setColour(cr, Rgb{22, 23, 25});
  cairo_arc(cr, 15, 15, 9.0, 0, 2 * pi);
  cairo_fill(cr);
  verticalGradient(cr, 6.5, 23.5, Rgb{52, 54, 58}, Rgb{84, 86, 91});
  cairo_arc(cr, 15, 15, 8.2, 0, 2 * pi);
  cairo_fill(cr);

  cairo_pattern_t* sheen = cairo_pattern_create_radial(12.5, 11.5, 0.5, 13, 12.5, 7.5);
  addStop(sheen, 0, Rgb{255, 255, 255}, 0.16);
  addStop(sheen, 1, Rgb{255, 255, 255}, 0.0);
  cairo_set_source(cr, sheen);
  cairo_arc(cr, 15, 15, 8.2, 0, 2 * pi);
  cairo_fill(cr);
  cairo_pattern_destroy(sheen);
  return fromOpaqueSurface(canvas.surface());
}

RgbImage SkinArtist::knobHandle() const {
  const skin::SkinBitmap& size = skin::bitmap(skin::knobHandleBitmap);
  Canvas canvas(size.width, size.height, CAIRO_FORMAT_ARGB32, scale);
  cairo_t* cr = canvas.context();
  setColour(cr, Rgb{12, 12, 14}, 0.55);
  cairo_arc(cr, 3, 3.3, 2.9, 0, 2 * pi);
  cairo_fill(cr);
  setColour(cr, dotRgb);
  cairo_arc(cr, 3, 3, 2.2, 0, 2 * pi);
  cairo_fill(cr);
  return fromKeyedSurface(canvas.surface(), capFace, 0.3);
}

RgbImage SkinArtist::sliderTrack() const {
  const skin::SkinBitmap& size = skin::bitmap(skin::sliderTrackBitmap);
  Canvas canvas(size.width, size.height, CAIRO_FORMAT_RGB24, scale);
  cairo_t* cr = canvas.context();
  fillRect(cr, 0, 0, size.width, size.height, channelGreyRgb);

  // A tick for every tenth of the travel, aligned with the handle's centre line.
  for (int i = 0; i <= 10; ++i) {
    const int y = 4 + 17 * i;
    const bool major = i % 5 == 0;
    const Rgb colour = major ? Rgb{88, 88, 88} : Rgb{128, 128, 128};
    fillRect(cr, major ? 1 : 3, y, major ? 5 : 3, 1, colour);
    fillRect(cr, 14, y, major ? 5 : 3, 1, colour);
  }

  setColour(cr, panelHighlight);
  roundedRect(cr, 7.5, 1.5, 6, 178, 3);
  cairo_fill(cr);
  setColour(cr, Rgb{120, 120, 120});
  roundedRect(cr, 7, 1, 6, 177.5, 3);
  cairo_fill(cr);
  verticalGradient(cr, 0, 4, Rgb{16, 16, 18}, Rgb{36, 37, 40});
  roundedRect(cr, 8, 2, 4, 176, 2);
  cairo_fill(cr);
  return fromOpaqueSurface(canvas.surface());
}

RgbImage SkinArtist::sliderHandle() const {
  const skin::SkinBitmap& size = skin::bitmap(skin::sliderHandleBitmap);
  Canvas canvas(size.width, size.height, CAIRO_FORMAT_ARGB32, scale);
  cairo_t* cr = canvas.context();
  setColour(cr, Rgb{0, 0, 0}, 0.35);
  roundedRect(cr, 1, 1, 18, 9, 2);
  cairo_fill(cr);
  setColour(cr, Rgb{22, 23, 25});
  roundedRect(cr, 1, 0, 18, 9, 2);
  cairo_fill(cr);
  verticalGradient(cr, 1, 8, Rgb{112, 114, 119}, Rgb{52, 53, 57});
  roundedRect(cr, 2, 1, 16, 7, 1.2);
  cairo_fill(cr);
  setColour(cr, Rgb{244, 241, 234});
  cairo_rectangle(cr, 3, 4, 14, 1);
  cairo_fill(cr);
  return fromKeyedSurface(canvas.surface(), channelGreyRgb, 0.3);
}

RgbImage SkinArtist::button() const {
  const skin::SkinBitmap& size = skin::bitmap(skin::buttonBitmap);
  Canvas canvas(size.width, size.height, CAIRO_FORMAT_RGB24, scale);
  cairo_t* cr = canvas.context();
  fillRect(cr, 0, 0, size.width, size.height, lowerGreyRgb);
  paintButtonState(cr, 0, false);
  paintButtonState(cr, size.height / skin::buttonImages, true);
  return fromOpaqueSurface(canvas.surface());
}

}  // namespace wrenfold
