#include "gui/DropRules.h"

#include <cstring>

#include "gui/View.h"

namespace wrenfold {

DropFormat chooseDropFormat(bool textOffered, bool fileNamesOffered) {
  if (textOffered) return DropFormat::text;
  return fileNamesOffered ? DropFormat::fileNames : DropFormat::none;
}

int32_t dropEffectFor(bool accepted, bool controlHeld) {
  if (!accepted) return dropEffectNone;
  return controlHeld ? dropEffectCopy : dropEffectMove;
}

int32_t dropItemType(DropFormat format) { return format == DropFormat::text ? dropText : dropFileNames; }

bool isShortcutFileName(const char* name) {
  if (name == nullptr) return false;
  const char* extension = std::strrchr(name, '.');
  if (extension == nullptr) return false;
  const char expected[] = ".lnk";
  for (int i = 0; i < 5; ++i) {
    const char c = extension[i];
    const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower != expected[i]) return false;
  }
  return true;
}

}  // namespace wrenfold
