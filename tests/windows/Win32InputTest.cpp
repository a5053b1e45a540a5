// The Win32 back end answers logical buttons: where the user swapped the mouse buttons (read when
// the window class is registered) the physical right button is the left one and back.
#include <gtest/gtest.h>
#include <windows.h>

#include "gui/platform/win32/Win32Surface.h"

namespace {

using namespace wrenfold;

TEST(Win32Input, SwappedButtonsAreMappedBackAndNothingElseMoves) {
  struct Case {
    bool swapped;
    uint32_t physical;
    uint32_t logical;
  };
  const Case cases[] = {
      {false, leftButton, leftButton},
      {false, rightButton, rightButton},
      {true, rightButton, leftButton},
      {true, leftButton, rightButton},
      {true, middleButton, middleButton},
      {false, leftButton | controlKey, leftButton | controlKey},
      {true, leftButton | rightButton | shiftKey | altKey,
       leftButton | rightButton | shiftKey | altKey},
      {true, rightButton | controlKey, leftButton | controlKey},
      {true, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "swapped " << c.swapped << " physical " << c.physical);
    EXPECT_EQ(wrenfold::win32::logicalInputBits(c.physical, c.swapped), c.logical);
  }
}

}  // namespace
