#pragma once

#include <cstdint>

// The key record built for effEditKeyDown and effEditKeyUp, and the toolkit's key event: its own
// header, so that the toolkit sees it without the rest of the plug-in interface. Like the
// interface's other records it lives in the global namespace.
struct KeyCode {
  int32_t character;
  unsigned char virt;
  unsigned char modifier;
};
