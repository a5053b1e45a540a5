#pragma once

#include <cstdint>

#include "gui/platform/platform.h"
#include "gui/platform/shared/DropData.h"

namespace wrenfold {

// Effects a drop target answers while a drag moves over it.
enum : int32_t { dropEffectNone = 0, dropEffectCopy = 1, dropEffectMove = 2 };
// Drop types the frame's drop operation receives: file names or one text block.
enum : int32_t { dropTypeFiles = 0, dropTypeText = 1 };
// Size of each file-name block handed to the frame, terminator included.
constexpr int32_t dropFileNameSize = 1024;

// The window system independent part of a window's drop target: whether the data is usable
// (text preferred over files), which effect to show, and the items and point a drop hands to the
// window's drop callback. Each window system's adaptor feeds it. [UI thread]
class DropTarget {
 public:
  // Makes the drop logic of `window`, whose drops reach `handler->drop` with `userData`.
  DropTarget(platform::Window* window, const platform::WindowHandler* handler, void* userData);

  // Notes whether the entering data carries text or files and answers the effect to show.
  int32_t dragEnter(DropData* data, bool controlKey);
  // Answers the effect to show: none without usable data, copy with Control, move otherwise.
  int32_t dragOver(bool controlKey) const;
  // Forgets the drag.
  void dragLeave();
  // Hands the data's text (or else its file names) with the cursor's window position to the
  // drop callback and forgets the drag; answers whether a view took the items.
  bool drop(DropData* data);
  // Returns whether the data of the current drag is usable.
  bool isAccepted() const { return accepted; }

 private:
  // Hands one text block to the drop callback.
  bool dropText(const std::string& bytes);
  // Hands the file names, each in a block of dropFileNameSize bytes, to the drop callback.
  bool dropFiles(const std::vector<std::string>& names);
  // Returns the cursor position relative to the window.
  Point dropPoint() const;

  platform::Window* window;
  const platform::WindowHandler* handler;
  void* userData;
  bool accepted;
};

}  // namespace wrenfold
