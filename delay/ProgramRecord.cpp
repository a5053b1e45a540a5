#include "delay/ProgramRecord.h"

#include <algorithm>
#include <iterator>

namespace wrenfold {

namespace {

struct FactoryProgram {
  const char* name;
  float values[parameterCountTotal];
};

// Values in parameter index order: mode, clear, bypass, lpf cutoff, lpf Q, hpf cutoff,
// tempo L/R, note length L/R, feedback L/R, wet L/R, dry L/R, pan L/R, attack, release.
const FactoryProgram factoryPrograms[programCountTotal] = {
    {"init",
     {0.0f, 0.0f, 0.0f, 0.9f, 0.0f, 0.1f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.75f, 0.75f, 1.0f,
      1.0f, 0.0f, 1.0f, 0.1f, 0.1f}},
    {"space",
     {0.0f, 0.0f, 0.0f, 0.6f, 0.4f, 0.1f, 0.5f, 0.5f, 0.6f, 0.65f, 0.4f, 0.4f, 0.8f, 0.2f, 1.0f,
      1.0f, 0.0f, 1.0f, 0.1f, 0.1f}},
    {"reverse FX",
     {1.0f, 0.0f, 0.0f, 0.6f, 0.45f, 0.23f, 0.3f, 0.3f, 0.3f, 0.4f, 0.33f, 0.33f, 0.95f, 0.95f,
      0.8f, 0.8f, 0.0f, 1.0f, 0.1f, 0.1f}},
    {"like analog",
     {0.0f, 0.0f, 0.0f, 0.7f, 0.05f, 0.15f, 0.6f, 0.6f, 0.6f, 0.6f, 0.5f, 0.5f, 0.8f, 0.8f, 1.0f,
      1.0f, 0.5f, 0.5f, 0.1f, 0.1f}},
    {"robot",
     {0.0f, 0.0f, 0.0f, 0.57f, 0.55f, 0.3f, 1.0f, 1.0f, 1.0f, 1.0f, 0.28f, 0.28f, 0.95f, 0.95f,
      1.0f, 1.0f, 0.25f, 0.75f, 0.1f, 0.1f}},
};

}  // namespace

ProgramRecord::ProgramRecord() {
  rename(factoryPrograms[0].name);
  std::copy(std::begin(factoryPrograms[0].values), std::end(factoryPrograms[0].values), values);
}

ProgramRecord ProgramRecord::factory(int32_t index) {
  ProgramRecord program;
  if (index > 0 && index < programCountTotal) {
    program.rename(factoryPrograms[index].name);
    std::copy(std::begin(factoryPrograms[index].values), std::end(factoryPrograms[index].values),
              program.values);
  }
  return program;
}

void ProgramRecord::rename(const char* text) {
  int32_t length = 0;
  if (text != nullptr)
    while (length < nameCapacity - 1 && text[length] != '\0') ++length;
  // Character by character, so that a reader on another thread never races with the rename; it
  // may see a mix of both names, always terminated.
  for (int32_t i = 0; i < nameCapacity; ++i) storeShared(name[i], i < length ? text[i] : '\0');
}

void ProgramRecord::copyName(char* text) const {
  for (int32_t i = 0; i < nameCapacity; ++i) {
    text[i] = i < nameCapacity - 1 ? loadShared(name[i]) : '\0';
    if (text[i] == '\0') return;
  }
}

}  // namespace wrenfold
