#pragma once

#include <cstdint>

#include "gui/Color.h"
#include "gui/Control.h"

namespace wrenfold {

// A rotary control: a pointer (handle bitmap or two lines) over a background bitmap. Dragged in a
// circle around its centre, or in a straight line in the host's linear knob mode or with alt.
// Angles are in radians, counter-clockwise from the positive horizontal axis. [UI thread]
class Knob : public Control {
 public:
  // Makes a knob drawing `background` from `imageOffset`; `handleBitmap` may be null.
  Knob(const Rect& size, ControlListener* listener, int32_t tag, Bitmap* background,
       Bitmap* handleBitmap, const Point& imageOffset);
  // Releases the handle bitmap.
  ~Knob() override;

  // Draws the background and the pointer, then marks the knob clean.
  void draw(DrawContext* context) override;
  // Resets to the default on control-click, else tracks a drag until the left button goes up.
  void onMouseDown(DrawContext* context, Point& where) override;
  // Steps the value by the arrow keys; −1 for other keys.
  int32_t onKeyDown(KeyCode& key) override;
  // Steps the value by the wheel.
  bool onWheel(DrawContext* context, Point& where, float distance) override;

  // Draws the pointer at the value's angle.
  virtual void drawPointer(DrawContext* context);
  // Sets the angle of the minimum and recomputes the derived angles.
  virtual void setMinAngle(float angle);
  // Returns the angle of the minimum.
  virtual float getMinAngle();
  // Sets the signed angle from minimum to maximum (negative: clockwise) and recomputes.
  virtual void setSweepAngle(float angle);
  // Returns the signed angle from minimum to maximum.
  virtual float getSweepAngle();
  // Stores the pointer's end relative to the knob's top-left corner.
  virtual void pointerPosition(Point& where);
  // Returns the value at a point relative to the top-left corner; dead-zone points give an end.
  virtual float valueAtPoint(Point& where);
  // Sets the distance from the rim to the pointer's end.
  virtual void setHandleInset(int32_t inset);
  // Sets the colour of the pointer's shadow line.
  virtual void setHandleShadowColor(Color color);
  // Sets the colour of the pointer line.
  virtual void setHandleColor(Color color);
  // Replaces the handle bitmap and derives the inset from its width; null draws lines.
  virtual void setHandleBitmap(Bitmap* bitmap);
  // Sets the divisor of the linear drag speed while shift is held.
  virtual void setFineDivisor(float divisor);
  // Returns the divisor of the linear drag speed while shift is held.
  virtual float getFineDivisor();

  // Returns the distance from the rim to the pointer's end.
  int32_t getHandleInset() const { return handleInset; }
  // Returns the handle bitmap, or null.
  Bitmap* getHandleBitmap() const { return handleBitmap; }

 protected:
  Point imageOffset;
  Color handleColor;
  Color handleShadowColor;
  Bitmap* handleBitmap;
  int32_t handleInset;
  float minAngle;
  float sweepAngle;
  float halfDeadAngle;
  float angleScale;
  float angleOffset;
  float radius;
  float fineDivisor;

 private:
  // Recomputes the dead angle, scale and offset from the angles and the range.
  void computeAngles();
  // Returns the value step per pixel of a linear drag for the held buttons.
  float linearStep(MouseButtons buttons) const;
  // Returns whether a drag with these buttons follows straight movement.
  bool dragsLinearly(MouseButtons buttons) const;
  // Returns the value under a frame point.
  float valueAtFramePoint(const Point& where);
};

}  // namespace wrenfold
