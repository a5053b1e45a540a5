// wrenfold-lv2ttl FOLDER BINARY: writes the LV2 bundle's description into FOLDER: manifest.ttl,
// wrenfold.ttl (the ports, from the parameter table) and presets.ttl (the factory programs), for
// the binary named BINARY. Run by the build, so the bundle never drifts from the table.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "lv2/Lv2Uris.h"
#include "lv2/PortUnits.h"
#include "params/ParameterTable.h"

namespace wrenfold {
namespace {

const char* const prefixes =
    "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
    "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix opts: <http://lv2plug.in/ns/ext/options#> .\n"
    "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
    "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
    "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
    "@prefix work: <http://lv2plug.in/ns/ext/worker#> .\n\n";

// A number as a Turtle decimal: the shortest that reads back as the same float, always with a
// point, so it reads as a float and not an integer.
std::string decimal(float value) {
  char text[32];
  for (int digits = 1; digits <= 9; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
    if (std::strtof(text, nullptr) == value) break;
  }
  std::string result = text;
  if (result.find_first_of(".e") == std::string::npos) result += ".0";
  return result;
}

std::string presetUri(int32_t program) {
  std::string slug;
  for (const char* c = factoryProgramNames[program]; *c != '\0'; ++c)
    slug += (*c == ' ') ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
  return std::string("<") + WRENFOLD_LV2_PRESET_PREFIX + slug + ">";
}

std::string audioPort(int32_t index, bool input, const char* symbol, const char* name) {
  return std::string("[\n    a lv2:AudioPort, ") + (input ? "lv2:InputPort" : "lv2:OutputPort") +
         " ;\n    lv2:index " + std::to_string(index) + " ;\n    lv2:symbol \"" + symbol +
         "\" ;\n    lv2:name \"" + name + "\"\n  ]";
}

std::string controlPort(int32_t index) {
  const PortUnit& unit = portUnit(index);
  const char* name = parameterTable[index].name;
  std::string port =
      "[\n    a lv2:ControlPort, lv2:InputPort ;\n    lv2:index " + std::to_string(index + 4) +
      " ;\n    lv2:symbol \"" + name + "\" ;\n    lv2:name \"" + name + "\" ;\n    lv2:default " +
      decimal(portValueOf(index, parameterTable[index].programValues[0])) + " ;\n    lv2:minimum " +
      decimal(unit.minimum) + " ;\n    lv2:maximum " + decimal(unit.maximum);
  if (unit.isToggle) port += " ;\n    lv2:portProperty lv2:toggled";
  if (unit.isInteger && !unit.isToggle) port += " ;\n    lv2:portProperty lv2:integer";
  if (unit.unitUri != nullptr) port += std::string(" ;\n    units:unit <") + unit.unitUri + ">";
  if (unit.isNoteLength) {
    port += " ;\n    lv2:portProperty lv2:enumeration ;\n    lv2:scalePoint";
    for (int32_t i = 0; i < noteLengthCount; ++i) {
      port += std::string(i == 0 ? "" : ",") + " [\n      rdfs:label \"" + noteLengthTable[i].name +
              "\" ;\n      rdf:value " + decimal(noteLengthTable[i].fraction) + "\n    ]";
    }
  }
  return port + "\n  ]";
}

bool writeFile(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr) return false;
  const bool written = std::fputs(text.c_str(), file) >= 0;
  return std::fclose(file) == 0 && written;
}

std::string manifest(const std::string& binary) {
  std::string text = prefixes;
  text += std::string("<") + WRENFOLD_LV2_URI + ">\n  a lv2:Plugin ;\n  lv2:binary <" + binary +
          "> ;\n  rdfs:seeAlso <wrenfold.ttl> .\n\n";
  text += std::string("<") + WRENFOLD_LV2_UI_URI + ">\n  a ui:X11UI ;\n  lv2:binary <" + binary +
          "> ;\n  rdfs:seeAlso <wrenfold.ttl> .\n";
  for (int32_t program = 0; program < programCountTotal; ++program) {
    text += "\n" + presetUri(program) +
            "\n  a pset:Preset ;\n  lv2:appliesTo <" WRENFOLD_LV2_URI "> ;\n  rdfs:label \"" +
            factoryProgramNames[program] + "\" ;\n  rdfs:seeAlso <presets.ttl> .\n";
  }
  return text;
}

std::string description() {
  std::string text = prefixes;
  text += "<" WRENFOLD_LV2_URI
          ">\n  a lv2:Plugin, lv2:DelayPlugin ;\n"
          "  doap:name \"Wrenfold\" ;\n"
          "  doap:license <https://spdx.org/licenses/MIT> ;\n"
          "  rdfs:comment \"A stereo, tempo-timed delay with filtered feedback and reverse "
          "playback.\" ;\n"
          "  lv2:optionalFeature lv2:hardRTCapable, work:schedule ;\n"
          "  lv2:extensionData work:interface ;\n"
          "  ui:ui <" WRENFOLD_LV2_UI_URI "> ;\n  lv2:port ";
  text += audioPort(0, true, "in_left", "In left") + ", " +
          audioPort(1, true, "in_right", "In right") + ", " +
          audioPort(2, false, "out_left", "Out left") + ", " +
          audioPort(3, false, "out_right", "Out right");
  for (int32_t index = 0; index < parameterCountTotal; ++index) text += ", " + controlPort(index);
  text += " .\n\n<" WRENFOLD_LV2_UI_URI
          ">\n  a ui:X11UI ;\n"
          // The editor is a child of the host's window: no parent, no editor.
          "  lv2:requiredFeature ui:idleInterface, ui:parent ;\n"
          "  lv2:optionalFeature ui:touch, ui:resize ;\n"
          "  opts:supportedOption ui:scaleFactor ;\n"
          "  lv2:extensionData ui:idleInterface .\n";
  return text;
}

std::string presets() {
  std::string text = prefixes;
  for (int32_t program = 0; program < programCountTotal; ++program) {
    text += presetUri(program) +
            "\n  a pset:Preset ;\n  lv2:appliesTo <" WRENFOLD_LV2_URI "> ;\n  rdfs:label \"" +
            factoryProgramNames[program] + "\" ;\n  lv2:port ";
    for (int32_t index = 0; index < parameterCountTotal; ++index) {
      text += std::string(index == 0 ? "" : ", ") + "[\n    lv2:symbol \"" +
              parameterTable[index].name + "\" ;\n    pset:value " +
              decimal(portValueOf(index, parameterTable[index].programValues[program])) + "\n  ]";
    }
    text += " .\n\n";
  }
  return text;
}

}  // namespace
}  // namespace wrenfold

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: wrenfold-lv2ttl FOLDER BINARY\n");
    return 1;
  }
  const std::string folder = std::string(argv[1]) + "/";
  if (!wrenfold::writeFile(folder + "manifest.ttl", wrenfold::manifest(argv[2])) ||
      !wrenfold::writeFile(folder + "wrenfold.ttl", wrenfold::description()) ||
      !wrenfold::writeFile(folder + "presets.ttl", wrenfold::presets())) {
    std::fprintf(stderr, "wrenfold-lv2ttl: cannot write the bundle's files in '%s'\n", argv[1]);
    return 1;
  }
  return 0;
}
