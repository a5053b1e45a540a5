#pragma once

// Test and tool controls of the headless back end: scripted input, the fake clock, the host's
// stand-in windows, the event record, the drawing record, pixel reads and PNG output.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gui/Color.h"
#include "gui/Geometry.h"
#include "gui/platform/platform.h"

namespace wrenfold {
namespace headless {

// One scripted poll: physical buttons and modifier keys (platform input bits) and the cursor in
// screen coordinates.
struct InputState {
  uint32_t buttons = 0;
  Point cursor;
};

// Puts back the initial state: no input queued and nothing held, clock at 0, empty event and
// drawing records, recording off. Windows and surfaces are left alone.
void reset();

// Appends a state to the input queue. Each inputState() call takes the next queued state (when the
// queue is empty the last state repeats); cursorScreenPosition() reads the last taken state.
void queueInput(const InputState& state);
// Appends a state of the given buttons and cursor to the input queue.
void queueInput(uint32_t buttons, Point cursor);
// Empties the queue and makes `state` the current state.
void setInput(const InputState& state);
// Returns the number of states still queued.
std::size_t queuedInputCount();

// Sets the fake tick count; sleepMilliseconds advances it.
void setTickCount(uint32_t milliseconds);
// Returns the total of all sleeps since reset().
uint64_t totalSleptMilliseconds();

// Returns the record of platform events ("createWindow \"Window\"", "paint 0,0,350,430", "sleep 4",
// …).
const std::vector<std::string>& events();

// Switches the drawing record on or off; each drawing primitive then appends one line.
void recordDrawing(bool on);
// Returns the drawing record ("line 0,0 10,0 #ffffff solid", "fill 1,1 9,9 #000000", …).
const std::vector<std::string>& drawingLog();
// Empties the drawing record.
void clearDrawingLog();

// Creates a window standing for the host's window at `screenArea`; usable as a parent.
platform::Window* createHostWindow(Rect screenArea);
// Destroys a host window and its children, as a host closing its window does.
void destroyHostWindow(platform::Window* window);
// Moves a window (and its children) so that its top-left corner is at `screenPosition`.
void moveWindow(platform::Window* window, Point screenPosition);
// Returns whether the handle names a window that still exists.
bool isLiveWindow(platform::Window* window);
// Returns the live child windows of `parent`, oldest first.
std::vector<platform::Window*> childWindows(platform::Window* parent);
// Returns the title of a window.
std::string windowTitle(platform::Window* window);
// Returns whether the window is registered as a drop target.
bool isDropTarget(platform::Window* window);
// Returns the number of live windows, host windows included.
std::size_t liveWindowCount();
// Returns the number of surfaces, pens, brushes and fonts created and not yet destroyed.
std::size_t liveObjectCount();
// Returns the number of display acquisitions not yet released.
int32_t displayConnectionDepth();

// Presses a button at `where` (the window's device pixels): runs the window's button-down handling.
void clickWindow(platform::Window* window, Point where);
// Drops items on the window at `where` (device pixels); answers what the window's drop handling
// answers.
bool dropOnWindow(platform::Window* window, void** items, int32_t count, int32_t type, Point where);
// Sets the scale the desktop states (desktopScale answers it); reset() makes it 1.
void setDesktopScale(float scale);
// Returns the number of windows with a pending paint request.
std::size_t pendingPaintCount();

// Creates a memory surface of width × height editor pixels at `scale` for tests and tools; destroy
// it with platform::destroySurface.
platform::Surface* createSurface(int32_t width, int32_t height, Color fill, float scale = 1.0f);
// Returns the colour of a surface's pixel (device pixels); black outside the surface.
Color pixel(platform::Surface* surface, Point where);
// Returns the colour of a window's pixel; black outside the window.
Color windowPixel(platform::Window* window, Point where);
// Returns the surface's size in device pixels.
Point surfaceSize(platform::Surface* surface);
// Copies the font request a font was made from; false for a null or stock font.
bool fontRequest(platform::Font* font, platform::FontRequest& request);
// Writes a window's pixels as a PNG file; answers whether it did.
bool saveWindowPng(platform::Window* window, const char* path);
// Writes a surface's pixels as a PNG file; answers whether it did.
bool saveSurfacePng(platform::Surface* surface, const char* path);

}  // namespace headless
}  // namespace wrenfold
