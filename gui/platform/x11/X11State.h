#pragma once

// The X11 back end's own records, shared by its source files only. The back end talks to the X
// server through its own XCB connection, so every error of a request comes back to it (as a
// checked reply or as an error event it discards) and never reaches the host's own connection.

#include <cairo.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gui/platform/cairo/CairoSurface.h"
#include "gui/platform/platform.h"
#include "gui/platform/shared/DropTarget.h"
#include "gui/platform/x11/X11PixelFormat.h"

namespace wrenfold {
namespace platform {

// An editor window: the X window, what it reports to and the image it is drawn from.
struct Window {
  xcb_window_t id = 0;
  const WindowHandler* handler = nullptr;
  void* userData = nullptr;
  cairo_surface_t* image = nullptr;  // what the window shows; released when the window dies
  float scale = 1.0f;                // device pixels per editor pixel
  int32_t width = 0;                 // device pixels, as the X window and the image
  int32_t height = 0;
  bool alive = true;          // false once destroyed, by us or along with the host's window
  bool damaged = false;       // drawn into since the last present
  Rect damage;                // device pixels
  bool paintPending = false;  // exposed since the last paint
  Rect paintArea;             // device pixels
  // The drop logic while the window is a drop target, and the drag in progress over it, from
  // XdndEnter to XdndLeave or the end of XdndDrop.
  std::unique_ptr<DropTarget> dropTarget;
  xcb_window_t dragSource = 0;
  std::vector<xcb_atom_t> dragTypes;
  xcb_atom_t dragAction = 0;     // the action the last XdndStatus answered
  xcb_atom_t requestedType = 0;  // the type asked of the source on XdndDrop, 0 when none
};

}  // namespace platform

namespace x11 {

// Atoms the back end interns once per connection.
struct Atoms {
  xcb_atom_t xdndAware;
  xcb_atom_t xdndEnter;
  xcb_atom_t xdndPosition;
  xcb_atom_t xdndStatus;
  xcb_atom_t xdndLeave;
  xcb_atom_t xdndDrop;
  xcb_atom_t xdndFinished;
  xcb_atom_t xdndSelection;
  xcb_atom_t xdndTypeList;
  xcb_atom_t xdndActionCopy;
  xcb_atom_t xdndActionMove;
  xcb_atom_t textPlain;
  xcb_atom_t utf8String;
  xcb_atom_t uriList;
  xcb_atom_t dropProperty;
};

// Everything the back end keeps between calls.
struct State {
  xcb_connection_t* connection = nullptr;
  xcb_screen_t* screen = nullptr;
  int32_t displayUses = 0;
  uint32_t maximumRequestBytes = 0;
  xcb_gcontext_t gc = 0;   // for copying images to windows of the screen's depth
  X11PixelFormat format;   // how the screen takes image pixels
  xcb_cursor_t arrow = 0;  // the arrow pointer every editor window shows
  Atoms atoms{};
  // Every window made on the current connection; dead ones are kept until the connection closes,
  // so that a surface still holding one never points at freed memory.
  std::vector<std::unique_ptr<platform::Window>> windows;
  std::vector<uint8_t> rowBuffer;
  // The input state of a click being handled, answered to the first polls that follow it, so that
  // a click already over when the idle got to it still counts as one.
  uint32_t clickInput = 0;
  int32_t clickPollsLeft = 0;
  // A click is being handled (its control may be tracking the mouse); presses on any window are
  // ignored meanwhile, so no second tracking loop starts inside the first one.
  bool clickInProgress = false;
};

// Returns the back end's state.
State& state();
// Returns the window record of `handle` if it is a live window of this back end, else null.
platform::Window* liveWindow(const void* handle);
// Returns the live window record with the X id, or null.
platform::Window* liveWindowWithId(xcb_window_t id);
// Copies the window's damaged area to the X window and forgets the damage.
void present(platform::Window* window);
// Presents every damaged live window and flushes the connection when anything was sent.
void presentAll();
// Marks the window dead: tells its class, releases its image; nothing is sent to X afterwards.
void markDead(platform::Window* window);
// Handles one event of the connection.
void handleEvent(const xcb_generic_event_t* event);
// Handles a drag-and-drop client message; answers whether it was one.
bool handleDropMessage(const xcb_client_message_event_t* message);
// Handles the arrival of dropped data (SelectionNotify); answers whether it was for a drop.
bool handleDropData(const xcb_selection_notify_event_t* notify);
// Returns the input bits of an X key-and-button mask: buttons 1 to 3, Shift, Control and Alt only.
uint32_t inputBitsOfMask(uint16_t mask);
// Creates the arrow pointer of the server's cursor font.
xcb_cursor_t createArrowCursor(xcb_connection_t* connection);
// Interns the atoms the back end uses; answers false when the server did not answer.
bool internAtoms(xcb_connection_t* connection, Atoms& atoms);

}  // namespace x11
}  // namespace wrenfold
