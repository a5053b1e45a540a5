#include "gui/DrawContext.h"

#include <cstring>

#include "gui/platform/platform.h"

namespace wrenfold {

namespace {

const FontTableEntry fontTable[fontCount] = {
    {12, "Arial", platform::fontFamilySwiss}, {18, "Arial", platform::fontFamilySwiss},
    {14, "Arial", platform::fontFamilySwiss}, {12, "Arial", platform::fontFamilySwiss},
    {11, "Arial", platform::fontFamilySwiss}, {10, "Arial", platform::fontFamilySwiss},
    {9, "Arial", platform::fontFamilySwiss},  {13, "Symbol", platform::fontFamilyDecorative},
};

constexpr int32_t dottedLineStyle = 1;

}  // namespace

DrawContext::DrawContext(Frame* owner, platform::Surface* target, platform::Window* targetWindow)
    : windowOrigin(0, 0),
      surface(nullptr),
      window(targetWindow),
      frame(owner),
      fontSize(0),
      fontId(0),
      fontColor(whiteColor),
      lineWidth(1),
      frameColor(whiteColor),
      fillColor(blackColor),
      lineStyle(0),
      createdBrush(nullptr),
      createdPen(nullptr),
      createdFont(nullptr),
      savedBrush(nullptr),
      savedPen(nullptr),
      savedFont(nullptr) {
  if (window != nullptr) windowOrigin = platform::windowScreenRect(window).topLeft();
  attachSurface(target);
}

DrawContext::~DrawContext() { detachSurface(); }

void DrawContext::attachSurface(platform::Surface* newSurface) {
  surface = newSurface;
  if (surface == nullptr) return;
  savedBrush = platform::currentBrush(surface);
  savedPen = platform::currentPen(surface);
  savedFont = platform::currentFont(surface);
  platform::setBackgroundOpaque(surface, false);
  setFrameColor(whiteColor);
  setLineStyle(0);
  setFillColor(blackColor);
  platform::setTextColor(surface, fontColor);
}

void DrawContext::detachSurface() {
  if (surface != nullptr) {
    platform::selectBrush(surface, savedBrush);
    platform::selectPen(surface, savedPen);
    platform::selectFont(surface, savedFont);
  }
  platform::deleteBrush(createdBrush);
  platform::deletePen(createdPen);
  platform::deleteFont(createdFont);
  createdBrush = nullptr;
  createdPen = nullptr;
  createdFont = nullptr;
  surface = nullptr;
}

void DrawContext::moveTo(Point to) {
  if (surface != nullptr) platform::moveTo(surface, to);
}

void DrawContext::lineTo(Point to) {
  if (surface != nullptr) platform::lineTo(surface, to);
}

void DrawContext::frameRect(Rect area) {
  moveTo(Point(area.left, area.top));
  lineTo(Point(area.right, area.top));
  lineTo(Point(area.right, area.bottom));
  lineTo(Point(area.left, area.bottom));
  lineTo(Point(area.left, area.top));
}

void DrawContext::fillRect(Rect area) {
  if (surface == nullptr) return;
  platform::Pen* previous = platform::selectPen(surface, platform::nullPen());
  platform::fillRect(surface, Rect(area.left + 1, area.top + 1, area.right, area.bottom));
  platform::selectPen(surface, previous);
}

void DrawContext::setFrameColor(Color color) {
  frameColor = color;
  replacePen();
}

void DrawContext::setLineStyle(int32_t style) {
  lineStyle = style;
  replacePen();
}

void DrawContext::replacePen() {
  if (surface == nullptr) return;
  int32_t style = lineStyle == dottedLineStyle ? platform::penDotted : platform::penSolid;
  platform::Pen* pen = platform::createPen(style, lineWidth, frameColor);
  if (pen == nullptr) return;
  platform::selectPen(surface, pen);
  platform::deletePen(createdPen);
  createdPen = pen;
}

void DrawContext::setFillColor(Color color) {
  fillColor = color;
  if (surface == nullptr) return;
  platform::setBackgroundColor(surface, color);
  platform::Brush* brush = platform::createSolidBrush(color);
  if (brush == nullptr) return;
  platform::selectBrush(surface, brush);
  platform::deleteBrush(createdBrush);
  createdBrush = brush;
}

void DrawContext::setFontColor(Color color) {
  fontColor = color;
  if (surface != nullptr) platform::setTextColor(surface, color);
}

void DrawContext::setFont(int32_t id, int32_t size, int32_t face) {
  if (id < 0 || id >= fontCount) id = 0;
  const FontTableEntry& entry = fontTable[id];
  if (size == 0) size = entry.size;
  fontId = id;
  fontSize = size;
  if (surface == nullptr) return;

  platform::FontRequest request;
  request.height = size;
  request.weight =
      (face & faceBold) != 0 || id == 0 ? platform::fontWeightBold : platform::fontWeightNormal;
  request.italic = (face & faceItalic) != 0;
  request.underline = (face & faceUnderline) != 0;
  request.pitchAndFamily = entry.pitchAndFamily;
  std::strncpy(request.face, entry.face, sizeof(request.face) - 1);
  platform::Font* font = platform::createFont(request);
  if (font == nullptr) return;
  platform::selectFont(surface, font);
  platform::deleteFont(createdFont);
  createdFont = font;
}

void DrawContext::drawString(const char* text, Rect area, bool opaque, int32_t alignment) {
  if (text == nullptr || surface == nullptr) return;
  platform::setBackgroundOpaque(surface, opaque);
  uint32_t flags = platform::textSingleLine | platform::textVerticalCenter | platform::textNoPrefix;
  if (alignment == alignCenter) {
    flags |= platform::textAlignCenter;
  } else if (alignment == alignRight) {
    flags |= platform::textAlignRight;
  } else {
    flags |= platform::textAlignLeft;
    area.left += 1;
  }
  platform::drawText(surface, text, area, flags);
  platform::setBackgroundOpaque(surface, false);
}

MouseButtons DrawContext::readMouseButtons() {
  return static_cast<MouseButtons>(platform::inputState());
}

void DrawContext::readMouseLocation(Point& where) {
  Point screen = platform::cursorScreenPosition();
  where =
      platform::editorPoint(window, Point(screen.h - windowOrigin.h, screen.v - windowOrigin.v));
}

}  // namespace wrenfold
