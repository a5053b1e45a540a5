#pragma once

// The cairo rasteriser shared by the back ends that draw into cairo images (headless and X11).
// It implements the drawing objects, memory surfaces, bitmap resources and drawing primitives of
// platform.h; each back end adds its windows, input, clock and events. A window surface draws into
// the window's own image; the back end learns what each primitive changed by watching drawing.

#include <cairo.h>

#include <cstddef>
#include <cstdint>

#include "gui/platform/platform.h"

namespace wrenfold {

class SharedBitmapPixels;

namespace platform {

// A pen: style, width and colour; the stock null pen draws nothing.
struct Pen {
  int32_t style;
  int32_t width;
  Color color;
  bool drawsNothing;
  bool stock;
};

// A solid brush.
struct Brush {
  Color color;
  bool stock;
};

// A font, kept as the request it was made from; text is drawn through cairo at draw time.
struct Font {
  FontRequest request;
  bool stock;
};

// A drawing target over a cairo image with its selected objects and text state. The image has
// device pixels: `scale` of them for each editor pixel the toolkit draws.
struct Surface {
  cairo_surface_t* image = nullptr;
  float scale = 1.0f;
  bool ownsImage = false;
  Window* window = nullptr;
  Pen* pen = nullptr;
  Brush* brush = nullptr;
  Font* font = nullptr;
  Color textColor;
  Color backgroundColor;
  bool opaqueBackground = true;
  Point position;
  // The image with the key colour made transparent, made at the first keyed copy; null until then.
  cairo_surface_t* keyedImage = nullptr;
  Color keyedColor;
  // The skin resource a loaded bitmap shows; its image and keyed image wrap the module's shared
  // pixels at the scale it is drawn at, attached when the bitmap is first drawn at that scale (and
  // its scale is then theirs). 0 for other surfaces.
  int32_t bitmapId = 0;
  SharedBitmapPixels* sharedPixels = nullptr;
};

}  // namespace platform

namespace cairo {

// One drawing primitive, as it was asked for and what it changed.
struct DrawingStep {
  enum class Kind { line, fill, text, copy, copyKeyed };
  Kind kind;
  platform::Surface* target;  // the surface drawn into; null for a copy without one
  Rect area;                  // the area asked for (a line's: none)
  Point from;                 // a line's start, a copy's source origin
  Point to;                   // a line's end
  Color color;                // the pen, brush or text colour, a keyed copy's key
  const char* text;           // the text drawn, else null
  uint32_t flags;             // the text's flags
  Rect changed;  // the part of the target's image it changed (device pixels), empty for none
};
// Receives each drawing primitive once it ran.
using DrawingWatcher = void (*)(const DrawingStep& step);

// Makes a surface drawing into `image` at `scale` with the default objects and colours selected.
platform::Surface* makeSurface(cairo_surface_t* image, bool ownsImage, platform::Window* window,
                               float scale = 1.0f);
// Returns the number of surfaces, pens, brushes and fonts created and not yet destroyed.
std::size_t liveObjectCount();
// Sets the function that watches drawing (the X11 back end collects what windows need shown);
// null for none.
void setDrawingWatcher(DrawingWatcher watcher);
// Returns the colour packed as 0x00RRGGBB, the layout of the images' pixels.
uint32_t packedColor(Color color);
// Returns the colour of a 0x00RRGGBB pixel.
Color unpackedColor(uint32_t value);

}  // namespace cairo
}  // namespace wrenfold
