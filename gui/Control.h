#pragma once

#include <cstdint>

#include "gui/View.h"

namespace wrenfold {

class Bitmap;
class ControlListener;

// A view that carries one value in [minimum, maximum] and reports its changes to a listener.
// It is dirty while its value differs from the value it was last drawn with. [UI thread]
class Control : public View {
 public:
  // Makes a control reporting to `listener` under `tag`; takes a reference on `background` if
  // given.
  Control(const Rect& size, ControlListener* listener, int32_t tag, Bitmap* background);
  // Releases the background bitmap.
  ~Control() override;

  // Draws the control and ends with setDirty(false).
  void draw(DrawContext* context) override = 0;
  // Returns whether the value differs from the last drawn one or a redraw was asked for.
  bool isDirty() override;
  // Asks for a redraw (true) or records the current value as drawn (false).
  void setDirty(bool state) override;

  // Runs the editor's idle pump when the control sits in a frame that has an editor; answers
  // false when the host closed the editor or the effect meanwhile, so tracking must stop.
  virtual bool idlePump();
  // Stores the value without clamping.
  virtual void setValue(float newValue);
  // Returns the value.
  virtual float getValue();
  // Stores the minimum.
  virtual void setMin(float newMinimum);
  // Returns the minimum.
  virtual float getMin();
  // Stores the maximum.
  virtual void setMax(float newMaximum);
  // Returns the maximum.
  virtual float getMax();
  // Stores the value last drawn.
  virtual void setOldValue(float newOldValue);
  // Returns the value last drawn.
  virtual float getOldValue();
  // Stores the value the reset gesture sets.
  virtual void setDefaultValue(float newDefault);
  // Returns the value the reset gesture sets.
  virtual float getDefaultValue();
  // Stores the tag.
  virtual void setTag(int32_t newTag);
  // Replaces the background bitmap, moving the held reference to the new one.
  virtual void setBackground(Bitmap* bitmap);
  // Returns the background bitmap, or null.
  virtual Bitmap* getBackground();
  // Stores the background point drawn at the control's top-left corner.
  virtual void setBackgroundOrigin(Point& origin);
  // Makes the background origin the control's top-left corner, for a frame-sized background.
  virtual void alignBackgroundToPosition();
  // Stores the change per wheel notch or arrow key.
  virtual void setWheelStep(float step);
  // Returns the change per wheel notch or arrow key.
  virtual float getWheelStep();
  // Brings the value into range, testing the maximum first.
  virtual void clampValue();

  // Returns the tag.
  int32_t getTag() const { return tag; }
  // Returns the listener, or null.
  ControlListener* getListener() const { return listener; }
  // Returns the background point drawn at the control's top-left corner.
  Point getBackgroundOrigin() const { return backgroundOrigin; }

 protected:
  // Tells the frame an edit gesture on this control begins.
  void beginEdit();
  // Tells the frame the edit gesture on this control ends.
  void endEdit();

  ControlListener* listener;
  int32_t tag;
  float oldValue;
  float defaultValue;
  float value;
  float minimum;
  float maximum;
  float wheelStep;
  Bitmap* background;
  Point backgroundOrigin;
};

}  // namespace wrenfold
