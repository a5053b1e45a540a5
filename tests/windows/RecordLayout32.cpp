// Compiled by the 32-bit Windows cross compiler: the interface header's own static assertions
// prove the 144-byte record and its offsets there.
#include "base/HostInterface.h"

static_assert(sizeof(void*) == 4, "this check must run on a 32-bit target");
static_assert(sizeof(AEffect) == 144, "record size");
static_assert(sizeof(VstSpeakerArrangement) == 8 + 112 * 8, "arrangement with eight speakers");
