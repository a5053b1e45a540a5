#include "gui/platform/shared/DropTarget.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace wrenfold {

DropTarget::DropTarget(platform::Window* targetWindow, const platform::WindowHandler* windowHandler,
                       void* data)
    : window(targetWindow), handler(windowHandler), userData(data), accepted(false) {}

int32_t DropTarget::dragEnter(DropData* data, bool controlKey) {
  accepted = data != nullptr && (data->offersText() || data->offersFiles());
  return dragOver(controlKey);
}

int32_t DropTarget::dragOver(bool controlKey) const {
  if (!accepted) return dropEffectNone;
  return controlKey ? dropEffectCopy : dropEffectMove;
}

void DropTarget::dragLeave() { accepted = false; }

bool DropTarget::drop(DropData* data) {
  bool taken = false;
  // A drop that cannot be built (no memory for its items) is simply not made.
  try {
    std::string text;
    std::vector<std::string> names;
    if (data != nullptr && handler != nullptr && handler->drop != nullptr) {
      if (data->offersText() && data->readText(text) && !text.empty()) {
        taken = dropText(text);
      } else if (data->offersFiles() && data->readFiles(names) && !names.empty()) {
        taken = dropFiles(names);
      }
    }
  } catch (...) {
    taken = false;
  }
  dragLeave();
  return taken;
}

bool DropTarget::dropText(const std::string& bytes) {
  void* items[] = {const_cast<char*>(bytes.c_str())};
  return handler->drop(window, userData, items, static_cast<int32_t>(bytes.size()), dropTypeText,
                       dropPoint());
}

bool DropTarget::dropFiles(const std::vector<std::string>& names) {
  std::vector<std::vector<char>> blocks;
  std::vector<void*> items;
  for (const std::string& name : names) {
    // A name too long for its block is cut, keeping the terminator.
    blocks.emplace_back(dropFileNameSize, '\0');
    std::memcpy(blocks.back().data(), name.data(),
                std::min<std::size_t>(name.size(), dropFileNameSize - 1));
  }
  for (auto& block : blocks) items.push_back(block.data());
  return handler->drop(window, userData, items.data(), static_cast<int32_t>(items.size()),
                       dropTypeFiles, dropPoint());
}

Point DropTarget::dropPoint() const {
  const Point cursor = platform::cursorScreenPosition();
  const Point origin = platform::windowScreenRect(window).topLeft();
  return platform::editorPoint(window, Point(cursor.h - origin.h, cursor.v - origin.v));
}

}  // namespace wrenfold
