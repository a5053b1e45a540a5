#include "base/Allocation.h"

namespace wrenfold {

namespace {
AllocationFailureHook failureHook = nullptr;
int fillByte = -1;
}  // namespace

void setAllocationFailureHook(AllocationFailureHook hook) { failureHook = hook; }

void setUninitialisedFill(int byte) { fillByte = byte < 0 ? -1 : byte & 0xff; }

int uninitialisedFill() { return fillByte; }

bool allocationMustFail(AllocationSite site) { return failureHook != nullptr && failureHook(site); }

}  // namespace wrenfold
