#include "hostkit/Host.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

namespace wrenfold::hostkit {

namespace {

// The interface revision this host speaks, as hosts of the version-2 interface report it.
constexpr intptr_t interfaceVersion = 2400;
// The interface's buffers for the host's vendor and product strings hold 64 bytes.
constexpr std::size_t nameBufferSize = 64;

}  // namespace

Host::Host() { reset(); }

Host& Host::shared() {
  static Host host;
  return host;
}

audioMasterCallback Host::callback() { return &Host::receive; }

intptr_t WRENFOLD_CALL Host::receive(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                     void* ptr, float opt) {
  return shared().answer(effect, opcode, index, value, ptr, opt);
}

intptr_t Host::answer(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                      float opt) {
  if (opcode != audioMasterVersion) log(HostCall{effect, opcode, index, value, opt});
  const auto handler = handlers.find(opcode);
  // A copy runs, so that the handler may replace itself.
  if (handler != handlers.end() && handler->second) std::function<void()>(handler->second)();
  if (opcode == audioMasterGetVendorString || opcode == audioMasterGetProductString)
    return copyName(ptr);
  const auto found = answers.find(opcode);
  return found != answers.end() ? found->second : 0;
}

void Host::log(const HostCall& call) {
  callLog.push_back(call);
  if (echoing) {
    std::printf("%s\n", describe(call).c_str());
    std::fflush(stdout);
  }
}

intptr_t Host::copyName(void* buffer) const {
  if (hostName.empty() || buffer == nullptr) return 0;
  const std::size_t length = std::min(hostName.size(), nameBufferSize - 1);
  std::memcpy(buffer, hostName.data(), length);
  static_cast<char*>(buffer)[length] = '\0';
  return 1;
}

void Host::reset() {
  answers = {{audioMasterVersion, interfaceVersion}};
  hostName.clear();
  handlers.clear();
  echoing = false;
  callLog.clear();
}

void Host::setAnswer(int32_t opcode, intptr_t answer) { answers[opcode] = answer; }

void Host::setName(const std::string& name) { hostName = name; }

void Host::setHandler(int32_t opcode, std::function<void()> handler) {
  handlers[opcode] = std::move(handler);
}

void Host::echoCalls(bool on) { echoing = on; }

std::string Host::describe(const HostCall& call) {
  char text[96];
  switch (call.opcode) {
    case audioMasterAutomate:
      std::snprintf(text, sizeof(text), "%d index %d value %f", call.opcode, call.index,
                    static_cast<double>(call.opt));
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

}  // namespace wrenfold::hostkit
