#pragma once

// The decisions of drag and drop that do not depend on the window system: which offered format a
// drop takes, which effect the drag shows, and which dropped files are shell shortcuts. The
// platform's drop-target adaptor asks these. [UI thread]

#include <cstdint>

namespace wrenfold {

// The data formats a drop can take, in the order they are preferred.
enum class DropFormat { none, text, fileNames };

// Effects a drag shows, with the platform's values.
enum : int32_t { dropEffectNone = 0, dropEffectCopy = 1, dropEffectMove = 2 };

// Returns the format a drop takes: text when offered, else file names when offered, else none.
DropFormat chooseDropFormat(bool textOffered, bool fileNamesOffered);

// Returns the effect to show: none without a usable format, copy with Control held, else move.
int32_t dropEffectFor(bool accepted, bool controlHeld);

// Returns the item type a view's onDrop receives for items of the format.
int32_t dropItemType(DropFormat format);

// Returns whether the file name's last extension is ".lnk" in any mix of cases.
bool isShortcutFileName(const char* name);

}  // namespace wrenfold
