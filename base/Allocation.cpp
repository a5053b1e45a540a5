#include "base/Allocation.h"

namespace wrenfold {

namespace {
AllocationFailureHook failureHook = nullptr;
}

void setAllocationFailureHook(AllocationFailureHook hook) { failureHook = hook; }

bool allocationMustFail(AllocationSite site) { return failureHook != nullptr && failureHook(site); }

}  // namespace wrenfold
