#pragma once

#include <cstdint>

#include "delay/ParameterMapping.h"

namespace wrenfold {

// Number of programs the effect carries.
constexpr int32_t programCountTotal = 5;

// One program: a NUL-terminated name of at most 23 characters and the 20 normalised values.
struct ProgramRecord {
  // Bytes of the name field, terminator included.
  static constexpr int32_t nameCapacity = 24;

  // Builds the "init" program.
  ProgramRecord();

  // Returns factory program index (0..4); other indices give "init".
  static ProgramRecord factory(int32_t index);

  // Stores the first 23 characters of text and a terminator; nothing past the field is touched.
  void rename(const char* text);

  char name[nameCapacity];
  float values[parameterCountTotal];
};

}  // namespace wrenfold
