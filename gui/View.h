#pragma once

#include <cstdint>

#include "base/KeyCode.h"
#include "gui/Geometry.h"
#include "gui/MouseButtons.h"

namespace wrenfold {

class DrawContext;
class Frame;
class EditorLink;

// The question whether a view holds other views; no view here answers it.
extern const char* const kMsgCheckIfViewContainer;

// Item types of onDrop.
enum : int32_t {
  dropFileNames = 0,  // items are zero-terminated file names, count is their number
  dropText = 1,       // one item holding text, count is its size in bytes
};

// A rectangle of the editor window that draws itself, takes events and remembers whether it needs
// redrawing. Reference counted: created with one reference, destroyed when the last one goes.
// The virtual operations keep their declaration order. [UI thread]
class View {
 public:
  // Makes a view of the given bounds with one reference, clean, mouse-enabled and opaque.
  explicit View(const Rect& size);
  // Destroys the view; call release() instead of deleting a shared view.
  virtual ~View();

  View(const View&) = delete;
  View& operator=(const View&) = delete;

  // Draws the view; the base draws nothing and marks the view clean.
  virtual void draw(DrawContext* context);
  // Draws the part of the view inside `area`; the base draws the whole view.
  virtual void drawArea(DrawContext* context, Rect area);
  // Returns whether `area` overlaps the bounds, edges included.
  virtual bool overlaps(Rect area);
  // Handles a button going down at `where`.
  virtual void onMouseDown(DrawContext* context, Point& where);
  // Redraws the view when it is dirty and marks it clean.
  virtual void update(DrawContext* context);
  // Answers a message from another view; 0 means not handled.
  virtual int32_t notify(View* sender, const char* message);
  // Handles a key press; −1 means not handled.
  virtual int32_t onKeyDown(KeyCode& key);
  // Handles a key release; −1 means not handled.
  virtual int32_t onKeyUp(KeyCode& key);
  // Takes dropped items at `where`; answers whether they were taken.
  virtual bool onDrop(void** items, int32_t count, int32_t type, Point& where);
  // Handles a wheel turn of `distance` notches at `where`; answers whether it was used.
  virtual bool onWheel(DrawContext* context, Point& where, float distance);
  // Tells the view it lost the focus; the context may be null.
  virtual void loseFocus(DrawContext* context);
  // Tells the view it took the focus; the context may be null.
  virtual void takeFocus(DrawContext* context);
  // Returns whether the view needs redrawing.
  virtual bool isDirty();
  // Marks the view as needing redrawing or as clean.
  virtual void setDirty(bool state);
  // Sets whether the frame routes clicks to the view.
  virtual void setMouseEnabled(bool state);
  // Returns whether the frame routes clicks to the view.
  virtual bool isMouseEnabled();
  // Stores the mouse area; hit testing keeps using the bounds.
  virtual void setMouseArea(Rect area);
  // Copies the mouse area out.
  virtual void getMouseArea(Rect& area);
  // Returns whether `where` lies inside the bounds, edges included; the buttons are ignored.
  virtual bool hitTest(Point& where, MouseButtons buttons);
  // Sets whether the background bitmap is drawn with the key colour left out.
  virtual void setTransparent(bool state);
  // Returns whether the background bitmap is drawn with the key colour left out.
  virtual bool isTransparent();
  // Stores new bounds and marks the view dirty.
  virtual void setBounds(Rect size);
  // Copies the bounds out.
  virtual void getBounds(Rect& size);
  // Stores the parent view.
  virtual void setParentView(View* parent);
  // Stores the frame the view belongs to.
  virtual void setParentFrame(Frame* frame);
  // Returns the frame's editor, or null without a frame.
  virtual EditorLink* getEditor();
  // Tells the view it was taken out of `parent`; answers true.
  virtual bool onRemoved(View* parent);
  // Tells the view it was added to `parent`; answers true.
  virtual bool onAttached(View* parent);
  // Drops one reference; the last one destroys the view; nothing happens at 0 or below.
  virtual void release();
  // Adds one reference.
  virtual void addRef();
  // Returns the number of references.
  virtual int32_t getRefCount();

  // Returns the bounds.
  const Rect& boundsRect() const { return bounds; }
  // Returns the frame the view belongs to, or null.
  Frame* frame() const { return parentFrame; }
  // Returns the parent view stored by setParentView, or null.
  View* parent() const { return parentView; }

 protected:
  int32_t refCount;
  Rect bounds;
  Rect mouseArea;
  Frame* parentFrame;
  View* parentView;
  bool dirty;
  bool mouseEnabled;
  bool transparent;
};

}  // namespace wrenfold
