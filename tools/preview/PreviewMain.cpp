// wrenfold-preview MODULE [--seconds N]
// Shows a module's editor in a window of its own, like a host on X11 does: loads the module
// through its exported entry, opens the editor in a top-level window, idles it about every 40 ms,
// prints every call the module makes to the host, and on closing the window closes the editor
// and then the effect.
#include <poll.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "hostkit/EffectCalls.h"
#include "hostkit/Host.h"
#include "hostkit/ModuleLibrary.h"
#include "hostkit/x11/EditorWindow.h"
#include "params/ParameterFormat.h"
#include "tools/common/CommandLine.h"
#include "tools/common/MessageText.h"
#include "tools/common/ModuleLocator.h"
#include "tools/common/ToolError.h"

namespace wrenfold {
namespace {

constexpr int idleIntervalMilliseconds = 40;

// Handles the host connection's events; answers false once the window is to close.
bool handleEvents(xcb_connection_t* connection, EditorWindow& window) {
  bool keepOpen = true;
  while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
    keepOpen = window.handleEvent(event) && keepOpen;
    std::free(event);
  }
  return keepOpen && xcb_connection_has_error(connection) == 0;
}

// Idles the editor until the window closes or `seconds` (when positive) have passed.
void runIdleLoop(xcb_connection_t* connection, EditorWindow& window, double seconds) {
  pollfd events{xcb_get_file_descriptor(connection), POLLIN, 0};
  const long rounds =
      seconds > 0 ? static_cast<long>(seconds * 1000 / idleIntervalMilliseconds) : -1;
  for (long round = 0; rounds < 0 || round < rounds; ++round) {
    poll(&events, 1, idleIntervalMilliseconds);
    if (!handleEvents(connection, window)) return;
    window.idle();
  }
}

int run(const std::string& path, double seconds) {
  hostkit::ModuleLibrary library(path);
  AEffect* effect = library.createEffect(hostkit::Host::callback());
  if (effect == nullptr) {
    std::fprintf(stderr, "wrenfold-preview: %s\n", library.error().c_str());
    return 1;
  }
  hostkit::dispatch(effect, effOpen);
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection) != 0) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || display[0] == '\0') {
      std::fprintf(stderr, "wrenfold-preview: cannot open the display: DISPLAY is not set\n");
    } else {
      std::fprintf(stderr, "wrenfold-preview: cannot open the display '%s'\n", display);
    }
    xcb_disconnect(connection);
    hostkit::dispatch(effect, effClose);
    return 1;
  }
  int status = 0;
  {
    EditorWindow window(connection, effect, 0, 0);
    if (window.window() == 0) {
      std::fprintf(stderr, "wrenfold-preview: the effect has no editor\n");
      status = 1;
    } else {
      window.openEditor();
      runIdleLoop(connection, window, seconds);
      window.closeEditor();
    }
  }
  hostkit::dispatch(effect, effClose);
  xcb_disconnect(connection);
  return status;
}

}  // namespace
}  // namespace wrenfold

namespace {

constexpr char usage[] =
    "usage: wrenfold-preview [MODULE.so] [--seconds N]\n"
    "\n"
    "Loads MODULE.so as a host does, opens its editor in a window of its own on the X display and\n"
    "prints every call the module makes to the host; close the window to quit. Without MODULE.so\n"
    "the first wrenfold.so is loaded where wrenfold-render looks for it.\n"
    "\n"
    "options:\n"
    "  --seconds N   close by itself after N seconds (a positive decimal number, 86400 at most)\n"
    "  --help        print this text\n"
    "  --version     print the version\n";

struct PreviewOptions {
  std::string path;
  double seconds = 0;
  bool help = false;
  bool version = false;
};

// A day at most, so the number of idle rounds stays countable.
constexpr double maxSeconds = 86400;

double parseSeconds(const std::string& text) {
  double seconds = 0;
  if (!wrenfold::parseDecimal(text, seconds) || seconds <= 0 || seconds > maxSeconds) {
    throw wrenfold::ToolError("--seconds needs a positive decimal number up to 86400, not '" +
                              text + "'");
  }
  return seconds;
}

// Returns the options of a command line; throws ToolError naming what is wrong.
PreviewOptions parsePreviewOptions(int argc, char** argv) {
  PreviewOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--version") {
      options.version = true;
    } else if (argument == "--seconds") {
      if (i + 1 >= argc) throw wrenfold::ToolError("--seconds needs a value");
      options.seconds = parseSeconds(argv[++i]);
    } else if (argument.size() > 1 && argument[0] == '-') {
      throw wrenfold::ToolError("unknown option '" + argument + "' (see --help)");
    } else if (!options.path.empty()) {
      throw wrenfold::ToolError("only one module, not also '" + argument + "'");
    } else {
      options.path = argument;
    }
  }
  if (options.path.empty() && !options.help && !options.version) {
    options.path = wrenfold::findModule(WRENFOLD_INSTALLED_MODULE_FOLDER);
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  PreviewOptions options;
  try {
    options = parsePreviewOptions(argc, argv);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "wrenfold-preview: %s\n",
                 wrenfold::shortenedMessage(error.what()).c_str());
    return 1;
  }
  if (options.help) {
    std::fputs(usage, stdout);
    return 0;
  }
  if (options.version) {
    std::fputs(wrenfold::versionLine("wrenfold-preview").c_str(), stdout);
    return 0;
  }
  wrenfold::hostkit::Host::shared().echoCalls(true);
  return wrenfold::run(options.path, options.seconds);
}
