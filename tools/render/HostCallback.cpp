#include "tools/render/HostCallback.h"

#include <cstring>

namespace wrenfold {

namespace {

// The interface revision this host speaks, as hosts of the version-2 interface report it.
constexpr intptr_t kHostInterfaceVersion = 2400;
constexpr char kHostName[] = "wrenfold-render";

// One renderer drives one effect at a time, so a single slot is enough.
float announcedSampleRate = 44100.0f;
int32_t announcedBlockSize = 512;

intptr_t copyName(void* ptr) {
  if (ptr == nullptr) {
    return 0;
  }
  std::memcpy(ptr, kHostName, sizeof kHostName);
  return 1;
}

}  // namespace

intptr_t WRENFOLD_CALL renderHostCallback(AEffect*, int32_t opcode, int32_t, intptr_t, void* ptr,
                                          float) {
  switch (opcode) {
    case audioMasterVersion:
      return kHostInterfaceVersion;
    case audioMasterGetSampleRate:
      return static_cast<intptr_t>(announcedSampleRate);
    case audioMasterGetBlockSize:
      return announcedBlockSize;
    case audioMasterGetVendorString:
    case audioMasterGetProductString:
      return copyName(ptr);
    default:
      return 0;
  }
}

void announceHostTiming(float sampleRate, int32_t blockSize) {
  announcedSampleRate = sampleRate;
  announcedBlockSize = blockSize;
}

}  // namespace wrenfold
