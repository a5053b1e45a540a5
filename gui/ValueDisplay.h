#pragma once

#include <cstdint>

#include "gui/Color.h"
#include "gui/Control.h"
#include "gui/ControlStyle.h"

namespace wrenfold {

// Writes the text of `value` into `text` (256 bytes, first byte 0 on entry).
using ValueToStringFunction = void (*)(float value, char* text);
// Writes the text of `value` into `text` (256 bytes, first byte 0 on entry), given the user data.
using ValueToStringFunctionWithUserData = void (*)(float value, char* text, void* userData);
// Reads a value from `text`; answers whether it could.
using TextToValueFunction = bool (*)(const char* text, float& value, void* userData);

// Size of the text buffer handed to a converter.
constexpr int32_t valueTextSize = 256;

// A read-only control showing its value as text over a background bitmap or a filled box, with an
// optional frame, bevel and shadow. It takes no mouse or key input. [UI thread]
class ValueDisplay : public Control {
 public:
  // Makes a display with no listener and tag 0; `background` may be null. With styleNoDraw it
  // starts clean and draws nothing.
  ValueDisplay(const Rect& size, Bitmap* background, int32_t style);

  // Draws the value's text from the converter, or "%2.2f" without one.
  void draw(DrawContext* context) override;

  // Sets the font id of the font table; marks the display dirty when it changed.
  virtual void setFont(int32_t id);
  // Sets the text colour; marks the display dirty when red, green or blue changed.
  virtual void setFontColor(Color color);
  // Sets the box and bevel colour; marks the display dirty when red, green or blue changed.
  virtual void setBackColor(Color color);
  // Sets the frame and bevel colour; marks the display dirty when red, green or blue changed.
  virtual void setFrameColor(Color color);
  // Sets the shadow text colour; marks the display dirty when red, green or blue changed.
  virtual void setShadowColor(Color color);
  // Sets the horizontal text alignment; marks the display dirty when it changed.
  virtual void setHorizontalAlign(int32_t alignment);
  // Sets the converter called with user data; it takes precedence over the plain one.
  virtual void setConverterWithData(ValueToStringFunctionWithUserData function, void* userData);
  // Sets the plain converter.
  virtual void setConverter(ValueToStringFunction function);
  // Stores the text-to-value converter; nothing here calls it.
  virtual void setTextToValueConverter(TextToValueFunction function);
  // Sets the style bits; marks the display dirty when they changed.
  virtual void setStyle(int32_t styleBits);
  // Sets the text face bits; marks the display dirty when they changed.
  virtual void setTextFace(int32_t face);
  // Sets whether text is drawn without filling its box first.
  virtual void setTextTransparency(bool state);

  // Draws the display with `text`; `replacement`, when not null, stands in for the background.
  void drawText(DrawContext* context, const char* text, Bitmap* replacement);

  // Returns the text colour.
  Color getFontColor() const { return fontColor; }
  // Returns the frame colour.
  Color getFrameColor() const { return frameColor; }
  // Returns the style bits.
  int32_t getStyle() const { return style; }
  // Writes the text draw() would show for the current value into `text` of valueTextSize bytes.
  void formatValue(char* text);

 protected:
  ValueToStringFunction converter;
  ValueToStringFunctionWithUserData converterWithData;
  TextToValueFunction textToValueConverter;
  void* converterData;
  int32_t horizontalAlign;
  int32_t style;
  int32_t fontId;
  int32_t textFace;
  Color fontColor;
  Color backColor;
  Color frameColor;
  Color shadowColor;
  bool textTransparency;

 private:
  // Stores a colour and marks the display dirty when red, green or blue changed.
  void storeColor(Color& field, Color color);
  // Draws the background bitmap, or the box and frame without one.
  void drawBackground(DrawContext* context, Bitmap* replacement);
  // Draws the two-colour bevel lines when a bevel style is set.
  void drawBevel(DrawContext* context);
};

}  // namespace wrenfold
