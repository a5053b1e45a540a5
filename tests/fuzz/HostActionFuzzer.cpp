// libFuzzer target: reads its input as a sequence of host actions on two plug-in instances and
// traps on any broken promise a host can see. The instances are built once per process and put
// back into their factory state at the start of every input, so one input replays the same way
// on its own as in the middle of a run.
//
// Checked after every action: no sanitizer report; every parameter read lies within 0..1; every
// text answer is terminated inside the size its opcode promises and nothing past that size is
// written; the other instance's parameters did not change. Checked on every processed frame: once
// the input has been finite for longer than the longest delay plus one second, the output is
// finite. Checked at the end of every input: closing the editors leaves only the host's window.
//
// Left out because a host must not do it: changing the sample rate on one thread while another
// thread is inside a processing call.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "base/HostInterface.h"
#include "base/Version.h"
#include "delay/DelayEffect.h"
#include "delay/ProgramRecord.h"
#include "dsp/LoopFilter.h"
#include "gui/platform/headless/HeadlessControl.h"
#include "hostkit/LibraryCaches.h"
#include "plugin/PluginEntry.h"

namespace {

using namespace wrenfold;

constexpr int32_t instanceCount = 2;
constexpr int32_t largestBlock = 4096;
// Audio per input, over all blocks of both instances: keeps one input well under a millisecond.
constexpr int32_t framesPerInput = 4096;
constexpr int32_t actionsPerInput = 16;
constexpr float factorySampleRate = 44100.0f;
constexpr std::size_t guardBytes = 64;
constexpr unsigned char guardFill = 0xA5;
constexpr unsigned char textFill = 'Q';
constexpr std::size_t scratchBytes = 1024;
constexpr std::size_t longestHostText = 300;

// Whether to print every call made to the instances, restores included (WRENFOLD_FUZZ_TRACE set),
// for reading what a failing input does.
bool tracing = false;

// Prints one traced action.
void trace(const char* format, ...) {
  if (!tracing) return;
  va_list arguments;
  va_start(arguments, format);
  std::vfprintf(stderr, format, arguments);
  std::fputc('\n', stderr);
  va_end(arguments);
}

// Answers the version query so that instances get built; every other request answers 0.
intptr_t hostCallback(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

// Reports a broken promise and aborts, which libFuzzer records as a crash with its input.
[[noreturn]] void fail(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::fputs("wrenfold fuzz: ", stderr);
  std::vfprintf(stderr, format, arguments);
  std::fputc('\n', stderr);
  va_end(arguments);
  std::abort();
}

const int64_t interestingIntegers[] = {0,
                                       1,
                                       -1,
                                       2,
                                       3,
                                       4,
                                       5,
                                       19,
                                       20,
                                       21,
                                       24,
                                       0x7F,
                                       0x80,
                                       0xFF,
                                       0x100,
                                       1024,
                                       4096,
                                       44100,
                                       std::numeric_limits<int32_t>::min(),
                                       std::numeric_limits<int32_t>::max(),
                                       std::numeric_limits<int64_t>::min(),
                                       std::numeric_limits<int64_t>::max()};

const float interestingFloats[] = {0.0f,
                                   -0.0f,
                                   1.0f,
                                   -1.0f,
                                   0.5f,
                                   0.25f,
                                   0.999f,
                                   1.0001f,
                                   2.0f,
                                   1e30f,
                                   -1e30f,
                                   1e-30f,
                                   std::numeric_limits<float>::quiet_NaN(),
                                   -std::numeric_limits<float>::quiet_NaN(),
                                   std::numeric_limits<float>::infinity(),
                                   -std::numeric_limits<float>::infinity(),
                                   std::numeric_limits<float>::max(),
                                   -std::numeric_limits<float>::max(),
                                   std::numeric_limits<float>::min(),
                                   std::numeric_limits<float>::denorm_min(),
                                   -std::numeric_limits<float>::denorm_min(),
                                   1.0e-40f,
                                   8000.0f,
                                   44100.0f,
                                   96000.0f,
                                   192000.0f,
                                   1.0e6f,
                                   1.0e6f + 64.0f,
                                   1000.0f,
                                   1.0f / 3.0f};

// Returns a float that is either from the interesting table or any bit pattern.
float pickFloat(FuzzedDataProvider& data) {
  if (data.ConsumeBool()) return data.PickValueInArray(interestingFloats);
  const uint32_t bits = data.ConsumeIntegral<uint32_t>();
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// Returns an integer that is either from the interesting table or any value.
int64_t pickInteger(FuzzedDataProvider& data) {
  if (data.ConsumeBool()) return data.PickValueInArray(interestingIntegers);
  return data.ConsumeIntegral<int64_t>();
}

// Returns a 32-bit argument: an interesting one, cut to 32 bits, or any.
int32_t pickIndex(FuzzedDataProvider& data) {
  if (data.ConsumeBool()) return static_cast<int32_t>(data.ConsumeIntegralInRange<int32_t>(-2, 22));
  return static_cast<int32_t>(pickInteger(data));
}

// A text buffer of a promised size followed by guard bytes.
class TextBuffer {
 public:
  // Makes a buffer of `size` text bytes and fills it with a non-zero byte and the guards.
  explicit TextBuffer(std::size_t size) : size(size), bytes(size + guardBytes) {
    std::fill(bytes.begin(), bytes.begin() + size, textFill);
    std::fill(bytes.begin() + size, bytes.end(), guardFill);
  }

  // Returns the start of the text.
  char* text() { return reinterpret_cast<char*>(bytes.data()); }

  // Traps unless the guards are whole and a changed text ends inside the promised size.
  void check(int32_t opcode, int32_t index) const {
    for (std::size_t i = size; i < bytes.size(); ++i)
      if (bytes[i] != guardFill)
        fail("opcode %d index %d wrote byte %zu of a %zu-byte text", opcode, index, i, size);
    const bool changed = std::any_of(bytes.begin(), bytes.begin() + size,
                                     [](unsigned char c) { return c != textFill; });
    if (changed && std::find(bytes.begin(), bytes.begin() + size, 0) == bytes.begin() + size)
      fail("opcode %d index %d left a text without a terminator in %zu bytes", opcode, index, size);
  }

 private:
  std::size_t size;
  std::vector<unsigned char> bytes;
};

// Returns the bytes an opcode may write as text (terminator included), or 0 for no text answer.
std::size_t textSizeOf(int32_t opcode) {
  switch (opcode) {
    case effGetProgramName:
    case effGetProgramNameIndexed:
      return ProgramRecord::nameCapacity;
    case effGetParamLabel:
    case effGetParamName:
      return 12;  // "ClearBuffer" and its terminator
    case effGetParamDisplay:
      return 10;  // "right100%" and "1/16+1/32" with their terminators
    case effGetEffectName:
      return std::strlen(effectNameText) + 1;
    case effGetVendorString:
    case effGetProductString:
      return 17;  // "hollow reed tone"
    case effGetErrorText:
    case effShellGetNextPlugin:
      return 64;
    default:
      return 0;
  }
}

// Returns whether the opcode reads a zero-terminated text from ptr.
bool readsText(int32_t opcode) {
  return opcode == effSetProgramName || opcode == effString2Parameter || opcode == effCanDo;
}

// One instance as the host holds it.
struct Instance {
  AEffect* effect = nullptr;
  // Frames processed since the last non-finite input sample.
  int64_t finiteFrames = 0;
  // Whether an action reached the instance since it was last restored.
  bool touched = true;

  // Returns the effect object behind the record.
  DelayEffect* delay() const {
    return static_cast<DelayEffect*>(static_cast<EffectBase*>(effect->object));
  }

  // Calls the dispatcher.
  intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f) {
    const intptr_t answer = effect->dispatcher(effect, opcode, index, value, ptr, opt);
    trace("%p dispatch %d index %d value %lld ptr %s opt %g -> %lld", static_cast<void*>(effect),
          opcode, index, static_cast<long long>(value), ptr ? "set" : "null",
          static_cast<double>(opt), static_cast<long long>(answer));
    return answer;
  }
};

// The host's side of a run: two instances, the host's window and the audio buffers, shared by
// every input.
class Harness {
 public:
  // Builds the host's window and both instances once for the whole run.
  Harness() {
    hostWindow = headless::createHostWindow(Rect(100, 100, 900, 700));
    for (Instance& instance : instances) create(instance);
    baselineWindows = headless::liveWindowCount();
    const std::size_t blockBytes = sizeof(float) * largestBlock;
    for (float*& buffer : buffers) buffer = static_cast<float*>(std::malloc(blockBytes));
  }

  // Closes the instances and the host's window, so that the leak check at exit sees nothing.
  ~Harness() {
    for (Instance& instance : instances) instance.dispatch(effClose);
    headless::destroyHostWindow(hostWindow);
    for (float* buffer : buffers) std::free(buffer);
  }

  // Runs one input: restores the factory state, then replays the actions it encodes.
  void run(const uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    for (Instance& instance : instances)
      if (instance.touched) restore(instance);
    headless::reset();
    framesLeft = framesPerInput;
    closedThisInput = false;
    for (int32_t step = 0; step < actionsPerInput && data.remaining_bytes() > 0; ++step) {
      const int32_t target = data.ConsumeIntegralInRange<int32_t>(0, instanceCount - 1);
      float before[parameterCountTotal];
      Instance& other = instances[1 - target];
      readParameters(other, before);
      instances[target].touched = true;
      act(instances[target], data);
      checkParameters(instances[target]);
      float after[parameterCountTotal];
      readParameters(other, after);
      if (std::memcmp(before, after, sizeof before) != 0)
        fail("an action on one instance changed the other's parameters");
    }
    for (Instance& instance : instances) instance.dispatch(effEditClose);
    if (headless::liveWindowCount() != baselineWindows)
      fail("%zu windows live after closing the editors, %zu before", headless::liveWindowCount(),
           baselineWindows);
  }

 private:
  // What one step of an input does; close comes last, the others are picked by remainder.
  enum Action {
    rawDispatch,
    writeParameter,
    processAdding,
    processReplacing,
    setSampleRate,
    setProgram,
    renameProgram,
    mains,
    editor,
    close
  };

  // Builds a fresh instance in the slot.
  void create(Instance& instance) {
    instance.effect = createPluginInstance(hostCallback);
    if (instance.effect == nullptr) fail("the plug-in could not be built");
    instance.finiteFrames = 0;
  }

  // Puts an instance back into the state it had when built: editor closed, 44100 Hz, factory
  // programs, program 0 selected, silent delay lines and filter histories.
  void restore(Instance& instance) {
    DelayEffect* delay = instance.delay();
    instance.dispatch(effEditClose);
    instance.dispatch(effSetEditKnobMode, 0, 0);
    bool reload = instance.dispatch(effGetProgram) != 0;
    if (delay->processingSampleRate() != factorySampleRate) {
      instance.dispatch(effSetSampleRate, 0, 0, nullptr, factorySampleRate);
      reload = true;
    }
    instance.dispatch(effSetBlockSizeAndSampleRate, 0, 1024, nullptr, factorySampleRate);
    for (int32_t p = 0; p < programCountTotal; ++p) {
      const ProgramRecord factory = ProgramRecord::factory(p);
      const ProgramRecord* now = delay->program(p);
      if (std::strcmp(now->name, factory.name) == 0 &&
          std::memcmp(now->values, factory.values, sizeof factory.values) == 0)
        continue;
      instance.dispatch(effSetProgram, 0, p);
      instance.dispatch(effSetProgramName, 0, 0, const_cast<char*>(factory.name));
      for (int32_t i = 0; i < parameterCountTotal; ++i)
        instance.effect->setParameter(instance.effect, i, factory.values[i]);
      reload = true;
    }
    // No host call clears a filter's history, and a host never needs one to: this only keeps
    // a replayed input from depending on the inputs before it.
    for (int32_t channel = 0; channel < 2; ++channel)
      *const_cast<LoopFilter*>(delay->loopFilter(channel)) = LoopFilter();
    if (reload) {
      instance.dispatch(effSetProgram, 0, 0);
    } else {
      // Program 0 is still applied, so silencing the lines is enough and far cheaper than a
      // reload: a silent line reading forwards sounds the same from any position.
      instance.dispatch(effMainsChanged, 0, 0);
      const ProgramRecord factory = ProgramRecord::factory(0);
      for (int32_t i : {LpfCutoff, LpfQ, HpfCutoff})
        instance.effect->setParameter(instance.effect, i, factory.values[i]);
    }
    instance.finiteFrames = 0;
    instance.touched = false;
  }

  // Decodes one action and performs it on the instance.
  void act(Instance& instance, FuzzedDataProvider& data) {
    // Closing rebuilds a whole instance, skin bitmaps included, which costs more than a hundred
    // other actions: it is rare and happens at most once per input.
    const int32_t pick = data.ConsumeIntegralInRange<int32_t>(0, 255);
    const bool closing = pick == 255 && !closedThisInput;
    switch (closing ? close : static_cast<Action>(pick % close)) {
      case rawDispatch:
        dispatchAny(instance, data, pickOpcode(data));
        break;
      case writeParameter: {
        const int32_t index = pickIndex(data);
        const float value = pickFloat(data);
        trace("%p setParameter %d %g", static_cast<void*>(instance.effect), index,
              static_cast<double>(value));
        instance.effect->setParameter(instance.effect, index, value);
        break;
      }
      case processAdding:
        process(instance, data, false);
        break;
      case processReplacing:
        process(instance, data, true);
        break;
      case setSampleRate:
        instance.dispatch(effSetSampleRate, 0, 0, nullptr, pickFloat(data));
        break;
      case setProgram:
        instance.dispatch(effSetProgram, 0, pickInteger(data) % 7);
        break;
      case renameProgram:
        dispatchAny(instance, data, effSetProgramName);
        break;
      case mains:
        instance.dispatch(effMainsChanged, 0, data.ConsumeBool() ? 0 : pickInteger(data));
        break;
      case editor: {
        static const int32_t editorOpcodes[] = {effEditGetRect,     effEditOpen,    effEditClose,
                                                effEditIdle,        effEditKeyDown, effEditKeyUp,
                                                effSetEditKnobMode, effEditDraw,    effEditTop};
        dispatchAny(instance, data, data.PickValueInArray(editorOpcodes));
        break;
      }
      case close:
        closeAndRebuild(instance, data);
        break;
    }
  }

  // Returns an opcode: mostly one the interface defines, sometimes one outside it.
  int32_t pickOpcode(FuzzedDataProvider& data) {
    if (data.ConsumeIntegralInRange<int32_t>(0, 7) != 0)
      return data.ConsumeIntegralInRange<int32_t>(0, effBeginLoadProgram);
    return static_cast<int32_t>(pickInteger(data));
  }

  // Sends one opcode with fuzzed arguments; ptr (and value where it is an address) is null or
  // something the opcode may use. Closing goes through closeAndRebuild.
  void dispatchAny(Instance& instance, FuzzedDataProvider& data, int32_t opcode) {
    if (opcode == effClose) {
      closeAndRebuild(instance, data);
      return;
    }
    const int32_t index = pickIndex(data);
    intptr_t value = static_cast<intptr_t>(pickInteger(data));
    const float opt = pickFloat(data);
    const bool withPointer = data.ConsumeBool();

    if (const std::size_t size = textSizeOf(opcode)) {
      TextBuffer text(size);
      instance.dispatch(opcode, index, value, withPointer ? text.text() : nullptr, opt);
      text.check(opcode, index);
      return;
    }
    if (readsText(opcode)) {
      std::string given = data.ConsumeRandomLengthString(longestHostText);
      std::vector<char> exact(given.c_str(), given.c_str() + given.size() + 1);
      instance.dispatch(opcode, index, value, withPointer ? exact.data() : nullptr, opt);
      if (opcode == effSetProgramName) checkProgramName(instance);
      return;
    }
    switch (opcode) {
      case effEditOpen:
        instance.dispatch(opcode, index, value, withPointer ? hostWindow : nullptr, opt);
        return;
      case effEditGetRect: {
        ERect* rect = nullptr;
        const intptr_t answer =
            instance.dispatch(opcode, index, value, withPointer ? &rect : nullptr, opt);
        if (answer != 0 && withPointer &&
            (rect == nullptr || rect->bottom < rect->top || rect->right < rect->left))
          fail("effEditGetRect answered %ld with no usable rectangle", static_cast<long>(answer));
        return;
      }
      case effGetSpeakerArrangement: {
        VstSpeakerArrangement* input = nullptr;
        VstSpeakerArrangement* output = nullptr;
        instance.dispatch(opcode, index,
                          data.ConsumeBool() ? reinterpret_cast<intptr_t>(&input) : 0,
                          withPointer ? &output : nullptr, opt);
        return;
      }
      case effSetSpeakerArrangement: {
        VstSpeakerArrangement input{}, output{};
        input.numChannels = data.ConsumeIntegralInRange<int32_t>(0, 8);
        output.numChannels = data.ConsumeIntegralInRange<int32_t>(0, 8);
        instance.dispatch(opcode, index,
                          data.ConsumeBool() ? reinterpret_cast<intptr_t>(&input) : 0,
                          withPointer ? &output : nullptr, opt);
        return;
      }
      case effSetChunk:
        if (withPointer)
          value = static_cast<intptr_t>(static_cast<uint64_t>(value) % (scratchBytes + 1));
        break;
      default:
        break;
    }
    alignas(16) unsigned char scratch[scratchBytes] = {};
    instance.dispatch(opcode, index, value, withPointer ? scratch : nullptr, opt);
  }

  // Closes the instance as a host does and builds a new one in its place; once per input at most.
  void closeAndRebuild(Instance& instance, FuzzedDataProvider& data) {
    if (closedThisInput) return;
    closedThisInput = true;
    const int32_t index = pickIndex(data);
    const intptr_t answer = instance.dispatch(effClose, index, 0);
    if (answer != 1) fail("effClose answered %ld", static_cast<long>(answer));
    create(instance);
  }

  // Runs one block with hostile samples through process or processReplacing and checks the output.
  void process(Instance& instance, FuzzedDataProvider& data, bool replacing) {
    int32_t frames = data.ConsumeBool() ? data.ConsumeIntegralInRange<int32_t>(0, 64)
                                        : data.ConsumeIntegralInRange<int32_t>(0, largestBlock);
    frames = std::min(frames, framesLeft);
    framesLeft -= frames;
    const bool inPlace = replacing && data.ConsumeBool();
    // The used part ends where the allocation ends, so reading past the block is a report.
    const int32_t offset = largestBlock - frames;
    float* inputs[2] = {buffers[0] + offset, buffers[1] + offset};
    float* outputs[2] = {buffers[2] + offset, buffers[3] + offset};
    if (inPlace) std::copy(inputs, inputs + 2, outputs);
    fillSignal(data, inputs[0], frames);
    fillSignal(data, inputs[1], frames);
    std::vector<bool>& finiteInput = finiteFlags;
    finiteInput.assign(frames, true);
    for (int32_t i = 0; i < frames; ++i)
      finiteInput[i] = std::isfinite(inputs[0][i]) && std::isfinite(inputs[1][i]);
    if (!inPlace) {
      // Replacing must overwrite every frame; adding must keep what the host had there.
      const float previous = replacing ? std::numeric_limits<float>::quiet_NaN() : 0.25f;
      std::fill(outputs[0], outputs[0] + frames, previous);
      std::fill(outputs[1], outputs[1] + frames, previous);
    }
    if (replacing)
      instance.effect->processReplacing(instance.effect, inputs, outputs, frames);
    else
      instance.effect->process(instance.effect, inputs, outputs, frames);
    if (tracing) traceBlock(instance, inputs, outputs, frames, replacing);
    checkFinite(instance, outputs, frames);
  }

  // Prints a processed block's size and its largest input and output magnitudes.
  void traceBlock(Instance& instance, float** inputs, float** outputs, int32_t frames,
                  bool replacing) {
    float peaks[4] = {};
    for (int32_t i = 0; i < frames; ++i)
      for (int32_t c = 0; c < 2; ++c) {
        peaks[c] = std::max(peaks[c], std::fabs(inputs[c][i]));
        peaks[2 + c] = std::max(peaks[2 + c], std::fabs(outputs[c][i]));
      }
    trace("%p %s %d frames at %g Hz, delays %d/%d: input peaks %g %g, output peaks %g %g",
          static_cast<void*>(instance.effect), replacing ? "processReplacing" : "process", frames,
          static_cast<double>(instance.delay()->processingSampleRate()),
          instance.delay()->delayLength(0), instance.delay()->delayLength(1),
          static_cast<double>(peaks[0]), static_cast<double>(peaks[1]),
          static_cast<double>(peaks[2]), static_cast<double>(peaks[3]));
  }

  // Traps on a non-finite output frame once the input has been finite long enough.
  void checkFinite(Instance& instance, float** outputs, int32_t frames) {
    DelayEffect* delay = instance.delay();
    const int64_t settle = std::max(delay->delayLength(0), delay->delayLength(1)) +
                           static_cast<int64_t>(std::ceil(delay->processingSampleRate()));
    for (int32_t i = 0; i < frames; ++i) {
      instance.finiteFrames = finiteFlags[i] ? instance.finiteFrames + 1 : 0;
      if (instance.finiteFrames > settle &&
          !(std::isfinite(outputs[0][i]) && std::isfinite(outputs[1][i])))
        fail("output %g, %g at frame %d after %lld finite input frames (settling time %lld)",
             static_cast<double>(outputs[0][i]), static_cast<double>(outputs[1][i]), i,
             static_cast<long long>(instance.finiteFrames), static_cast<long long>(settle));
    }
  }

  // Fills a channel with one kind of hostile signal.
  void fillSignal(FuzzedDataProvider& data, float* samples, int32_t frames) {
    const int32_t kind = data.ConsumeIntegralInRange<int32_t>(0, 4);
    const float level = pickFloat(data);
    uint32_t seed = data.ConsumeIntegral<uint32_t>() | 1u;
    std::fill(samples, samples + frames, 0.0f);
    if (frames == 0) return;
    switch (kind) {
      case 0:  // silence
        break;
      case 1:  // a constant
        std::fill(samples, samples + frames, level);
        break;
      case 2:  // one impulse
        samples[seed % static_cast<uint32_t>(frames)] = level;
        break;
      default:  // noise of the given level, or samples drawn from the interesting table
        for (int32_t i = 0; i < frames; ++i) {
          seed ^= seed << 13;
          seed ^= seed >> 17;
          seed ^= seed << 5;
          samples[i] = kind == 3 ? level * (static_cast<float>(seed >> 8) / 8388608.0f - 1.0f)
                                 : interestingFloats[seed % std::size(interestingFloats)];
        }
        break;
    }
  }

  // Reads the 20 parameters of an instance.
  void readParameters(Instance& instance, float values[parameterCountTotal]) {
    for (int32_t i = 0; i < parameterCountTotal; ++i)
      values[i] = instance.effect->getParameter(instance.effect, i);
  }

  // Traps on a parameter read outside 0..1, NaN included.
  void checkParameters(Instance& instance) {
    for (int32_t i = -1; i <= parameterCountTotal; ++i) {
      const float value = instance.effect->getParameter(instance.effect, i);
      if (!(value >= 0.0f && value <= 1.0f))
        fail("parameter %d reads %g", i, static_cast<double>(value));
    }
  }

  // Traps unless the current program's name reads back terminated within its field.
  void checkProgramName(Instance& instance) {
    TextBuffer name(ProgramRecord::nameCapacity);
    instance.dispatch(effGetProgramName, 0, 0, name.text());
    name.check(effGetProgramName, 0);
  }

  Instance instances[instanceCount];
  platform::Window* hostWindow = nullptr;
  std::size_t baselineWindows = 0;
  float* buffers[4] = {};
  std::vector<bool> finiteFlags;
  int32_t framesLeft = 0;
  bool closedThisInput = false;
};

}  // namespace

// Frees cairo's and fontconfig's caches at the end of the run, after the harness has closed its
// instances, so that the leak checker sees only what the plug-in leaves behind.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::atexit(wrenfold::hostkit::releaseLibraryCaches);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static Harness harness;
  tracing = std::getenv("WRENFOLD_FUZZ_TRACE") != nullptr;
  harness.run(data, size);
  return 0;
}
