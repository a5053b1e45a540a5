#include "params/ParameterFormat.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "params/ParameterMapping.h"

namespace wrenfold {

namespace {

// Every text fits in 16 bytes for values in 0..1; the bound only matters for values outside it.
constexpr std::size_t textCapacity = 16;

// Returns the position after the digits starting at the given one.
std::size_t skipDigits(const std::string& text, std::size_t at) {
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
    ++at;
  }
  return at;
}

// Only plain decimal notation ([sign] digits [. digits] [e [sign] digits]): strtod alone would
// also take hexadecimal ("0x10"), "inf", "nan" and leading blanks, which nobody means here.
bool isDecimal(const std::string& text) {
  std::size_t at = text.empty() || (text[0] != '+' && text[0] != '-') ? 0 : 1;
  const std::size_t integerEnd = skipDigits(text, at);
  std::size_t digits = integerEnd - at;
  at = integerEnd;
  if (at < text.size() && text[at] == '.') {
    const std::size_t fractionEnd = skipDigits(text, at + 1);
    digits += fractionEnd - at - 1;
    at = fractionEnd;
  }
  if (digits == 0) {
    return false;
  }
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    at += at + 1 < text.size() && (text[at + 1] == '+' || text[at + 1] == '-') ? 2 : 1;
    const std::size_t exponentEnd = skipDigits(text, at);
    if (exponentEnd == at) {
      return false;
    }
    at = exponentEnd;
  }
  return at == text.size();
}

// Parses a positive whole number at text[position...], advancing position past it.
std::optional<long> wholeNumberAt(const std::string& text, std::size_t& position) {
  const std::size_t start = position;
  long value = 0;
  while (position < text.size() && text[position] >= '0' && text[position] <= '9' &&
         position - start < 6) {
    value = value * 10 + (text[position] - '0');
    ++position;
  }
  if (position == start || value == 0) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

void formatMode(float value, char* text) {
  std::strcpy(text, value >= 0.5f ? "reverse" : "normal");
}

void formatPlainNumber(float value, char* text) {
  std::snprintf(text, textCapacity, "%.1f", static_cast<double>(value));
}

void formatLpfCutoff(float value, char* text) {
  if (value > 0.999f) {
    std::strcpy(text, "off");
    return;
  }
  std::snprintf(text, textCapacity, "%dHz", truncateToInt(cutoffFromValue(value)));
}

void formatQ(float value, char* text) {
  std::snprintf(text, textCapacity, "%.1f", static_cast<double>(qFromValue(value)));
}

void formatHpfCutoff(float value, char* text) {
  if (value < 0.0001f) {
    std::strcpy(text, "off");
    return;
  }
  std::snprintf(text, textCapacity, "%dHz", truncateToInt(cutoffFromValue(value)));
}

void formatTempo(float value, char* text) {
  std::snprintf(text, textCapacity, "BPM%d", truncateToInt(tempoFromValue(value)));
}

void formatNoteLength(float value, char* text) {
  std::strcpy(text, noteLengthTable[noteIndexFromValue(value)].name);
}

// The percentages are computed in double precision: in single precision 0.2 would come out as
// -60% instead of -59%, and 0.95 as 90% instead of 89%.
void formatFeedback(float value, char* text) {
  std::snprintf(text, textCapacity, "%d%%", truncateToInt(static_cast<double>(value) * 100.0));
}

void formatLevel(float value, char* text) {
  const double level = 2.0 * static_cast<double>(value) - 1.0;
  std::snprintf(text, textCapacity, "%d%%", truncateToInt(level * 100.0));
}

void formatPan(float value, char* text) {
  const double x = value;
  if (x <= 0.495) {
    std::snprintf(text, textCapacity, "left%d%%", truncateToInt((1.0 - 2.0 * x) * 100.0));
  } else if (x < 0.505) {
    std::strcpy(text, "center");
  } else {
    std::snprintf(text, textCapacity, "right%d%%", truncateToInt((x - 0.5) * 200.0));
  }
}

void formatRampTime(float value, char* text) {
  if (value == 0.0f) {
    std::strcpy(text, "off");
    return;
  }
  const double x = value;
  std::snprintf(text, textCapacity, "%.2fms", x * x * 100.0);
}

bool parseDecimal(const std::string& text, double& value) {
  if (!isDecimal(text)) {
    return false;
  }
  errno = 0;
  value = std::strtod(text.c_str(), nullptr);
  // A value too small for a double (1e-320) is as good as zero; only an overflow is an error.
  const bool underflow = errno == ERANGE && std::fabs(value) <= DBL_MIN;
  return (errno == 0 || underflow) && std::isfinite(value);
}

std::optional<double> noteFractionFromText(const std::string& text) {
  double sum = 0.0;
  std::size_t position = 0;
  while (true) {
    const std::optional<long> numerator = wholeNumberAt(text, position);
    if (!numerator) {
      return std::nullopt;
    }
    double term = static_cast<double>(*numerator);
    if (position < text.size() && text[position] == '/') {
      ++position;
      const std::optional<long> denominator = wholeNumberAt(text, position);
      if (!denominator) {
        return std::nullopt;
      }
      term /= static_cast<double>(*denominator);
    }
    sum += term;
    if (position == text.size()) {
      return sum;
    }
    if (text[position] != '+') {
      return std::nullopt;
    }
    ++position;
  }
}

std::optional<double> tempoFromText(const std::string& text) {
  constexpr char prefix[] = "BPM";
  if (text.compare(0, sizeof prefix - 1, prefix) != 0) {
    return std::nullopt;
  }
  std::size_t position = sizeof prefix - 1;
  const std::optional<long> tempo = wholeNumberAt(text, position);
  if (!tempo || position != text.size()) {
    return std::nullopt;
  }
  return static_cast<double>(*tempo);
}

}  // namespace wrenfold
