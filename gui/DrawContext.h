#pragma once

#include <cstdint>

#include "gui/Color.h"
#include "gui/Geometry.h"
#include "gui/MouseButtons.h"

namespace wrenfold {

class Frame;
namespace platform {
struct Surface;
struct Window;
struct Pen;
struct Brush;
struct Font;
}  // namespace platform

// Text faces of setFont.
enum : int32_t { faceBold = 1, faceItalic = 2, faceUnderline = 4 };

// Horizontal text alignments of drawString.
enum : int32_t { alignLeft = 0, alignCenter = 1, alignRight = 2 };

// Number of entries of the font table; ids outside 0..fontCount−1 use id 0.
constexpr int32_t fontCount = 8;

// One entry of the font table.
struct FontTableEntry {
  int32_t size;
  const char* face;
  int32_t pitchAndFamily;
};

// Draws into a window or memory surface with a current pen, brush, text colour and font, and
// answers the input queries of mouse tracking. Lives for one event or one pass. A context without
// a surface draws nothing. [UI thread]
class DrawContext {
 public:
  // Makes a context on `surface` for `window`; either may be null.
  DrawContext(Frame* frame, platform::Surface* surface, platform::Window* window);
  // Selects back the objects found at construction and deletes those this context created.
  virtual ~DrawContext();

  DrawContext(const DrawContext&) = delete;
  DrawContext& operator=(const DrawContext&) = delete;

  // Moves the pen to `to`.
  void moveTo(Point to);
  // Draws a line from the pen to `to` with the current pen, leaving out `to`.
  void lineTo(Point to);
  // Draws the outline through the four corners, covering the right column and bottom row.
  void frameRect(Rect area);
  // Fills the inside of frameRect of the same rectangle with the fill colour.
  void fillRect(Rect area);
  // Sets the pen colour.
  void setFrameColor(Color color);
  // Sets the pen style: 1 dotted, anything else solid.
  void setLineStyle(int32_t style);
  // Sets the fill colour, also the background of opaque text.
  void setFillColor(Color color);
  // Sets the text colour.
  void setFontColor(Color color);
  // Selects font `id` of the font table at `size` pixels (0: the table's size) with the face bits.
  void setFont(int32_t id, int32_t size, int32_t face);
  // Draws single-line, vertically centred text in `area` with the alignment; opaque fills behind
  // it.
  void drawString(const char* text, Rect area, bool opaque, int32_t alignment);
  // Returns the buttons and modifier keys held now, with swapped buttons mapped back.
  MouseButtons readMouseButtons();
  // Stores the cursor position relative to the window's position at construction.
  void readMouseLocation(Point& where);

  // Returns the pen colour.
  Color getFrameColor() const { return frameColor; }
  // Returns the fill colour.
  Color getFillColor() const { return fillColor; }
  // Returns the text colour.
  Color getFontColor() const { return fontColor; }
  // Returns the pen style.
  int32_t getLineStyle() const { return lineStyle; }
  // Returns the font id of the last setFont.
  int32_t getFontId() const { return fontId; }
  // Returns the font size of the last setFont.
  int32_t getFontSize() const { return fontSize; }
  // Returns the window's screen position taken at construction.
  Point getWindowOrigin() const { return windowOrigin; }
  // Returns the surface drawn into, or null.
  platform::Surface* getSurface() const { return surface; }
  // Returns the window, or null.
  platform::Window* getWindow() const { return window; }

 protected:
  // Stores the surface and sets up the initial pen, brush and colours on it.
  void attachSurface(platform::Surface* newSurface);
  // Selects back the saved objects and deletes the created ones.
  void detachSurface();

 private:
  // Creates the pen from the frame colour and line style and selects it.
  void replacePen();

  Point windowOrigin;
  platform::Surface* surface;
  platform::Window* window;
  Frame* frame;
  int32_t fontSize;
  int32_t fontId;
  Color fontColor;
  int32_t lineWidth;
  Color frameColor;
  Color fillColor;
  int32_t lineStyle;
  platform::Brush* createdBrush;
  platform::Pen* createdPen;
  platform::Font* createdFont;
  platform::Brush* savedBrush;
  platform::Pen* savedPen;
  platform::Font* savedFont;
};

}  // namespace wrenfold
