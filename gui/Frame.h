#pragma once

#include <cstdint>

#include "gui/View.h"

namespace wrenfold {

class Bitmap;
class EditorLink;
namespace platform {
struct Window;
struct Surface;
struct WindowHandler;
}  // namespace platform

// The top-level view: owns the editor's child window and a flat list of views, routes clicks,
// keys, wheel and drops to them, redraws them, and passes edit gestures on to the effect.
// Views added to it are released by it when removed with release or when it is destroyed.
// [UI thread, editor open]
class Frame : public View {
 public:
  // Makes the frame of `size` with its child window inside `parentWindow` (no window when null),
  // the window drawn at `scale` device pixels per editor pixel.
  Frame(const Rect& size, void* parentWindow, EditorLink* editor, float scale = 1.0f);
  // Releases the views still in the list and the background, and destroys the window.
  ~Frame() override;

  // Draws the background and then every view.
  void draw(DrawContext* context) override;
  // Draws the background inside `area` and every view that overlaps it.
  void drawArea(DrawContext* context, Rect area) override;
  // Clears the focus view and gives the click to the topmost enabled view under `where`.
  void onMouseDown(DrawContext* context, Point& where) override;
  // Redraws everything when the frame is dirty, else updates each view.
  void update(DrawContext* context) override;
  // Offers the key to the focus view, then to every view from the top; −1 when none took it.
  int32_t onKeyDown(KeyCode& key) override;
  // Offers the key release like onKeyDown.
  int32_t onKeyUp(KeyCode& key) override;
  // Offers dropped items to the enabled views under `where`; refused while a view has the focus.
  bool onDrop(void** items, int32_t count, int32_t type, Point& where) override;
  // Gives the wheel turn to the view under the cursor.
  bool onWheel(DrawContext* context, Point& where, float distance) override;
  // Returns the editor.
  EditorLink* getEditor() override;

  // Appends the view without taking a reference; false when the list cannot grow.
  virtual bool addView(View* view);
  // Takes the view out, releasing it when asked; true whether or not it was there.
  virtual bool removeView(View* view, bool withRelease);
  // Takes every view out, releasing each when asked; true.
  virtual bool removeAll(bool withRelease);
  // Returns whether the view is in the list.
  virtual bool isChild(View* view);
  // Returns the number of views.
  virtual int32_t getViewCount();
  // Returns the view at `index`, or null outside 0..count−1.
  virtual View* getView(int32_t index);

  // Replaces the background bitmap, moving the held reference to the new one.
  void setBackground(Bitmap* bitmap);
  // Returns the background bitmap, or null.
  Bitmap* getBackground() const { return background; }
  // Redraws the views that are dirty; nothing before the first full draw or after the window
  // closed.
  void redrawDirtyViews();
  // Makes `view` the focus view; the previous one loses the focus.
  void setFocusedView(View* view);
  // Returns the focus view, or null.
  View* getFocusedView() const { return focusView; }
  // Returns the topmost view whose bounds contain the cursor, or null.
  View* viewUnderCursor();
  // Stores the cursor position relative to the window; answers true.
  bool cursorLocation(Point& where);
  // Returns the host's knob mode.
  int32_t currentKnobMode() const;
  // Tells the host an edit gesture on parameter `tag` begins.
  void beginParameterEdit(int32_t tag);
  // Tells the host the edit gesture on parameter `tag` ends.
  void endParameterEdit(int32_t tag);

  // Returns the child window, or null when it could not be created.
  platform::Window* getWindow() const { return window; }
  // Returns the host's window, null once the child window was destroyed.
  void* getParentWindow() const { return parentWindow; }
  // Returns whether the child window still exists.
  bool isWindowOpen() const { return isOpen; }
  // Returns whether nothing has been drawn yet.
  bool isFirstDrawPending() const { return firstDrawPending; }
  // Returns whether the window is registered as a drop target.
  bool isDropRegistered() const { return dropRegistered; }

 private:
  // Creates the child window inside `parent` and registers it for drops.
  void createWindow(void* parent, float scale);
  // Returns whether the frame or any view is dirty.
  bool hasDirtyView();
  // Returns what the frame's window reports to.
  static const platform::WindowHandler* windowHandler();
  // Handles the window's paint request.
  static void handlePaint(platform::Window* window, void* userData, platform::Surface* surface,
                          Rect area);
  // Handles a button going down in the window.
  static void handleButtonDown(platform::Window* window, void* userData, Point where);
  // Handles a wheel turn over the window.
  static bool handleWheel(platform::Window* window, void* userData, Point where, float distance);
  // Handles the window's destruction.
  static void handleDestroyed(platform::Window* window, void* userData);
  // Handles a drop on the window.
  static bool handleDrop(platform::Window* window, void* userData, void** items, int32_t count,
                         int32_t type, Point where);

  EditorLink* editor;
  void* parentWindow;
  Bitmap* background;
  int32_t viewCount;
  int32_t viewCapacity;
  View** views;
  View* focusView;
  bool firstDrawPending;
  bool isOpen;
  bool dropRegistered;
  platform::Window* window;
};

}  // namespace wrenfold
