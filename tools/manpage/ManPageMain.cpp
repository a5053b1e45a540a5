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

// Returns a text a formatter writes for a value, with roff's hyphen escaped.
std::string text(Formatter format, float value) {
  char buffer[32];
  format(value, buffer);
  std::string escaped;
  for (const char* c = buffer; *c != '\0'; ++c)
    escaped += *c == '-' ? std::string("\\-") : std::string(1, *c);
  return escaped;
}

// The text a musician reads: the editor's display where there is one, else the host's.
Formatter shown(const ParameterRow& row) {
  return row.displayText != nullptr ? row.displayText : row.hostText;
}

void writeParameters(std::ostream& out) {
  for (const ParameterRow& row : parameterTable) {
    out << ".TP\n.B " << row.name << "\n"
        << row.purpose << ": from " << text(shown(row), 0.0f) << " to " << text(shown(row), 1.0f);
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
