#include "gui/ValueDisplay.h"

#include <cstdio>

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"

namespace wrenfold {

namespace {

constexpr int32_t defaultFontId = 3;
constexpr int32_t bevelStyles = styleBevelBackTopLeft | styleBevelFrameTopLeft;

}  // namespace

ValueDisplay::ValueDisplay(const Rect& size, Bitmap* backgroundBitmap, int32_t styleBits)
    : Control(size, nullptr, 0, backgroundBitmap),
      converter(nullptr),
      converterWithData(nullptr),
      textToValueConverter(nullptr),
      converterData(nullptr),
      horizontalAlign(alignCenter),
      style(styleBits),
      fontId(defaultFontId),
      textFace(0),
      fontColor(whiteColor),
      backColor(blackColor),
      frameColor(blackColor),
      shadowColor(redColor),
      textTransparency(true) {
  if ((style & styleNoDraw) != 0) setDirty(false);
}

void ValueDisplay::formatValue(char* text) {
  text[0] = '\0';
  if (converterWithData != nullptr) {
    converterWithData(value, text, converterData);
  } else if (converter != nullptr) {
    converter(value, text);
  } else {
    std::snprintf(text, valueTextSize, "%2.2f", static_cast<double>(value));
  }
  // A converter that overruns its text is not ours to fix, but an unterminated one is.
  text[valueTextSize - 1] = '\0';
}

void ValueDisplay::draw(DrawContext* context) {
  char text[valueTextSize];
  formatValue(text);
  drawText(context, text, nullptr);
}

void ValueDisplay::drawText(DrawContext* context, const char* text, Bitmap* replacement) {
  setDirty(false);
  if ((style & styleNoDraw) != 0) return;
  drawBackground(context, replacement);
  drawBevel(context);
  if ((style & styleNoText) != 0 || text == nullptr) return;

  context->setFont(fontId, 0, textFace);
  const bool opaque = !textTransparency;
  if ((style & styleShadowText) != 0) {
    context->setFontColor(shadowColor);
    context->drawString(text, bounds.offsetBy(1, 1), opaque, horizontalAlign);
  }
  context->setFontColor(fontColor);
  context->drawString(text, bounds, opaque, horizontalAlign);
}

void ValueDisplay::drawBackground(DrawContext* context, Bitmap* replacement) {
  Bitmap* image = replacement != nullptr ? replacement : background;
  if (image != nullptr) {
    if (transparent) {
      image->drawTransparent(context, bounds, backgroundOrigin);
    } else {
      image->draw(context, bounds, backgroundOrigin);
    }
    return;
  }
  if (transparent) return;
  context->setFillColor(backColor);
  context->fillRect(bounds);
  if ((style & bevelStyles) == 0) {
    context->setFrameColor(frameColor);
    context->frameRect(bounds);
  }
}

void ValueDisplay::drawBevel(DrawContext* context) {
  if ((style & bevelStyles) == 0) return;
  const bool backFirst = (style & styleBevelBackTopLeft) != 0;
  context->setFrameColor(backFirst ? backColor : frameColor);
  context->moveTo(Point(bounds.left, bounds.bottom));
  context->lineTo(Point(bounds.left, bounds.top));
  context->lineTo(Point(bounds.right + 1, bounds.top));
  context->setFrameColor(backFirst ? frameColor : backColor);
  context->moveTo(Point(bounds.right, bounds.top + 1));
  context->lineTo(Point(bounds.right, bounds.bottom));
  context->lineTo(Point(bounds.left, bounds.bottom));
}

void ValueDisplay::storeColor(Color& field, Color color) {
  const bool changed = field != color;
  field = color;
  if (changed) setDirty(true);
}

void ValueDisplay::setFont(int32_t id) {
  if (fontId == id) return;
  fontId = id;
  setDirty(true);
}

void ValueDisplay::setFontColor(Color color) { storeColor(fontColor, color); }

void ValueDisplay::setBackColor(Color color) { storeColor(backColor, color); }

void ValueDisplay::setFrameColor(Color color) { storeColor(frameColor, color); }

void ValueDisplay::setShadowColor(Color color) { storeColor(shadowColor, color); }

void ValueDisplay::setHorizontalAlign(int32_t alignment) {
  if (horizontalAlign == alignment) return;
  horizontalAlign = alignment;
  setDirty(true);
}

void ValueDisplay::setConverterWithData(ValueToStringFunctionWithUserData function,
                                        void* userData) {
  converterWithData = function;
  converterData = userData;
}

void ValueDisplay::setConverter(ValueToStringFunction function) { converter = function; }

void ValueDisplay::setTextToValueConverter(TextToValueFunction function) {
  textToValueConverter = function;
}

void ValueDisplay::setStyle(int32_t styleBits) {
  if (style == styleBits) return;
  style = styleBits;
  setDirty(true);
}

void ValueDisplay::setTextFace(int32_t face) {
  if (textFace == face) return;
  textFace = face;
  setDirty(true);
}

void ValueDisplay::setTextTransparency(bool state) { textTransparency = state; }

}  // namespace wrenfold
