#pragma once

// The headless back end's own records, shared by its source files only.

#include <cairo.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "gui/platform/cairo/CairoSurface.h"
#include "gui/platform/headless/HeadlessControl.h"
#include "gui/platform/platform.h"

namespace wrenfold {
namespace platform {

// A window: an image of its size placed on the screen, with what it reports to.
struct Window {
  std::string title;
  Window* parent = nullptr;
  Rect screenArea;  // device pixels
  float scale = 1.0f;
  void* userData = nullptr;
  const WindowHandler* handler = nullptr;
  cairo_surface_t* image = nullptr;
  bool dropTarget = false;
  bool paintPending = false;
  Rect invalidArea;  // device pixels
};

}  // namespace platform

namespace headless {

// Everything the back end keeps between calls.
struct State {
  std::deque<InputState> inputQueue;
  InputState input;
  uint32_t ticks = 0;
  uint64_t slept = 0;
  std::vector<std::string> events;
  bool recording = false;
  std::vector<std::string> drawing;
  std::vector<std::unique_ptr<platform::Window>> windows;
  std::deque<platform::Window*> paintQueue;
  int32_t displayConnections = 0;
  float desktopScale = 1.0f;
};

// Returns the back end's state.
State& state();
// Appends an event to the event record.
void recordEvent(const std::string& event);
// Returns the window record of `handle` if it is a live window of this back end, else null.
platform::Window* findWindow(const void* handle);
}  // namespace headless
}  // namespace wrenfold
