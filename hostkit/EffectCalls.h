#pragma once

// Calls a host makes on an effect's record, shortened for harness code.
#include <cstdint>
#include <string>

#include "base/HostInterface.h"

namespace wrenfold::hostkit {

// Sends one opcode through the record's dispatcher and returns its answer. [any thread the
// opcode allows]
intptr_t dispatch(AEffect* effect, int32_t opcode, int32_t index = 0, intptr_t value = 0,
                  void* ptr = nullptr, float opt = 0.0f);
// Returns the text an opcode writes into a zeroed 256-byte host buffer, cut at its last byte.
// [driving thread]
std::string effectText(AEffect* effect, int32_t opcode, int32_t index = 0);

}  // namespace wrenfold::hostkit
