#pragma once

namespace wrenfold {

// Whole-value reads and writes of a plain field that threads share without a lock: a reader
// sees either the old or the new value, never a torn one, and there is no data race. The field
// keeps its plain type, so records that hold it stay copyable and keep their layout.
// Ordering: none beyond the field itself; publish with an atomic flag where order matters.

// Returns the field's current value.
template <typename T>
inline T loadShared(const T& field) {
  T value;
  __atomic_load(&field, &value, __ATOMIC_RELAXED);
  return value;
}

// Replaces the field's value.
template <typename T>
inline void storeShared(T& field, T value) {
  __atomic_store(&field, &value, __ATOMIC_RELAXED);
}

}  // namespace wrenfold
