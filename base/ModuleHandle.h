#pragma once

namespace wrenfold {

// Returns the handle of the loaded module, stored at start-up; null inside a program that
// links the classes directly. [any thread]
void* moduleInstanceHandle();

// Stores the module handle; called once by the platform's start-up notification. [module start-up]
void storeModuleInstanceHandle(void* handle);

}  // namespace wrenfold
