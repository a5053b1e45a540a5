// A stand-in module that a host loads in place of the real one, to record how the host drives the
// editor. Its entry loads the module named by WRENFOLD_TRACE_MODULE, hands the host that module's
// record with the dispatcher wrapped, and appends one line per open, close and editor opcode to the
// file named by WRENFOLD_TRACE_LOG when the call returns:
//   <opcode> ms=<monotonic clock> pid=<process> thread=<kernel thread id> effect=<record address>
//   index=<i> value=<v> ptr=<hex> answer=<a>
// and a line starting with "entry" for each call of the entry. The record's address is only
// printed, never read, so closing the effect can be logged after it was freed. Everything else goes
// straight to the real module, which is unloaded when this module is.
#include <pthread.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "hostkit/ModuleLibrary.h"

namespace {

using wrenfold::hostkit::ModuleLibrary;

// The real module: loaded by the first entry call, unloaded with this module.
struct TracedModule {
  std::unique_ptr<ModuleLibrary> library;
  AEffectDispatcherProc dispatcher = nullptr;
  FILE* log = nullptr;

  ~TracedModule() {
    if (log != nullptr) std::fclose(log);
  }
};

TracedModule traced;
pthread_mutex_t loading = PTHREAD_MUTEX_INITIALIZER;

long threadId() { return static_cast<long>(syscall(SYS_gettid)); }

long long monotonicMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

const char* tracedName(int32_t opcode) {
  switch (opcode) {
    case effOpen:
      return "effOpen";
    case effClose:
      return "effClose";
    case effEditGetRect:
      return "effEditGetRect";
    case effEditOpen:
      return "effEditOpen";
    case effEditClose:
      return "effEditClose";
    case effEditIdle:
      return "effEditIdle";
    default:
      return nullptr;
  }
}

void writeLine(const char* what, const AEffect* effect, int32_t index, intptr_t value, void* ptr,
               intptr_t answer) {
  if (traced.log == nullptr) return;
  std::fprintf(traced.log,
               "%s ms=%lld pid=%ld thread=%ld effect=%#" PRIxPTR " index=%d value=%" PRIdPTR
               " ptr=%#" PRIxPTR " answer=%" PRIdPTR "\n",
               what, monotonicMilliseconds(), static_cast<long>(getpid()), threadId(),
               reinterpret_cast<uintptr_t>(effect), index, value, reinterpret_cast<uintptr_t>(ptr),
               answer);
  std::fflush(traced.log);
}

intptr_t tracingDispatcher(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                           void* ptr, float opt) {
  const intptr_t answer = traced.dispatcher(effect, opcode, index, value, ptr, opt);
  const char* name = tracedName(opcode);
  if (name != nullptr) writeLine(name, effect, index, value, ptr, answer);
  return answer;
}

bool loadTracedModule() {
  pthread_mutex_lock(&loading);
  const char* path = std::getenv("WRENFOLD_TRACE_MODULE");
  if (traced.library == nullptr && path != nullptr) {
    const char* logPath = std::getenv("WRENFOLD_TRACE_LOG");
    if (logPath != nullptr) traced.log = std::fopen(logPath, "a");
    traced.library = std::make_unique<ModuleLibrary>(path, ModuleLibrary::Unload::onDestroy);
  }
  pthread_mutex_unlock(&loading);
  return traced.library != nullptr && traced.library->loaded();
}

}  // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(
    audioMasterCallback hostCallback) {
  if (!loadTracedModule()) return nullptr;
  AEffect* effect = traced.library->createEffect(hostCallback, "VSTPluginMain");
  writeLine("entry", effect, 0, 0, nullptr, 0);
  if (effect == nullptr) return nullptr;
  traced.dispatcher = effect->dispatcher;
  effect->dispatcher = tracingDispatcher;
  return effect;
}
