#pragma once

#include <cstdint>

#include "base/SharedField.h"
#include "params/ParameterTable.h"

namespace wrenfold {

// One program: a NUL-terminated name of at most 23 characters and the 20 normalised values.
// Threads: any thread may read or write a value or the name through the operations below while
// others do the same; the fields themselves are for a single thread (construction, tests).
struct ProgramRecord {
  // Bytes of the name field, terminator included.
  static constexpr int32_t nameCapacity = 24;

  // Builds the "init" program.
  ProgramRecord();

  // Returns factory program index (0..4); other indices give "init".
  static ProgramRecord factory(int32_t index);

  // Stores the first 23 characters of text and a terminator; nothing past the field is touched.
  // [any thread]
  void rename(const char* text);
  // Copies the name and its terminator into text, at most 24 bytes. [any thread]
  void copyName(char* text) const;
  // Returns the value of a parameter index 0..19. [any thread]
  float value(int32_t index) const { return loadShared(values[index]); }
  // Stores the value of a parameter index 0..19. [any thread]
  void setValue(int32_t index, float value) { storeShared(values[index], value); }

  char name[nameCapacity];
  float values[parameterCountTotal];

 private:
  // Builds a program of the given name with every value 0.
  explicit ProgramRecord(const char* programName);
};

}  // namespace wrenfold
