// Writes the plug-in's manual page, wrenfold(7): the hand-written page with its tables of
// parameters, note lengths and programs made here from the parameter table, so they cannot drift
// from what the module shows. The template marks where each goes with a comment line
// (.\" table: parameters). Run by the build: wrenfold-manpage TEMPLATE > wrenfold.7
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "params/ParameterTable.h"

namespace wrenfold {
namespace {

// What each parameter does, in the table's order.
constexpr const char* parameterPurpose[parameterCountTotal] = {
    "the mode: normal echoes, or each delay's stretch played backwards",
    "the clear button: raising it silences both delay lines at once",
    "passes the input through unchanged",
    "cut-off of the low-pass filter in the echoes' loop (off at the top)",
    "resonance (Q) of that low-pass filter",
    "cut-off of the high-pass filter in the echoes' loop (off at the bottom)",
    "tempo of the left delay, in whole beats per minute",
    "tempo of the right delay",
    "note length of the left delay: its echo comes that note after the sound",
    "note length of the right delay",
    "how much of each left echo comes back as the next one",
    "how much of each right echo comes back",
    "level of the left echoes; below 0 % with the phase inverted",
    "level of the right echoes",
    "level of the left input passed through (dry); below 0 % inverted",
    "level of the right input passed through",
    "where the left echoes sit between the speakers",
    "where the right echoes sit",
    "fade-in of each reversed stretch (reverse mode)",
    "fade-out of each reversed stretch (reverse mode)",
};

// Returns a text a formatter writes for a value, with roff's hyphen escaped.
std::string text(Formatter format, float value) {
  char buffer[32];
  format(value, buffer);
  std::string escaped;
  for (const char* c = buffer; *c != '\0'; ++c) escaped += *c == '-' ? std::string("\\-") : std::string(1, *c);
  return escaped;
}

// The text a musician reads: the editor's display where there is one, else the host's.
Formatter shown(const ParameterRow& row) { return row.displayText != nullptr ? row.displayText : row.hostText; }

void writeParameters(std::ostream& out) {
  for (const ParameterRow& row : parameterTable) {
    out << ".TP\n.B " << row.name << "\n" << parameterPurpose[row.index] << ": from "
        << text(shown(row), 0.0f) << " to " << text(shown(row), 1.0f);
    if (row.displayText != nullptr && row.displayText != row.hostText) {
      out << " in the editor (a host shows " << text(row.hostText, 0.0f) << " to "
          << text(row.hostText, 1.0f) << ")";
    }
    out << ".\n";
  }
}

void writeNoteLengths(std::ostream& out) {
  for (int i = 0; i < noteLengthCount; ++i) {
    out << (i == 0 ? "" : ", ") << noteLengthTable[i].name;
  }
  out << ".\n";
}

void writePrograms(std::ostream& out) {
  out << ".TS\nl";
  for (int p = 0; p < programCountTotal; ++p) out << " l";
  out << ".\nparameter";
  for (int p = 0; p < programCountTotal; ++p) out << "\t" << p << " " << factoryProgramNames[p];
  out << "\n_\n";
  for (const ParameterRow& row : parameterTable) {
    out << row.name;
    for (float value : row.programValues) out << "\t" << text(shown(row), value);
    out << "\n";
  }
  out << ".TE\n";
}

}  // namespace
}  // namespace wrenfold

int main(int argc, char** argv) {
  std::ifstream page(argc == 2 ? argv[1] : "");
  if (!page) {
    std::fputs("usage: wrenfold-manpage TEMPLATE > wrenfold.7\n", stderr);
    return 1;
  }
  for (std::string line; std::getline(page, line);) {
    if (line == ".\\\" table: parameters") {
      wrenfold::writeParameters(std::cout);
    } else if (line == ".\\\" table: note lengths") {
      wrenfold::writeNoteLengths(std::cout);
    } else if (line == ".\\\" table: programs") {
      wrenfold::writePrograms(std::cout);
    } else {
      std::cout << line << "\n";
    }
  }
  return std::cout.good() ? 0 : 1;
}
