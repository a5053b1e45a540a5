// A small effect module for testing hosts: a dry gain plus one echo line whose length follows the
// tempo and note-length texts it reports ("BPM240", "1/64"), so a host that reads delay times
// from those texts finds the true echo distance. When WRENFOLD_TEST_EFFECT_LOG names a file, every
// opcode, sample rate and block size the host sends is appended to it, one per line. When
// WRENFOLD_TEST_EFFECT_FAULT is "none", "magic" or "outputs", the entry answers no record, one
// without the interface's magic, or one declaring a billion outputs. WRENFOLD_TEST_EFFECT_SHAPE
// "no-inputs", "no-programs", "adding-only" or "replacing-only" makes a record that is unusual but
// valid. Built with WRENFOLD_TEST_EFFECT_MAIN_ONLY, the module exports its entry as `main` alone.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/HostInterface.h"

namespace {

enum Parameter { Gain, Feedback, TempoL, TempoR, NoteLenL, NoteLenR, parameterCount };

const char* const parameterNames[parameterCount] = {"Gain",   "Feedback", "TempoL",
                                                    "TempoR", "NoteLenL", "NoteLenR"};
const char* const programNames[] = {"plain", "echo"};
constexpr int programCount = 2;
const float programValues[programCount][parameterCount] = {{0.5f, 0.0f, 0, 0, 0, 0},
                                                           {0.5f, 0.5f, 0, 0, 0, 0}};

// Room for the echo at 384 hz, so a rate change never reallocates under a running block.
constexpr std::size_t lineCapacity = 6000;

struct TestEffect {
  AEffect record{};
  float values[programCount][parameterCount];
  int program = 0;
  float sampleRate = 44100.0f;
  float line[lineCapacity];
  std::size_t length = 1;
  std::size_t position = 0;
};

TestEffect* effectOf(AEffect* record) { return static_cast<TestEffect*>(record->object); }

void logLine(const char* format, long a, double b) {
  const char* path = std::getenv("WRENFOLD_TEST_EFFECT_LOG");
  if (path == nullptr) {
    return;
  }
  if (std::FILE* file = std::fopen(path, "a")) {
    std::fprintf(file, format, a, b);
    std::fputc('\n', file);
    std::fclose(file);
  }
}

// The echo distance of a quarter of a sixteenth at 240 BPM, the way the texts describe it.
void resetLine(TestEffect& effect) {
  const float frames = 0.015625f / 240.0f * effect.sampleRate * 240.0f;
  effect.length = std::clamp<std::size_t>(static_cast<std::size_t>(frames), 1, lineCapacity);
  std::fill(effect.line, effect.line + lineCapacity, 0.0f);
  effect.position = 0;
}

void copyText(void* ptr, const char* text) {
  if (ptr != nullptr) {
    std::strcpy(static_cast<char*>(ptr), text);
  }
}

intptr_t dispatch(AEffect* record, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                  float opt) {
  TestEffect& effect = *effectOf(record);
  logLine("opcode %ld", opcode, 0.0);
  switch (opcode) {
    case effClose:
      delete &effect;
      return 1;
    case effSetProgram:
      if (value >= 0 && value < programCount) {
        effect.program = static_cast<int>(value);
        resetLine(effect);
      }
      return 0;
    case effGetProgram:
      return effect.program;
    case effGetProgramName:
      copyText(ptr, programNames[effect.program]);
      return 0;
    case effGetParamName:
    case effGetParamLabel:
      if (index >= 0 && index < parameterCount) {
        copyText(ptr, parameterNames[index]);
      }
      return 0;
    case effGetParamDisplay: {
      char text[32] = "";
      if (index == TempoL || index == TempoR) {
        std::strcpy(text, "BPM240");
      } else if (index == NoteLenL || index == NoteLenR) {
        std::strcpy(text, "1/64");
      } else if (index >= 0 && index < parameterCount) {
        std::snprintf(text, sizeof text, "%.2f", effect.values[effect.program][index]);
      }
      copyText(ptr, text);
      return 0;
    }
    case effSetSampleRate:
      logLine("rate %ld %g", 0, opt);
      effect.sampleRate = opt;
      resetLine(effect);
      return 0;
    case effSetBlockSize:
      logLine("maxblock %ld", static_cast<long>(value), 0.0);
      return 0;
    case effMainsChanged:
      logLine("mains %ld", static_cast<long>(value), 0.0);
      return 0;
    case effGetEffectName:
      copyText(ptr, "Test Echo");
      return 1;
    case effGetVendorString:
    case effGetProductString:
      copyText(ptr, "test");
      return 1;
    case effGetVstVersion:
      return 2400;
    default:
      return 0;
  }
}

void processReplacing(AEffect* record, float** inputs, float** outputs, int32_t frames) {
  TestEffect& effect = *effectOf(record);
  logLine("block %ld", frames, 0.0);
  const float gain = 2.0f * effect.values[effect.program][Gain];
  const float feedback = effect.values[effect.program][Feedback];
  for (int32_t i = 0; i < frames; ++i) {
    const float mono = 0.5f * (inputs[0][i] + inputs[1][i]);
    const float echo = effect.line[effect.position];
    effect.line[effect.position] = mono + feedback * echo;
    effect.position = (effect.position + 1) % effect.length;
    outputs[0][i] = gain * inputs[0][i] + echo;
    outputs[1][i] = gain * inputs[1][i] + echo;
  }
}

void process(AEffect* record, float** inputs, float** outputs, int32_t frames) {
  std::vector<float> left(outputs[0], outputs[0] + frames);
  std::vector<float> right(outputs[1], outputs[1] + frames);
  processReplacing(record, inputs, outputs, frames);
  for (int32_t i = 0; i < frames; ++i) {
    outputs[0][i] += left[static_cast<std::size_t>(i)];
    outputs[1][i] += right[static_cast<std::size_t>(i)];
  }
}

void setParameter(AEffect* record, int32_t index, float value) {
  if (index >= 0 && index < parameterCount) {
    effectOf(record)->values[effectOf(record)->program][index] = value;
  }
}

float getParameter(AEffect* record, int32_t index) {
  return index >= 0 && index < parameterCount
             ? effectOf(record)->values[effectOf(record)->program][index]
             : 0.0f;
}

// Answers a broken record for WRENFOLD_TEST_EFFECT_FAULT, or null; a host must refuse either.
// The broken records are never freed, so they are not allocated.
AEffect* faultyRecord(const char* fault) {
  static AEffect broken;
  broken = AEffect{};
  broken.magic = kEffectMagic;
  broken.dispatcher = dispatch;
  if (std::strcmp(fault, "magic") == 0) broken.magic = 0;
  if (std::strcmp(fault, "outputs") == 0) broken.numOutputs = 1000000000;
  return std::strcmp(fault, "none") == 0 ? nullptr : &broken;
}

// Reshapes a record for WRENFOLD_TEST_EFFECT_SHAPE.
void shapeRecord(AEffect& record, const char* shape) {
  if (std::strcmp(shape, "no-inputs") == 0) record.numInputs = 0;
  if (std::strcmp(shape, "no-programs") == 0) record.numPrograms = 0;
  if (std::strcmp(shape, "adding-only") == 0) record.processReplacing = nullptr;
  if (std::strcmp(shape, "replacing-only") == 0) record.process = nullptr;
}

}  // namespace

#ifdef WRENFOLD_TEST_EFFECT_MAIN_ONLY
// A C++ function may not be called main, so the entry gets that name at the assembler level.
extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(
    audioMasterCallback host) __asm__("main");
#endif

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host) {
  if (host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
    return nullptr;
  }
  const char* fault = std::getenv("WRENFOLD_TEST_EFFECT_FAULT");
  if (fault != nullptr && *fault != '\0') {
    return faultyRecord(fault);
  }
  auto* effect = new TestEffect;
  std::memcpy(effect->values, programValues, sizeof programValues);
  resetLine(*effect);
  AEffect& record = effect->record;
  record.magic = kEffectMagic;
  record.dispatcher = dispatch;
  record.process = process;
  record.processReplacing = processReplacing;
  record.setParameter = setParameter;
  record.getParameter = getParameter;
  record.numPrograms = programCount;
  record.numParams = parameterCount;
  record.numInputs = 2;
  record.numOutputs = 2;
  record.flags = effFlagsCanReplacing;
  record.ioRatio = 1.0f;
  record.object = effect;
  record.uniqueID = fourCharCode('t', 'E', 'c', 'o');
  record.version = 1;
  if (const char* shape = std::getenv("WRENFOLD_TEST_EFFECT_SHAPE")) shapeRecord(record, shape);
  return &record;
}
