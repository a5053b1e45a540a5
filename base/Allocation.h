#pragma once

#include <cstddef>
#include <new>
#include <utility>

namespace wrenfold {

// The objects whose allocation can fail on its own; tests make each one fail in turn.
enum class AllocationSite { effect, editor, processing, programs, frame, view, bitmap, control };

// Answers true when the allocation at the given site must fail; installed by tests only.
using AllocationFailureHook = bool (*)(AllocationSite site);

// Installs a hook (null removes it).
void setAllocationFailureHook(AllocationFailureHook hook);

// Returns whether an installed hook asks the allocation at the given site to fail.
bool allocationMustFail(AllocationSite site);

// Allocates and constructs a T, answering null instead of throwing when memory is short.
template <class T, class... Args>
T* allocateObject(AllocationSite site, Args&&... args) {
  if (allocationMustFail(site)) return nullptr;
  return new (std::nothrow) T(std::forward<Args>(args)...);
}

// Allocates an array of count value-initialised Ts, or answers null.
template <class T>
T* allocateArray(AllocationSite site, std::size_t count) {
  if (allocationMustFail(site)) return nullptr;
  return new (std::nothrow) T[count]();
}

}  // namespace wrenfold
