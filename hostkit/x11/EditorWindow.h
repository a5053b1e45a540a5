#pragma once

#include <xcb/xcb.h>

#include <cstdint>

#include "base/HostInterface.h"

namespace wrenfold {

// A host's top-level window on the host's own XCB connection, with the editor of one effect
// inside it. Call order: construct, openEditor, idle and handleEvent …, closeEditor, destroy.
class EditorWindow {
 public:
  // Asks the effect for its editor's size and makes a mapped window of that size at (x, y).
  EditorWindow(xcb_connection_t* hostConnection, AEffect* hosted, int16_t x, int16_t y);
  // Closes the editor if open and destroys the window unless it was destroyed already.
  ~EditorWindow();
  EditorWindow(const EditorWindow&) = delete;
  EditorWindow& operator=(const EditorWindow&) = delete;

  // Sends effEditOpen with the window's id; answers the effect's answer.
  intptr_t openEditor();
  // Sends effEditIdle.
  void idle();
  // Sends effEditClose if the editor is open.
  void closeEditor();
  // Destroys the host window now, as a host closing its window while the editor is open.
  void destroyWindow();
  // Handles one event of the host connection; answers false once the user asked to close the
  // window.
  bool handleEvent(const xcb_generic_event_t* event);

  // Returns the host window's id, 0 when it could not be made.
  xcb_window_t window() const { return hostWindow; }
  // Returns the editor's width.
  int32_t width() const { return windowWidth; }
  // Returns the editor's height.
  int32_t height() const { return windowHeight; }

 private:
  xcb_connection_t* connection;
  AEffect* effect;
  xcb_window_t hostWindow = 0;
  xcb_atom_t deleteWindow = 0;
  int32_t windowWidth = 0;
  int32_t windowHeight = 0;
  bool editorOpen = false;
};

}  // namespace wrenfold
