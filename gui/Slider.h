#pragma once

#include <cstdint>

#include "gui/Control.h"
#include "gui/ControlStyle.h"

namespace wrenfold {

class OffscreenContext;

// A linear control: a handle bitmap moved along a background bitmap, drawn through an offscreen
// surface so the window never shows the background without the handle. The offscreen exists only
// while the slider is attached to a frame. [UI thread]
class Slider : public Control {
 public:
  // Makes a slider whose handle start travels from `minPos` to `maxPos` (frame coordinates along
  // its axis); `handleBitmap` may be null, `style` holds the style bits.
  Slider(const Rect& size, ControlListener* listener, int32_t tag, int32_t minPos, int32_t maxPos,
         Bitmap* handleBitmap, Bitmap* background, const Point& imageOffset, int32_t style);
  // Releases the handle bitmap and the offscreen surface.
  ~Slider() override;

  // Draws background and handle into the offscreen and copies it to the context; nothing when
  // detached.
  void draw(DrawContext* context) override;
  // Resets to the default on control-click, else tracks a drag until the left button goes up.
  void onMouseDown(DrawContext* context, Point& where) override;
  // Steps the value by the arrow keys; −1 for other keys.
  int32_t onKeyDown(KeyCode& key) override;
  // Steps the value by the wheel.
  bool onWheel(DrawContext* context, Point& where, float distance) override;
  // Creates the offscreen surface for the frame; answers true.
  bool onAttached(View* parent) override;
  // Destroys the offscreen surface; answers true.
  bool onRemoved(View* parent) override;

  // Sets whether the handle is drawn with the key colour left out.
  virtual void setHandleTransparent(bool state);
  // Sets whether a click anywhere moves the handle's centre to the mouse.
  virtual void setJumpToClick(bool state);
  // Returns whether a click anywhere moves the handle's centre to the mouse.
  virtual bool getJumpToClick();
  // Sets the offset of the handle's travel inside the slider and recomputes the limits.
  virtual void setHandleOffset(Point& offset);
  // Replaces the handle bitmap and takes its size; the limits stay as they are.
  virtual void setHandleBitmap(Bitmap* bitmap);
  // Returns the handle bitmap, or null.
  virtual Bitmap* getHandleBitmap();
  // Sets the divisor of the drag speed while shift is held.
  virtual void setFineDivisor(float divisor);
  // Returns the divisor of the drag speed while shift is held.
  virtual float getFineDivisor();

  // Returns the style bits.
  int32_t getStyle() const { return style; }
  // Returns the lowest handle start allowed, along the axis in slider coordinates.
  int32_t getMinPosition() const { return minPosition; }
  // Returns the highest handle end allowed, along the axis in slider coordinates.
  int32_t getMaxPosition() const { return maxPosition; }
  // Returns the offscreen surface, or null while detached.
  OffscreenContext* getOffscreen() const { return offscreen; }
  // Returns the handle rectangle drawn for the current value, in slider coordinates.
  Rect handleRect() const;

 protected:
  Point imageOffset;
  Point handleOffset;
  Bitmap* handleBitmap;
  OffscreenContext* offscreen;
  int32_t handleWidth;
  int32_t handleHeight;
  int32_t handleRange;
  int32_t style;
  int32_t minPosition;
  int32_t maxPosition;
  int32_t startPosition;
  int32_t controlWidth;
  int32_t controlHeight;
  float fineDivisor;
  bool handleTransparent;
  bool jumpToClick;

 private:
  // Returns whether the handle moves horizontally.
  bool isHorizontal() const { return (style & styleHorizontal) != 0; }
  // Returns the handle's place along the travel, 0..1 from its start, as drawing sees it.
  float drawnFraction() const;
  // Returns the handle rectangle for the current value without the limits, in slider coordinates.
  Rect unlimitedHandleRect() const;
  // Stores the frame coordinate that maps to value 0 before inversion; answers false for a click
  // beside the handle when the handle does not jump to clicks.
  bool dragOrigin(const Point& where, int32_t& origin) const;
  // Returns the value under a frame point along the axis, before the fine divisor.
  float valueAtPosition(const Point& where, int32_t origin) const;
  // Destroys the offscreen surface if there is one.
  void destroyOffscreen();
};

}  // namespace wrenfold
