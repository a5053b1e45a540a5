#include "tools/preview/HostCallLog.h"

#include <cstdio>
#include <utility>

namespace wrenfold {

namespace {

constexpr intptr_t hostInterfaceVersion = 2400;
bool printing = false;

std::function<void()>& idleHandler() {
  static std::function<void()> handler;
  return handler;
}

}  // namespace

intptr_t WRENFOLD_CALL previewHostCallback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void*,
                                           float opt) {
  if (opcode == audioMasterVersion) return hostInterfaceVersion;
  hostCalls().push_back(HostCall{effect, opcode, index, value, opt});
  if (printing) {
    std::printf("%s\n", describeHostCall(hostCalls().back()).c_str());
    std::fflush(stdout);
  }
  if (opcode == audioMasterIdle && idleHandler()) idleHandler()();
  return 0;
}

std::vector<HostCall>& hostCalls() {
  static std::vector<HostCall> calls;
  return calls;
}

void printHostCalls(bool on) { printing = on; }

void setHostIdleHandler(std::function<void()> handler) { idleHandler() = std::move(handler); }

std::string describeHostCall(const HostCall& call) {
  char text[96];
  switch (call.opcode) {
    case audioMasterAutomate:
      std::snprintf(text, sizeof(text), "%d index %d value %f", call.opcode, call.index, static_cast<double>(call.opt));
      break;
    case audioMasterIdle:
      std::snprintf(text, sizeof(text), "%d", call.opcode);
      break;
    default:
      std::snprintf(text, sizeof(text), "%d index %d", call.opcode, call.index);
      break;
  }
  return text;
}

}  // namespace wrenfold
