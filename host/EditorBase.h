#pragma once

#include <atomic>
#include <cstdint>

#include "base/HostInterface.h"

namespace wrenfold {

class ExtendedEffectBase;

// What every editor holds, with a default for each operation the dispatcher reaches.
// Host call sequence: 1. effEditGetRect  2. effEditOpen(parent)  3. effEditIdle, keys, knob mode…
// 4. effEditClose; steps 2 to 4 may repeat. [UI thread]
class EditorBase {
 public:
  explicit EditorBase(ExtendedEffectBase* effect);
  virtual ~EditorBase();

  EditorBase(const EditorBase&) = delete;
  EditorBase& operator=(const EditorBase&) = delete;

  // Stores a pointer to the editor's rectangle; the default stores null and answers 0. [UI thread]
  virtual intptr_t editorRect(ERect** rect);
  // Opens the editor inside the host's window; answers 1 when it opened. [UI thread]
  virtual intptr_t openEditor(void* parent);
  // Closes the editor's window. [UI thread]
  virtual void closeEditor();
  // Runs the host's periodic editor idle. [UI thread]
  virtual void idleEditor();
  // Brings the editor up to date after a refresh request. [UI thread]
  virtual void refresh();
  // Asks for a refresh at the next idle. [any thread]
  virtual void requestRefresh();
  // Handles a key press; −1 when not handled. [UI thread]
  virtual int32_t keyPressed(KeyCode& key);
  // Handles a key release; −1 when not handled. [UI thread]
  virtual int32_t keyReleased(KeyCode& key);
  // Stores the host's knob mode; answers 1 when taken. [UI thread]
  virtual int32_t changeKnobMode(int32_t mode);
  // Handles a turn of the mouse wheel. [UI thread]
  virtual bool wheelTurned(float distance);
  // Keeps the host's scale for the editor's next open; answers whether it is one (finite, above
  // 0). [any thread]
  bool takeHostScale(float factor);
  // Returns whether the editor is inside a click that tracks the mouse; the effect then waits
  // with its destruction until the click ends. [UI thread]
  virtual bool isTracking() const { return false; }

  // Returns the host's window given to the last open. [UI thread]
  void* hostWindow() const { return parentWindow; }
  // Returns whether a refresh is pending. [any thread]
  bool isUpdatePending() const { return updatePending.load(std::memory_order_relaxed) != 0; }

 protected:
  ExtendedEffectBase* effect;
  void* parentWindow;
  // Set by parameter writes on any thread, taken by the idle on the UI thread.
  std::atomic<int32_t> updatePending;
  // The host's scale, 0 while it gave none; hostScaleChanged is set with it and taken by the
  // editor on the UI thread.
  std::atomic<float> hostScale;
  std::atomic<bool> hostScaleChanged;
};

}  // namespace wrenfold
