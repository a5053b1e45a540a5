#pragma once

// The headless back end's own records, shared by its source files only.

#include <cairo.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "gui/platform/headless/HeadlessControl.h"
#include "gui/platform/platform.h"

namespace wrenfold {
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

// A drawing target over a cairo image with its selected objects and text state.
struct Surface {
  cairo_surface_t* image = nullptr;
  bool ownsImage = false;
  Window* window = nullptr;
  Pen* pen = nullptr;
  Brush* brush = nullptr;
  Font* font = nullptr;
  Color textColor;
  Color backgroundColor;
  bool opaqueBackground = true;
  Point position;
};

// A window: an image of its size placed on the screen, with its class's procedure.
struct Window {
  std::string className;
  std::string title;
  Window* parent = nullptr;
  Rect screenArea;
  void* userData = nullptr;
  const WindowHandler* handler = nullptr;
  cairo_surface_t* image = nullptr;
  bool dropTarget = false;
  bool paintPending = false;
  Rect invalidArea;
};

}  // namespace platform

namespace headless {

// Everything the back end keeps between calls.
struct State {
  std::deque<InputState> inputQueue;
  InputState input;
  bool swapped = false;
  uint32_t ticks = 0;
  uint64_t slept = 0;
  std::vector<std::string> events;
  bool recording = false;
  std::vector<std::string> drawing;
  std::vector<std::unique_ptr<platform::Window>> windows;
  std::vector<std::pair<std::string, const platform::WindowHandler*>> classes;
  std::deque<platform::Window*> paintQueue;
  std::size_t liveObjects = 0;
  int32_t threadServices = 0;
  int32_t imageLibraries = 0;
};

// Returns the back end's state.
State& state();
// Appends an event to the event record.
void recordEvent(const std::string& event);
// Appends a line to the drawing record when recording is on.
void recordDrawingLine(const std::string& line);
// Returns the colour as "#rrggbb".
std::string hexColor(Color color);
// Makes a surface drawing into `image` with the default objects and colours selected.
platform::Surface* makeSurface(cairo_surface_t* image, bool ownsImage, platform::Window* window);

}  // namespace headless
}  // namespace wrenfold
