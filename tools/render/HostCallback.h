#pragma once

#include <cstdint>

#include "base/HostInterface.h"

namespace wrenfold {

// Answers the plug-in's calls back into this host: the interface version, the sample rate and the
// block size announced last, and 0 for everything it does not offer.
intptr_t WRENFOLD_CALL renderHostCallback(AEffect* effect, int32_t opcode, int32_t index,
                                          intptr_t value, void* ptr, float opt);

// Records the sample rate and block size that the callback reports from now on.
void announceHostTiming(float sampleRate, int32_t blockSize);

}  // namespace wrenfold
