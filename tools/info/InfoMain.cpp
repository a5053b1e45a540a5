// Loads the plug-in module exactly as a host does and prints what a host sees of it.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "hostkit/EffectCalls.h"
#include "hostkit/EffectInstance.h"
#include "hostkit/ModuleLibrary.h"
#include "tools/common/CommandLine.h"
#include "tools/common/MessageText.h"
#include "tools/common/ModuleLocator.h"

namespace {

using wrenfold::hostkit::dispatch;
using wrenfold::hostkit::effectText;

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
  const intptr_t current = dispatch(effect, effGetProgram);
  std::printf("programs:\n");
  for (int32_t program = 0; program < effect->numPrograms; ++program) {
    dispatch(effect, effSetProgram, 0, program);
    std::printf("  %d  %s\n", program, effectText(effect, effGetProgramName).c_str());
  }
  dispatch(effect, effSetProgram, 0, current);
}

void printParameters(AEffect* effect) {
  std::printf("parameters of program %d:\n", static_cast<int>(dispatch(effect, effGetProgram)));
  std::printf("  %-3s %-12s %-12s %-8s %s\n", "#", "name", "label", "value", "display");
  for (int32_t index = 0; index < effect->numParams; ++index) {
    std::printf("  %-3d %-12s %-12s %-8.4f %s\n", index,
                effectText(effect, effGetParamName, index).c_str(),
                effectText(effect, effGetParamLabel, index).c_str(),
                static_cast<double>(effect->getParameter(effect, index)),
                effectText(effect, effGetParamDisplay, index).c_str());
  }
}

// Returns the module to load: the argument, or without one the first module found where
// wrenfold-render looks.
std::string modulePath(int argc, char** argv) {
  return argc < 2 ? wrenfold::findModule(WRENFOLD_INSTALLED_MODULE_FOLDER) : argv[1];
}

// Loads the module as wrenfold-render does (kept mapped, the record checked) and prints it;
// throws ToolError when it cannot be used.
int printModule(const std::string& path) {
  wrenfold::hostkit::ModuleLibrary module(path);
  const std::unique_ptr<wrenfold::EffectInstance> instance =
      wrenfold::EffectInstance::fromModule(module);
  AEffect* effect = instance->record();
  std::printf("module: %s\n", wrenfold::absoluteModulePath(path).c_str());
  std::printf("effect: %s\n", effectText(effect, effGetEffectName).c_str());
  std::printf("vendor: %s\n", effectText(effect, effGetVendorString).c_str());
  std::printf("product: %s\n", effectText(effect, effGetProductString).c_str());
  printRecord(effect);
  printPrograms(effect);
  printParameters(effect);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const char* usage =
      "usage: wrenfold-info [MODULE.so]\n"
      "Loads the module as a host does and prints its names, record, programs and parameters.\n"
      "Without MODULE.so the first wrenfold.so is loaded where wrenfold-render looks for it.\n"
      "The first line names the module loaded.\n"
      "\n"
      "options:\n"
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
  if (option.size() > 1 && option[0] == '-') {
    std::fprintf(stderr, "wrenfold-info: unknown option '%s' (see --help)\n",
                 wrenfold::shortenedMessage(option).c_str());
    return 1;
  }
  if (argc > 2) {
    std::fputs("wrenfold-info: give one module at most (see --help)\n", stderr);
    return 1;
  }
  try {
    return printModule(modulePath(argc, argv));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "wrenfold-info: %s\n", wrenfold::shortenedMessage(error.what()).c_str());
  }
  return 1;
}
