#pragma once

// The Win32 back end's own records and conversions, shared by its source files only.

#include <windows.h>

#include "gui/platform/platform.h"

namespace wrenfold {
namespace platform {

// Something to draw into or copy from: a window's device context, a memory device context with
// its bitmap, or a loaded bitmap that gets a device context only while it is copied from. What is
// drawn into it comes in editor pixels; its bitmap or window has `scale` device pixels for each.
struct Surface {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;          // owned: the memory surface's or the loaded image's bitmap
  HGDIOBJ previousBitmap = nullptr;  // selected in `dc` before `bitmap`
  HWND window = nullptr;             // set when `dc` came from GetDC of this window
  float scale = 1.0f;
  Point position;  // the pen's position in editor pixels
  // A loaded bitmap's resource, and its picture at the scale other than 1 it was last copied at
  // (owned), made at the first copy there.
  HINSTANCE module = nullptr;
  int32_t resourceId = 0;
  HBITMAP scaledBitmap = nullptr;
  float scaledBitmapScale = 1.0f;
};

}  // namespace platform

namespace win32 {

// Returns the native window behind a platform window.
inline HWND nativeWindow(platform::Window* window) { return reinterpret_cast<HWND>(window); }
// Returns the platform window for a native window.
inline platform::Window* platformWindow(HWND window) {
  return reinterpret_cast<platform::Window*>(window);
}
// Returns the colour as a GDI colour value.
inline COLORREF colorRef(Color color) { return RGB(color.red, color.green, color.blue); }
// Returns the GDI colour value as a colour.
inline Color fromColorRef(COLORREF value) {
  return Color(GetRValue(value), GetGValue(value), GetBValue(value));
}
// Returns the rectangle as a GDI rectangle.
inline RECT nativeRect(Rect area) { return RECT{area.left, area.top, area.right, area.bottom}; }
// Returns the GDI rectangle as a rectangle.
inline Rect fromNativeRect(const RECT& area) {
  return Rect(area.left, area.top, area.right, area.bottom);
}

// Returns the scale a window of the module's class was made at; 1 for any other or a dead one.
float windowScaleOf(HWND window);
// Returns the bitmap to copy a loaded bitmap's pixels from at `scale`: its 1× bitmap at 1, else
// its picture in device pixels at that scale, made from the double-size resource; null when that
// cannot be made.
HBITMAP bitmapAtScale(platform::Surface* bitmap, float scale);
// Frees the pictures bitmapAtScale made for a loaded bitmap.
void releaseScaledBitmap(platform::Surface* bitmap);

// Counts one more window of the module's class, registering the class "Plugin%08x" of the module
// handle at the first; the class's windows report to `handler`. Returns the class name.
const char* useWindowClass(const platform::WindowHandler* handler);
// Ends one window's use of the class; the last unregisters it.
void endWindowClassUse();
// Returns the handler the class's windows report to, null before the first window.
const platform::WindowHandler* windowClassHandler();
// Returns whether the user had swapped the mouse buttons when the class was registered.
bool mouseButtonsSwapped();
// The window procedure of the module's class.
LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Returns the user data a window was created with.
void* windowUserData(HWND window);
// Returns the logical buttons and keys of physical input bits, with swapped buttons mapped back.
uint32_t logicalInputBits(uint32_t physical, bool swapped);
// Returns the logical buttons and keys of a mouse message's key state (already logical), with Alt
// as given.
uint32_t messageInputBits(WPARAM keys, bool altHeld);
// Makes the input state answer a button message's key state to the next polls of its click.
void beginClick(WPARAM keys);
// Ends the click begun by beginClick.
void endClick();
// Loads the image library for one more frame and looks up its keyed blit (NT family only).
void loadImageLibrary();
// Gives back one load of the image library; the last forgets its keyed blit.
void freeImageLibrary();
// Draws `source` into `destination` leaving out pixels of colour `key`, with TransparentBlt when
// the image library provides it, else with a monochrome mask.
void keyedBlit(HDC destination, Rect area, HDC source, Point sourceOrigin, COLORREF key);

}  // namespace win32
}  // namespace wrenfold
