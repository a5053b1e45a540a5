#include "base/ModuleHandle.h"

namespace wrenfold {

namespace {
void* instanceHandle = nullptr;
}

void* moduleInstanceHandle() { return instanceHandle; }

void storeModuleInstanceHandle(void* handle) { instanceHandle = handle; }

}  // namespace wrenfold
