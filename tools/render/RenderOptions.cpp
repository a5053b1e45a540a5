#include "tools/render/RenderOptions.h"

#include <cmath>
#include <cstdlib>

#include "tools/common/CommandLine.h"
#include "tools/common/ToolError.h"

namespace wrenfold {

namespace {

constexpr int maxBlockSize = 65536;
constexpr double maxTailSeconds = 3600.0;

int parseBlockSize(const std::string& text) {
  const bool digits = !text.empty() && text.size() <= 6 &&
                      text.find_first_not_of("0123456789") == std::string::npos;
  const long value = digits ? std::strtol(text.c_str(), nullptr, 10) : 0;
  if (value < 1 || value > maxBlockSize) {
    throw ToolError("--block needs a whole decimal number of frames from 1 to " +
                    std::to_string(maxBlockSize) + ", not '" + text + "'");
  }
  return static_cast<int>(value);
}

double parseTail(const std::string& text) {
  double value = 0.0;
  if (!parseDecimal(text, value) || value < 0.0 || value > maxTailSeconds) {
    throw ToolError("--tail needs a decimal number of seconds from 0 to 3600, not '" + text + "'");
  }
  return value;
}

}  // namespace

namespace {

void assignFiles(const std::vector<std::string>& positional, RenderOptions& options) {
  if (options.list && !positional.empty()) {
    throw ToolError("--list only prints the programs and parameters; it takes no files, not '" +
                    positional.front() + "'");
  }
  if (positional.size() > 2) {
    throw ToolError("too many files: give [INPUT] OUTPUT");
  }
  if (options.demo && positional.size() == 2) {
    throw ToolError("--demo renders the built-in phrase and takes no input, not '" + positional[0] +
                    "'");
  }
  if (positional.size() == 2) {
    refuseFileName("input", positional[0]);
  }
  if (!positional.empty()) {
    refuseFileName("output", positional.back());
  }
  if (positional.size() == 2) {
    options.inputPath = positional[0];
    options.outputPath = positional[1];
  } else if (positional.size() == 1) {
    options.outputPath = positional[0];
  } else if (!options.list) {
    throw ToolError("no output file given (see --help)");
  }
}

}  // namespace

RenderOptions parseRenderOptions(const std::vector<std::string>& arguments) {
  RenderOptions options;
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    std::string name = argument;
    std::string value;
    bool hasInlineValue = false;
    if (argument.rfind("--", 0) == 0) {
      const std::size_t equals = argument.find('=');
      if (equals != std::string::npos) {
        name = argument.substr(0, equals);
        value = argument.substr(equals + 1);
        hasInlineValue = true;
      }
    }
    const auto takeValue = [&]() -> std::string {
      if (hasInlineValue) {
        return value;
      }
      if (i + 1 >= arguments.size()) {
        throw ToolError(name + " needs a value");
      }
      return arguments[++i];
    };
    if (name == "--help" || name == "-h") {
      options.help = true;
    } else if (name == "--version") {
      options.version = true;
    } else if (name == "--plot") {
      options.plotPath = takeValue();
      refuseFileName("plot", options.plotPath);
    } else if (name == "--demo") {
      options.demo = true;
    } else if (name == "--list") {
      options.list = true;
    } else if (name == "--stats") {
      options.stats = true;
    } else if (name == "--timing") {
      options.timing = true;
    } else if (name == "--block") {
      options.blockSize = parseBlockSize(takeValue());
    } else if (name == "--tail") {
      options.tailSeconds = parseTail(takeValue());
    } else if (name == "--program") {
      options.program = requireText(name, takeValue());
    } else if (name == "--set") {
      options.settings.push_back(parseParameterSetting(takeValue()));
    } else if (name == "--module") {
      options.modulePath = requireText(name, takeValue());
    } else if (argument == "--") {
      positional.insert(positional.end(), arguments.begin() + static_cast<long>(i) + 1,
                        arguments.end());
      break;
    } else if (argument.size() > 1 && argument[0] == '-') {
      throw ToolError("unknown option '" + argument + "' (see --help)");
    } else {
      positional.push_back(argument);
    }
  }
  if (!options.help && !options.version) {
    assignFiles(positional, options);
  }
  return options;
}

std::string renderUsage() {
  return "usage: wrenfold-render [options] [INPUT] OUTPUT\n"
         "       wrenfold-render [options] --list\n"
         "\n"
         "Renders INPUT (WAV, FLAC, AIFF, OGG, ...) through the Wrenfold delay into OUTPUT, in\n"
         "the format OUTPUT's extension names (.wav, .flac, .aiff, .ogg, .caf, .au, .w64, .rf64\n"
         "and their variants), else INPUT's. Without INPUT a built-in demo phrase is rendered\n"
         "into OUTPUT, which must not exist yet unless --demo is given.\n"
         "A '{program}' in OUTPUT becomes the program's name as a lower-case slug\n"
         "('reverse FX' gives 'reverse-fx'). OUTPUT must be a regular file or a new name (a\n"
         "link is followed); it is never the input, a folder, a device or a FIFO, and '-' is\n"
         "not standard input or output.\n"
         "\n"
         "options:\n"
         "  --program N|NAME   select a factory program by number or name\n"
         "  --set NAME=VALUE   set a parameter to a text it shows, with its unit: TempoL=128bpm,\n"
         "                     NoteLenL=1/8, FeedBackL=50%, RevAttack=25ms; or to a normalised\n"
         "                     VALUE from 0 to 1 (repeatable)\n"
         "  --demo             render the demo phrase, replacing OUTPUT if it exists\n"
         "  --list             print the programs and parameters after the options, then stop\n"
         "  --block FRAMES     frames per processing call, 1 to 65536 (default 512)\n"
         "  --tail SECONDS     length rendered after the input, 0 to 3600 (default: until the\n"
         "                     echoes fall below -90 dBFS for one longest delay, at most 30 s)\n"
         "  --module PATH      the plug-in module (default: the first wrenfold.so found beside\n"
         "                     this program, one and two folders up, in the installed vst\n"
         "                     folder, in each VST_PATH and LXVST_PATH folder, ~/.vst, ~/.lxvst,\n"
         "                     /usr/local/lib/vst, /usr/lib/vst, /usr/local/lib/lxvst,\n"
         "                     /usr/lib/lxvst)\n"
         "  --plot FILE.png    also draw the output's waveform in dBFS, with the input's onsets\n"
         "                     and one delay time after each marked\n"
         "  --stats            print program, delay times, peak and RMS as one tab-separated line\n"
         "  --timing           print the time spent loading, reading, processing and writing\n"
         "  --help             print this text\n"
         "  --version          print the version\n"
         "\n"
         "Numbers are decimal. A number given to --set that is also a text the parameter shows\n"
         "(LpfQ=0.7, NoteLenL=0.25 for 1/4) reads as that text, with a note on stderr; the\n"
         "suffix norm makes it the normalised value (LpfQ=0.7norm).\n"
         "The wet and dry levels run from -100 % (0) through silence (0.5)\n"
         "to +100 % (1); 0 is full level with the phase inverted.\n";
}

}  // namespace wrenfold
