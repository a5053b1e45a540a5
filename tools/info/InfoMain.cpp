// Loads the plug-in module exactly as a host does and prints what a host sees of it.
#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "base/HostInterface.h"
#include "tools/render/MessageText.h"
#include "tools/render/ModuleLocator.h"
#include "tools/render/RenderOptions.h"

namespace {

using EntryFunction = AEffect* (*)(audioMasterCallback);

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
  char id[5] = {static_cast<char>(effect->uniqueID >> 24),
                static_cast<char>(effect->uniqueID >> 16), static_cast<char>(effect->uniqueID >> 8),
                static_cast<char>(effect->uniqueID), 0};
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

// Returns the module to load: the argument as a file (dlopen would search the library path for a
// bare name), or without one the first module found where wrenfold-render looks.
std::string modulePath(int argc, char** argv) {
  if (argc < 2) {
    return wrenfold::findModule(WRENFOLD_INSTALLED_MODULE_FOLDER);
  }
  const std::string path = argv[1];
  return path.find('/') == std::string::npos ? "./" + path : path;
}

// Returns the module's entry: VSTPluginMain, else the older main.
EntryFunction entryOf(void* module) {
  void* symbol = dlsym(module, "VSTPluginMain");
  if (symbol == nullptr) {
    symbol = dlsym(module, "main");
  }
  return reinterpret_cast<EntryFunction>(symbol);
}

int printModule(const std::string& path) {
  // As in wrenfold-render: a module carrying its own C++ runtime stays mapped after dlclose.
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (module == nullptr) {
    std::fprintf(stderr, "wrenfold-info: cannot load module: %s\n",
                 wrenfold::shortenedMessage(dlerror()).c_str());
    return 1;
  }
  const EntryFunction entry = entryOf(module);
  if (entry == nullptr) {
    std::fprintf(stderr,
                 "wrenfold-info: '%s' exports no plug-in entry (neither VSTPluginMain nor main)\n",
                 wrenfold::shortenedMessage(path).c_str());
    dlclose(module);
    return 1;
  }
  AEffect* effect = entry(hostCallback);
  if (effect == nullptr) {
    std::fprintf(stderr, "wrenfold-info: '%s' answered no effect\n",
                 wrenfold::shortenedMessage(path).c_str());
    dlclose(module);
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

}  // namespace

int main(int argc, char** argv) {
  const char* usage =
      "usage: wrenfold-info [MODULE.so]\n"
      "Loads the module as a host does and prints its names, record, programs and parameters.\n"
      "Without MODULE.so the first wrenfold.so is loaded where wrenfold-render looks for it.\n"
      "  --help      print this text\n"
      "  --version   print the version\n";
  const std::string option = argc == 2 ? argv[1] : "";
  if (option == "--help" || option == "-h") {
    std::fputs(usage, stdout);
    return 0;
  }
  if (option == "--version") {
    std::fputs(wrenfold::versionLine("wrenfold-info").c_str(), stdout);
    return 0;
  }
  if (argc > 2 || (!option.empty() && option[0] == '-')) {
    std::fputs(usage, stderr);
    return 2;
  }
  try {
    return printModule(modulePath(argc, argv));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "wrenfold-info: %s\n", wrenfold::shortenedMessage(error.what()).c_str());
  }
  return 1;
}
