#pragma once

namespace wrenfold {

class Control;
class DrawContext;

// Receives value changes of controls. [UI thread]
class ControlListener {
 public:
  // Handles a changed value of `control`; the context is null for changes made by keys.
  virtual void valueChanged(DrawContext* context, Control* control) = 0;

 protected:
  ~ControlListener() = default;
};

}  // namespace wrenfold
