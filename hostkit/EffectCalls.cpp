#include "hostkit/EffectCalls.h"

namespace wrenfold::hostkit {

namespace {

// Effects write their texts whole; this is far more than any of them needs.
constexpr std::size_t textBufferSize = 256;

}  // namespace

intptr_t dispatch(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                  float opt) {
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

std::string effectText(AEffect* effect, int32_t opcode, int32_t index) {
  char buffer[textBufferSize] = {};
  dispatch(effect, opcode, index, 0, buffer);
  buffer[textBufferSize - 1] = '\0';
  return buffer;
}

}  // namespace wrenfold::hostkit
