#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/HostInterface.h"
#include "hostkit/ModuleLibrary.h"

namespace wrenfold {

// One effect driven through its record the way a host drives it; closes the effect when destroyed.
// Call order: configure, set programs and parameters, start, process any number of blocks, finish.
class EffectInstance {
 public:
  // Creates an effect of a module with the shared host's callback; throws std::runtime_error saying
  // why when the module could not be loaded or answered no usable record.
  static std::unique_ptr<EffectInstance> fromModule(hostkit::ModuleLibrary& module);
  // Takes over a record answered by the module's entry.
  explicit EffectInstance(AEffect* opened);
  // Suspends the effect if it runs and sends effClose.
  ~EffectInstance();

  EffectInstance(const EffectInstance&) = delete;
  EffectInstance& operator=(const EffectInstance&) = delete;

  // Returns the record, for opcodes this class does not wrap.
  AEffect* record() const { return effect; }
  // Returns the effect's name, or an empty text when it gives none.
  std::string effectName() const;
  // Returns the number of programs the record declares.
  int programCount() const;
  // Returns the number of parameters the record declares.
  int parameterCount() const;
  // Returns the number of input channels the record declares.
  int inputCount() const;
  // Returns the number of output channels the record declares.
  int outputCount() const;
  // Returns every program's name; visits each program and then returns to the current one.
  std::vector<std::string> programNames();
  // Returns the current program number.
  int currentProgram() const;
  // Makes a program current.
  void selectProgram(int program);
  // Returns a parameter's name.
  std::string parameterName(int index) const;
  // Returns a parameter's value text as the effect formats it.
  std::string parameterDisplay(int index) const;
  // Returns a parameter's normalised value.
  float parameterValue(int index) const;
  // Writes a parameter's normalised value.
  void setParameterValue(int index, float value);
  // Sends the sample rate and the largest block size.
  void configure(float sampleRate, int blockSize);
  // Switches processing on.
  void start();
  // Overwrites the outputs with one block; uses the accumulating entry on zeroed outputs when the
  // effect has no replacing entry. [after start]
  void process(float** inputs, float** outputs, int frames);
  // Switches processing off.
  void finish();

 private:
  AEffect* effect;
  bool running = false;
};

}  // namespace wrenfold
