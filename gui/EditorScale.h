#pragma once

#include <string>

namespace wrenfold {

// Picks the scale an editor opens at, from the first source that gives one: the user's choice
// (WRENFOLD_EDITOR_SCALE, else the line `editor-scale = …` of the settings file), the host's
// scale, the desktop's. `auto`, an unset source and a malformed value all pass to the next one;
// the answer is rounded to the nearest quarter and held within 1 to 3. [UI thread]
class EditorScale {
 public:
  // Smallest and largest scale an editor opens at.
  static constexpr float smallest = 1.0f;
  static constexpr float largest = 3.0f;

  // Returns the scale for an editor opening inside `parent` (null when not known yet), given the
  // host's scale (0 when the host gave none).
  static float choose(float hostScale, void* parent);
  // Returns `factor` rounded to the nearest quarter within 1 to 3.
  static float held(float factor);
  // Reads a plain decimal scale ("2", "1.25", " 1.5 "), whatever the locale; answers false for
  // anything else, `auto` included.
  static bool parse(const std::string& text, float& factor);
  // Returns the value of the settings file's `editor-scale` line (the last one), or empty.
  static std::string settingOf(const std::string& settings);
};

}  // namespace wrenfold
