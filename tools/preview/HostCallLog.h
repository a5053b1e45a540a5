#pragma once

// The preview host's callback and the record of every call a module makes back to the host.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/HostInterface.h"

namespace wrenfold {

// One call the module made to the host.
struct HostCall {
  AEffect* effect;
  int32_t opcode;
  int32_t index;
  intptr_t value;
  float opt;
};

// Answers the module's calls: the interface version, and 0 for everything else; records each call.
intptr_t WRENFOLD_CALL previewHostCallback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                           void* ptr, float opt);
// Returns the record of host calls made so far, by every effect of the process.
std::vector<HostCall>& hostCalls();
// Chooses whether each host call is also printed to standard output as it arrives.
void printHostCalls(bool on);
// Sets what runs inside each audioMasterIdle call, as a host runs its own events there; empty for nothing.
void setHostIdleHandler(std::function<void()> handler);
// Returns a host call as one line: "43 index 10", "0 index 10 value 0.500000", "3", "44 index 10".
std::string describeHostCall(const HostCall& call);

}  // namespace wrenfold
