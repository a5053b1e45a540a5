#include "base/ModuleState.h"

namespace wrenfold {

namespace {
ModuleState state;
}

ModuleState& moduleState() { return state; }

void resetModuleStateForTesting() { state = ModuleState{}; }

}  // namespace wrenfold
