#pragma once

// The services every windowing back end provides to the toolkit. Each back end (one folder under
// gui/platform/) implements every function declared here for real; the build links exactly one of
// them. What only one system has (Windows' window classes, its object services, its image library,
// the swapped-buttons setting) stays inside that system's folder, behind these calls.
// Scale: a window is made at a scale s (device pixels per editor pixel, 1 to 3). Everything the
// toolkit passes and receives stays in editor pixels (the design's coordinates): window bounds,
// drawing, paint areas and the points of clicks, drops and wheel turns; the back end draws at
// device resolution into a window of round(width·s) × round(height·s) and divides input by s.
// Surfaces made for a window (its own and memory surfaces made with it as reference) carry its
// scale; screen positions (cursorScreenPosition, windowScreenRect) are in device pixels.
// Handles are opaque; a failed native call is answered with null, false or 0, never an error code.
// The parent handle a host passes for the editor (effEditOpen) is opaque: a back end only hands it
// back to its window system (on X11 it is the host window's id) and never reads memory through it.
// Texts are zero-terminated 8-bit strings; the toolkit's own texts are plain ASCII, and a byte of
// 0x80 or above is drawn as the Latin-1 character of that code.
// A back end that owns a display connection opens it at the first acquireDisplay of the process
// and closes it after the last releaseDisplay; its events are handled only inside
// dispatchPendingEvents and dispatchOnePendingPaint, which the editor's idle and the tracking
// loops' idle pump call, so nothing of the toolkit runs outside a call from the host.
// Drawing follows the classic device-context model: a surface has one selected pen, brush and font,
// a text colour, a background colour and a background mode, and lines leave out their end point.
// Everything here runs on the thread that owns the editor's window. [UI thread]

#include <cstdint>
#include <string>

#include "gui/Color.h"
#include "gui/Geometry.h"
#include "gui/MouseButtons.h"

namespace wrenfold {
namespace platform {

struct Window;   // a native window: the editor's child window or a host window
struct Surface;  // something to draw into: a window's device context or a memory surface
struct Pen;      // a line style and colour
struct Brush;    // a solid fill colour
struct Font;     // a text face at a size

// What a window reports to; userData is what the window was created with. A window destroyed by
// its owner reports nothing more.
struct WindowHandler {
  // Repaints `area` (window coordinates) into `surface`, which is valid during the call only.
  void (*paint)(Window* window, void* userData, Surface* surface, Rect area);
  // Handles the left, middle or right button going down at `where` (window coordinates).
  void (*buttonDown)(Window* window, void* userData, Point where);
  // Handles the window being destroyed, by its owner or by the host destroying the parent.
  void (*destroyed)(Window* window, void* userData);
  // Offers dropped items at `where` (window coordinates); answers whether a view took them.
  bool (*drop)(Window* window, void* userData, void** items, int32_t count, int32_t type,
               Point where);
  // Handles a turn of the mouse wheel over the window by `distance` notches (positive away from
  // the user) at `where` (window coordinates); answers whether a view took it.
  bool (*wheel)(Window* window, void* userData, Point where, float distance);
};

// Pen styles.
enum : int32_t { penSolid = 0, penDotted = 2 };

// Text layout flags of drawText, with the classic values.
enum : uint32_t {
  textAlignLeft = 0,
  textAlignCenter = 1,
  textAlignRight = 2,
  textVerticalCenter = 4,
  textSingleLine = 32,
  textNoPrefix = 2048,
};

// Font weights.
enum : int32_t { fontWeightNormal = 400, fontWeightBold = 700 };

// Pitch-and-family values of a font request.
enum : int32_t { fontFamilySwiss = 34, fontFamilyDecorative = 80 };

// A logical font request.
struct FontRequest {
  int32_t height = 0;  // character height in pixels
  int32_t weight = fontWeightNormal;
  bool italic = false;
  bool underline = false;
  int32_t pitchAndFamily = fontFamilySwiss;
  char face[32] = {};  // zero-terminated face name
};

// ---- windows ----

// Creates a visible child window titled `title` at `bounds` (editor pixels) inside `parent`, drawn
// at `scale`, whose paints, clicks, wheel turns, destruction and drops reach `handler` with
// `userData`; null on failure.
Window* createChildWindow(void* parent, Rect bounds, const char* title,
                          const WindowHandler* handler, void* userData, float scale = 1.0f);
// Destroys the window without reporting to its handler; a window that went with the host's window
// is only forgotten.
void destroyWindow(Window* window);
// Returns the window's rectangle in screen coordinates (device pixels).
Rect windowScreenRect(Window* window);
// Returns the scale the window was made at; 1 for null or a window that is gone.
float windowScale(Window* window);
// Returns an offset in device pixels from the window's top-left corner in the window's editor
// pixels (rounded down); the offset itself for null.
Point editorPoint(Window* window, Point offset);
// Marks an area of the window (window coordinates) for repainting; null means all of it.
void invalidateWindow(Window* window, const Rect* area);

// ---- surfaces ----

// Returns a surface that draws into the window (release it with releaseWindowSurface); null on
// failure.
Surface* acquireWindowSurface(Window* window);
// Gives back a surface from acquireWindowSurface.
void releaseWindowSurface(Window* window, Surface* surface);
// Creates a memory surface of width × height editor pixels compatible with `reference` (may be
// null), at the reference's scale; null on failure.
Surface* createMemorySurface(Surface* reference, int32_t width, int32_t height);
// Destroys a memory surface or a loaded bitmap; null is ignored.
void destroySurface(Surface* surface);
// The picture of bitmap resource `id` drawn for scale 2, where the module has one, is resource
// id + doubleSizeResourceOffset; a bitmap drawn at a scale above 1 is made from it (as it is at 2,
// filtered down below 2, smoothly up above), never from the 1× picture unless it has no other.
constexpr int32_t doubleSizeResourceOffset = 100;
// Loads the module's bitmap resource `id` as a surface and stores its size (editor pixels, the 1×
// picture's); null (size 0 × 0) when missing.
Surface* loadBitmapResource(void* module, int32_t id, int32_t* width, int32_t* height);

// ---- drawing objects ----

// Creates a pen of the style, width and colour; null on failure.
Pen* createPen(int32_t style, int32_t width, Color color);
// Creates a solid brush of the colour; null on failure.
Brush* createSolidBrush(Color color);
// Creates a font matching the request; null on failure.
Font* createFont(const FontRequest& request);
// Returns the stock pen that draws nothing.
Pen* nullPen();
// Deletes a pen; null and stock pens are ignored.
void deletePen(Pen* pen);
// Deletes a brush; null is ignored.
void deleteBrush(Brush* brush);
// Deletes a font; null is ignored.
void deleteFont(Font* font);
// Selects a pen into the surface and returns the one selected before; null selects nothing.
Pen* selectPen(Surface* surface, Pen* pen);
// Selects a brush into the surface and returns the one selected before; null selects nothing.
Brush* selectBrush(Surface* surface, Brush* brush);
// Selects a font into the surface and returns the one selected before; null selects nothing.
Font* selectFont(Surface* surface, Font* font);
// Returns the pen selected in the surface.
Pen* currentPen(Surface* surface);
// Returns the brush selected in the surface.
Brush* currentBrush(Surface* surface);
// Returns the font selected in the surface.
Font* currentFont(Surface* surface);

// ---- drawing ----

// Sets the colour behind opaque text and returns the previous one.
Color setBackgroundColor(Surface* surface, Color color);
// Sets the text colour and returns the previous one.
Color setTextColor(Surface* surface, Color color);
// Chooses whether text fills its cell with the background colour first.
void setBackgroundOpaque(Surface* surface, bool opaque);
// Moves the current pen position.
void moveTo(Surface* surface, Point to);
// Draws a line from the current position to `to` with the selected pen, leaving out `to`, and moves
// there.
void lineTo(Surface* surface, Point to);
// Fills the pixels from (left, top) to (right − 1, bottom − 1) with the selected brush.
void fillRect(Surface* surface, Rect area);
// Draws text inside `area` with the selected font and text colour, laid out by the text flags;
// bytes of 0x80 and above are Latin-1 characters.
void drawText(Surface* surface, const char* text, Rect area, uint32_t flags);
// Copies the area's size of pixels from `source` at `sourceOrigin` to `area` of `destination`.
void copyPixels(Surface* destination, Rect area, Surface* source, Point sourceOrigin);
// Like copyPixels, but source pixels of the colour `key` leave the destination unchanged.
void copyPixelsKeyed(Surface* destination, Rect area, Surface* source, Point sourceOrigin,
                     Color key);

// ---- input, time and messages ----

// Returns the buttons and modifier keys held now as MouseButtons bits; the buttons are the logical
// ones, swapped back where the user swapped them.
uint32_t inputState();
// Returns the cursor position in screen coordinates.
Point cursorScreenPosition();
// Returns the milliseconds since an arbitrary start, wrapping modulo 2^32.
uint32_t tickCount();
// Waits the given milliseconds.
void sleepMilliseconds(uint32_t milliseconds);
// Takes one pending paint request of any window of this thread and handles it; answers whether
// there was one.
bool dispatchOnePendingPaint();

// ---- the desktop ----

// Returns the desktop's scale for a window inside `parent` (null: the main screen), as the
// window system states it (not rounded); 1 when it states none. Never blocks on a dead display.
float desktopScale(void* parent);
// Reads the user's settings file (Linux: $XDG_CONFIG_HOME/wrenfold/wrenfold.conf, else
// ~/.config/wrenfold/wrenfold.conf; Windows: %APPDATA%\Wrenfold\wrenfold.conf) into `text`;
// answers false, never blocking, when there is none or it is not a regular file of at most 64 KiB.
bool readSettingsFile(std::string& text);

// ---- display connection, events and presenting ----

// Takes one use of the window system for a frame, opening what the back end needs for windows,
// drawing and drag and drop (a display connection, the thread's object services); answers whether
// the window system can be used. Each frame holds one use while it exists.
bool acquireDisplay();
// Ends one use of the window system; the last one closes what the first one opened.
void releaseDisplay();
// Handles every event already waiting for the module's windows without blocking (paints, button
// presses, wheel turns, destruction by the host, drag and drop; on a system whose host loop
// delivers them, none) and shows what was drawn; with nothing pending it makes no round trip to the
// display. Releasing a window surface and reading the input state show what was drawn too.
void dispatchPendingEvents();

// ---- drag and drop ----

// Registers the window as a drop target whose drops reach its handler's drop; answers whether it
// did.
bool registerDropTarget(Window* window);
// Revokes the window's drop-target registration.
void revokeDropTarget(Window* window);

}  // namespace platform
}  // namespace wrenfold
