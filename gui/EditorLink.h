#pragma once

#include <cstdint>

namespace wrenfold {

// What a frame needs from the editor that owns it; the editor implements it, so the toolkit never
// sees the plug-in or the host. [UI thread]
class EditorLink {
 public:
  virtual ~EditorLink() = default;

  // Tells the host that an edit gesture on parameter `tag` begins.
  virtual void beginEdit(int32_t tag) = 0;
  // Tells the host that the edit gesture on parameter `tag` ends.
  virtual void endEdit(int32_t tag) = 0;
  // Keeps the host running while a control tracks the mouse; answers false once the host closed
  // the editor or the effect during the call, so that the control stops tracking.
  virtual bool pumpWhileTracking() = 0;
  // Returns the host's knob mode.
  virtual int32_t knobMode() const = 0;
  // Notes that a frame of this editor started handling a click (which may track the mouse).
  virtual void trackingStarted() = 0;
  // Notes that the click has been handled; the editor may now finish a close the host asked for
  // meanwhile, which can destroy the editor and its frame.
  virtual void trackingFinished() = 0;
};

}  // namespace wrenfold
