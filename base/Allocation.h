#pragma once

#include <cstddef>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

namespace wrenfold {

// The objects whose allocation can fail on its own; tests make each one fail in turn.
enum class AllocationSite { effect, editor, processing, programs, frame, view, bitmap, control };

// Answers true when the allocation at the given site must fail; installed by tests only.
using AllocationFailureHook = bool (*)(AllocationSite site);

// Installs a hook (null removes it). [tests, before any effect exists]
void setAllocationFailureHook(AllocationFailureHook hook);

// Returns whether an installed hook asks the allocation at the given site to fail. [any thread]
bool allocationMustFail(AllocationSite site);

// Makes allocateUninitialisedArray fill new storage with the byte given, so that tests see any read
// of storage nobody wrote; a negative byte (the default) leaves storage as the allocator gives it.
// [tests, before any effect exists]
void setUninitialisedFill(int byte);

// Returns the byte that fills uninitialised storage, negative for none. [any thread]
int uninitialisedFill();

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

// Allocates an array of count Ts left uninitialised, or answers null. Pages of it that are never
// written are never made resident, which is why large buffers used only in part come from here.
template <class T>
T* allocateUninitialisedArray(AllocationSite site, std::size_t count) {
  static_assert(std::is_trivial_v<T>, "uninitialised storage is for plain values only");
  if (allocationMustFail(site)) return nullptr;
  T* array = new (std::nothrow) T[count];
  const int fill = uninitialisedFill();
  if (array != nullptr && fill >= 0) std::memset(array, fill, count * sizeof(T));
  return array;
}

}  // namespace wrenfold
