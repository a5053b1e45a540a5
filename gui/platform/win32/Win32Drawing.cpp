// Memory surfaces, bitmap resources, pens, brushes, fonts and the drawing primitives over GDI.
#include <cmath>
#include <cstring>
#include <new>

#include "gui/platform/shared/DeviceScale.h"
#include "gui/platform/shared/LineWalk.h"
#include "gui/platform/win32/Win32Surface.h"

namespace wrenfold {

namespace {

HPEN nativePen(platform::Pen* pen) { return reinterpret_cast<HPEN>(pen); }
HBRUSH nativeBrush(platform::Brush* brush) { return reinterpret_cast<HBRUSH>(brush); }
HFONT nativeFont(platform::Font* font) { return reinterpret_cast<HFONT>(font); }

// The character height of a font asked for with height 0, when it is drawn at a scale.
constexpr LONG defaultFontHeight = 12;

// Gives a surface's pixels a device context for the length of one copy into a destination at
// `scale`: its own, or a temporary memory context holding its bitmap at that scale.
class SourceContext {
 public:
  SourceContext(platform::Surface* source, HDC compatibleWith, float scale) : dc(source->dc) {
    if (dc != nullptr || source->bitmap == nullptr) return;
    HBITMAP bitmap = win32::bitmapAtScale(source, scale);
    if (bitmap == nullptr) return;
    temporary = CreateCompatibleDC(compatibleWith);
    if (temporary == nullptr) return;
    previous = SelectObject(temporary, bitmap);
    dc = temporary;
  }
  ~SourceContext() {
    if (temporary == nullptr) return;
    SelectObject(temporary, previous);
    DeleteDC(temporary);
  }
  SourceContext(const SourceContext&) = delete;
  SourceContext& operator=(const SourceContext&) = delete;

  // Returns the device context to copy from, null when none could be made.
  HDC get() const { return dc; }

 private:
  HDC dc;
  HDC temporary = nullptr;
  HGDIOBJ previous = nullptr;
};

// Selects a copy of the surface's font at `scale` times its size while it lives, so that text is
// drawn by the font engine at device resolution; the font stays as it is where no copy is made.
class ScaledFont {
 public:
  ScaledFont(HDC surfaceDc, float scale) : dc(surfaceDc) {
    LOGFONTA font;
    if (GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof(font), &font) == 0) return;
    font.lfHeight = std::lround((font.lfHeight != 0 ? font.lfHeight : -defaultFontHeight) * scale);
    font.lfWidth = std::lround(font.lfWidth * scale);
    scaled = CreateFontIndirectA(&font);
    if (scaled != nullptr) previous = SelectObject(dc, scaled);
  }
  ~ScaledFont() {
    if (scaled == nullptr) return;
    SelectObject(dc, previous);
    DeleteObject(scaled);
  }
  ScaledFont(const ScaledFont&) = delete;
  ScaledFont& operator=(const ScaledFont&) = delete;

 private:
  HDC dc;
  HFONT scaled = nullptr;
  HGDIOBJ previous = nullptr;
};

// Draws the line from `from` to `to` with the pen selected in the surface as the toolkit's lines
// are drawn at a scale: each editor pixel the pen sets is its square of device pixels.
void walkScaledLine(platform::Surface* surface, Point from, Point to) {
  LOGPEN pen;
  if (GetObjectA(GetCurrentObject(surface->dc, OBJ_PEN), sizeof(pen), &pen) == 0 ||
      pen.lopnStyle == PS_NULL)
    return;
  HBRUSH brush = CreateSolidBrush(pen.lopnColor);
  if (brush == nullptr) return;
  platform::walkLine(from, to, pen.lopnStyle == PS_DOT, [surface, brush](int32_t x, int32_t y) {
    const RECT square =
        win32::nativeRect(platform::toDevice(Rect(x, y, x + 1, y + 1), surface->scale));
    FillRect(surface->dc, &square, brush);
  });
  DeleteObject(brush);
}

platform::Surface* bitmapSurface(HDC dc, HBITMAP bitmap) {
  platform::Surface* surface = new (std::nothrow) platform::Surface();
  if (surface == nullptr) return nullptr;
  surface->dc = dc;
  surface->bitmap = bitmap;
  if (dc != nullptr) surface->previousBitmap = SelectObject(dc, bitmap);
  return surface;
}

}  // namespace

namespace platform {

Surface* createMemorySurface(Surface* reference, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return nullptr;
  const float scale = reference != nullptr ? reference->scale : 1.0f;
  HDC referenceDc = reference != nullptr ? reference->dc : nullptr;
  HDC screenDc = referenceDc == nullptr ? GetDC(nullptr) : nullptr;
  HDC compatible = referenceDc != nullptr ? referenceDc : screenDc;
  HDC dc = CreateCompatibleDC(compatible);
  HBITMAP bitmap = dc != nullptr ? CreateCompatibleBitmap(compatible, toDevice(width, scale),
                                                          toDevice(height, scale))
                                 : nullptr;
  if (screenDc != nullptr) ReleaseDC(nullptr, screenDc);
  Surface* surface = bitmap != nullptr ? bitmapSurface(dc, bitmap) : nullptr;
  if (surface == nullptr) {
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (dc != nullptr) DeleteDC(dc);
    return nullptr;
  }
  surface->scale = scale;
  return surface;
}

void destroySurface(Surface* surface) {
  if (surface == nullptr) return;
  if (surface->dc != nullptr) {
    SelectObject(surface->dc, surface->previousBitmap);
    DeleteDC(surface->dc);
  }
  if (surface->bitmap != nullptr) DeleteObject(surface->bitmap);
  win32::releaseScaledBitmap(surface);
  delete surface;
}

Surface* loadBitmapResource(void* module, int32_t id, int32_t* width, int32_t* height) {
  if (width != nullptr) *width = 0;
  if (height != nullptr) *height = 0;
  HBITMAP image = LoadBitmapA(static_cast<HINSTANCE>(module), MAKEINTRESOURCEA(id));
  if (image == nullptr) return nullptr;
  BITMAP description;
  Surface* surface = GetObjectA(image, sizeof(description), &description) != 0
                         ? bitmapSurface(nullptr, image)
                         : nullptr;
  if (surface == nullptr) {
    DeleteObject(image);
    return nullptr;
  }
  surface->module = static_cast<HINSTANCE>(module);
  surface->resourceId = id;
  if (width != nullptr) *width = description.bmWidth;
  if (height != nullptr) *height = description.bmHeight;
  return surface;
}

Pen* createPen(int32_t style, int32_t width, Color color) {
  LOGPEN request = {static_cast<UINT>(style), POINT{width, 0}, win32::colorRef(color)};
  return reinterpret_cast<Pen*>(CreatePenIndirect(&request));
}

Brush* createSolidBrush(Color color) {
  LOGBRUSH request = {BS_SOLID, win32::colorRef(color), 0};
  return reinterpret_cast<Brush*>(CreateBrushIndirect(&request));
}

Font* createFont(const FontRequest& request) {
  LOGFONTA font = {};
  font.lfHeight = -request.height;
  font.lfWeight = request.weight;
  font.lfItalic = request.italic ? 1 : 0;
  font.lfUnderline = request.underline ? 1 : 0;
  font.lfCharSet = ANSI_CHARSET;
  font.lfOutPrecision = OUT_STRING_PRECIS;
  font.lfClipPrecision = CLIP_STROKE_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = static_cast<BYTE>(request.pitchAndFamily);
  static_assert(sizeof(font.lfFaceName) == sizeof(request.face), "face names of the same size");
  std::memcpy(font.lfFaceName, request.face, sizeof(font.lfFaceName));
  font.lfFaceName[sizeof(font.lfFaceName) - 1] = 0;
  return reinterpret_cast<Font*>(CreateFontIndirectA(&font));
}

Pen* nullPen() { return reinterpret_cast<Pen*>(GetStockObject(NULL_PEN)); }

void deletePen(Pen* pen) {
  if (pen != nullptr && pen != nullPen()) DeleteObject(nativePen(pen));
}

void deleteBrush(Brush* brush) {
  if (brush != nullptr) DeleteObject(nativeBrush(brush));
}

void deleteFont(Font* font) {
  if (font != nullptr) DeleteObject(nativeFont(font));
}

Pen* selectPen(Surface* surface, Pen* pen) {
  if (surface == nullptr || surface->dc == nullptr || pen == nullptr) return nullptr;
  return reinterpret_cast<Pen*>(SelectObject(surface->dc, nativePen(pen)));
}

Brush* selectBrush(Surface* surface, Brush* brush) {
  if (surface == nullptr || surface->dc == nullptr || brush == nullptr) return nullptr;
  return reinterpret_cast<Brush*>(SelectObject(surface->dc, nativeBrush(brush)));
}

Font* selectFont(Surface* surface, Font* font) {
  if (surface == nullptr || surface->dc == nullptr || font == nullptr) return nullptr;
  return reinterpret_cast<Font*>(SelectObject(surface->dc, nativeFont(font)));
}

Pen* currentPen(Surface* surface) {
  return surface != nullptr && surface->dc != nullptr
             ? reinterpret_cast<Pen*>(GetCurrentObject(surface->dc, OBJ_PEN))
             : nullptr;
}

Brush* currentBrush(Surface* surface) {
  return surface != nullptr && surface->dc != nullptr
             ? reinterpret_cast<Brush*>(GetCurrentObject(surface->dc, OBJ_BRUSH))
             : nullptr;
}

Font* currentFont(Surface* surface) {
  return surface != nullptr && surface->dc != nullptr
             ? reinterpret_cast<Font*>(GetCurrentObject(surface->dc, OBJ_FONT))
             : nullptr;
}

Color setBackgroundColor(Surface* surface, Color color) {
  if (surface == nullptr || surface->dc == nullptr) return Color();
  return win32::fromColorRef(SetBkColor(surface->dc, win32::colorRef(color)));
}

Color setTextColor(Surface* surface, Color color) {
  if (surface == nullptr || surface->dc == nullptr) return Color();
  return win32::fromColorRef(SetTextColor(surface->dc, win32::colorRef(color)));
}

void setBackgroundOpaque(Surface* surface, bool opaque) {
  if (surface != nullptr && surface->dc != nullptr)
    SetBkMode(surface->dc, opaque ? OPAQUE : TRANSPARENT);
}

void moveTo(Surface* surface, Point to) {
  if (surface == nullptr || surface->dc == nullptr) return;
  surface->position = to;
  const Point device = toDevice(to, surface->scale);
  MoveToEx(surface->dc, device.h, device.v, nullptr);
}

void lineTo(Surface* surface, Point to) {
  if (surface == nullptr || surface->dc == nullptr) return;
  if (surface->scale == 1.0f) {
    LineTo(surface->dc, to.h, to.v);
    surface->position = to;
    return;
  }
  walkScaledLine(surface, surface->position, to);
  moveTo(surface, to);
}

void fillRect(Surface* surface, Rect area) {
  if (surface == nullptr || surface->dc == nullptr) return;
  const RECT native = win32::nativeRect(toDevice(area, surface->scale));
  FillRect(surface->dc, &native, static_cast<HBRUSH>(GetCurrentObject(surface->dc, OBJ_BRUSH)));
}

void drawText(Surface* surface, const char* text, Rect area, uint32_t flags) {
  if (surface == nullptr || surface->dc == nullptr || text == nullptr) return;
  // Laid out as at 1, in the device rectangle with the font at the device size.
  RECT native = win32::nativeRect(toDevice(area, surface->scale));
  if (surface->scale == 1.0f) {
    DrawTextA(surface->dc, text, -1, &native, flags);
    return;
  }
  ScaledFont font(surface->dc, surface->scale);
  DrawTextA(surface->dc, text, -1, &native, flags);
}

void copyPixels(Surface* destination, Rect area, Surface* source, Point sourceOrigin) {
  if (destination == nullptr || destination->dc == nullptr || source == nullptr) return;
  // Both sides are at the destination's scale: the copy is 1:1 in device pixels.
  SourceContext from(source, destination->dc, destination->scale);
  if (from.get() == nullptr) return;
  const Rect to = toDevice(area, destination->scale);
  const Point origin = toDevice(sourceOrigin, destination->scale);
  BitBlt(destination->dc, to.left, to.top, to.width(), to.height(), from.get(), origin.h, origin.v,
         SRCCOPY);
}

void copyPixelsKeyed(Surface* destination, Rect area, Surface* source, Point sourceOrigin,
                     Color key) {
  if (destination == nullptr || destination->dc == nullptr || source == nullptr) return;
  SourceContext from(source, destination->dc, destination->scale);
  if (from.get() == nullptr) return;
  win32::keyedBlit(destination->dc, toDevice(area, destination->scale), from.get(),
                   toDevice(sourceOrigin, destination->scale), win32::colorRef(key));
}

}  // namespace platform
}  // namespace wrenfold
