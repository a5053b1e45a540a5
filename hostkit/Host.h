#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "base/HostInterface.h"

namespace wrenfold::hostkit {

// One call an effect made to the host.
struct HostCall {
  AEffect* effect;
  int32_t opcode;
  int32_t index;
  intptr_t value;
  float opt;
};

// The host side of the interface for tools, tests and benchmarks. The interface hands a callback
// no context of its own, so there is one host for the whole process: its callback answers the
// version query with 2400 and any other opcode with 0 until told otherwise, and logs every call
// but the version query. Not thread-safe: effects call it on the thread that drives them, the
// driving thread of the tags below.
class Host {
 public:
  // Returns the process's host, with the answers and the log set up so far. [driving thread]
  static Host& shared();
  // Returns the callback to hand to a module's entry or to an effect's constructor. [any thread]
  static audioMasterCallback callback();
  // Returns a call as one line: "43 index 10", "0 index 10 value 0.500000", "3". [driving thread]
  static std::string describe(const HostCall& call);

  // Restores the default answers and empties the log, the name, the handlers and the echo.
  // [driving thread]
  void reset();
  // Sets the answer to an opcode: a number, or an address such as that of a time-info record.
  // Answering 0 to audioMasterVersion makes the entry refuse to create an effect. [driving thread]
  void setAnswer(int32_t opcode, intptr_t answer);
  // Sets the name written, cut to 63 bytes, for audioMasterGetVendorString and
  // audioMasterGetProductString (answered 1 then); with an empty name, the default, both are
  // answered 0 and nothing is written. [driving thread]
  void setName(const std::string& name);
  // Sets what runs inside each call of an opcode after it is logged, as a host runs its own
  // events inside audioMasterIdle or acts on an automated value; empty for nothing.
  // [driving thread]
  void setHandler(int32_t opcode, std::function<void()> handler);
  // Sets the handler of audioMasterIdle. [driving thread]
  void setIdleHandler(std::function<void()> handler) {
    setHandler(audioMasterIdle, std::move(handler));
  }
  // Chooses whether each logged call is also printed on standard output as it arrives. [driving
  // thread]
  void echoCalls(bool on);
  // Returns the calls logged so far, oldest first; the caller may clear it. [driving thread]
  std::vector<HostCall>& calls() { return callLog; }

 private:
  Host();
  // Answers one call, after logging it. [driving thread]
  intptr_t answer(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                  float opt);
  // Appends a call to the log, and prints it when echoing. [driving thread]
  void log(const HostCall& call);
  // Writes the name into a host-string buffer; answers 1, or 0 without a name or a buffer. [driving
  // thread]
  intptr_t copyName(void* buffer) const;
  // Receives a call from an effect and passes it to the shared host. [driving thread]
  static intptr_t WRENFOLD_CALL receive(AEffect* effect, int32_t opcode, int32_t index,
                                        intptr_t value, void* ptr, float opt);

  std::map<int32_t, intptr_t> answers;
  std::string hostName;
  std::map<int32_t, std::function<void()>> handlers;
  bool echoing = false;
  std::vector<HostCall> callLog;
};

}  // namespace wrenfold::hostkit
