// Loads the plug-in module exactly as a host does and prints what a host sees of it.
#include <dlfcn.h>

#include <cstdio>
#include <cstring>

#include "base/HostInterface.h"

namespace {

intptr_t WRENFOLD_CALL hostCallback(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

// Asks the effect for a text through the dispatcher.
const char* textOf(AEffect* effect, int32_t opcode, int32_t index, char* buffer, size_t size) {
  std::memset(buffer, 0, size);
  effect->dispatcher(effect, opcode, index, 0, buffer, 0.0f);
  return buffer;
}

void printRecord(AEffect* effect) {
  char id[5] = {static_cast<char>(effect->uniqueID >> 24), static_cast<char>(effect->uniqueID >> 16),
                static_cast<char>(effect->uniqueID >> 8), static_cast<char>(effect->uniqueID), 0};
  std::printf("record: magic 0x%08x, %d programs, %d parameters, %d inputs, %d outputs\n",
              static_cast<unsigned>(effect->magic), effect->numPrograms, effect->numParams,
              effect->numInputs, effect->numOutputs);
  std::printf("        flags %d, initial delay %d, io ratio %.1f, unique id %s, version %d\n",
              effect->flags, effect->initialDelay, static_cast<double>(effect->ioRatio), id,
              effect->version);
}

void printPrograms(AEffect* effect) {
  char name[256];
  const intptr_t current = effect->dispatcher(effect, effGetProgram, 0, 0, nullptr, 0.0f);
  std::printf("programs:\n");
  for (int32_t program = 0; program < effect->numPrograms; ++program) {
    effect->dispatcher(effect, effSetProgram, 0, program, nullptr, 0.0f);
    std::printf("  %d  %s\n", program, textOf(effect, effGetProgramName, 0, name, sizeof name));
  }
  effect->dispatcher(effect, effSetProgram, 0, current, nullptr, 0.0f);
}

void printParameters(AEffect* effect) {
  char name[256], label[256], display[256];
  std::printf("parameters of program %d:\n",
              static_cast<int>(effect->dispatcher(effect, effGetProgram, 0, 0, nullptr, 0.0f)));
  std::printf("  %-3s %-12s %-12s %-8s %s\n", "#", "name", "label", "value", "display");
  for (int32_t index = 0; index < effect->numParams; ++index) {
    std::printf("  %-3d %-12s %-12s %-8.4f %s\n", index,
                textOf(effect, effGetParamName, index, name, sizeof name),
                textOf(effect, effGetParamLabel, index, label, sizeof label),
                static_cast<double>(effect->getParameter(effect, index)),
                textOf(effect, effGetParamDisplay, index, display, sizeof display));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const char* usage =
      "usage: wrenfold-info MODULE.so\n"
      "Loads the module as a host does and prints its names, record, programs and parameters.\n";
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(usage, stdout);
    return 0;
  }
  if (argc != 2) {
    std::fputs(usage, stderr);
    return 2;
  }
  void* module = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    std::fprintf(stderr, "wrenfold-info: cannot load %s: %s\n", argv[1], dlerror());
    return 1;
  }
  auto entry = reinterpret_cast<AEffect* (*)(audioMasterCallback)>(dlsym(module, "VSTPluginMain"));
  AEffect* effect = entry != nullptr ? entry(hostCallback) : nullptr;
  if (effect == nullptr) {
    std::fprintf(stderr, "wrenfold-info: the module gave no effect\n");
    return 1;
  }
  char text[256];
  std::printf("effect: %s\n", textOf(effect, effGetEffectName, 0, text, sizeof text));
  std::printf("vendor: %s\n", textOf(effect, effGetVendorString, 0, text, sizeof text));
  std::printf("product: %s\n", textOf(effect, effGetProductString, 0, text, sizeof text));
  printRecord(effect);
  printPrograms(effect);
  printParameters(effect);
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  dlclose(module);
  return 0;
}
