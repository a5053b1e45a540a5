#pragma once

namespace wrenfold {

// Returns the handle of the loaded module, stored at start-up; null inside a program that
// links the classes directly.
void* moduleInstanceHandle();

// Stores the module handle; called once by the platform's start-up notification.
void storeModuleInstanceHandle(void* handle);

}  // namespace wrenfold
