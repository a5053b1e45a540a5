#include "delay/ProgramRecord.h"

namespace wrenfold {

ProgramRecord::ProgramRecord() : ProgramRecord(factory(0)) {}

ProgramRecord ProgramRecord::factory(int32_t index) {
  if (index <= 0 || index >= programCountTotal) index = 0;
  ProgramRecord program(factoryProgramNames[index]);
  for (const ParameterRow& row : parameterTable)
    program.values[row.index] = row.programValues[index];
  return program;
}

ProgramRecord::ProgramRecord(const char* programName) : name{}, values{} { rename(programName); }

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
