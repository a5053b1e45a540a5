#include <cstdio>
#include <string>
#include <vector>

#include "hostkit/LibraryCaches.h"
#include "tools/common/MessageText.h"
#include "tools/common/OutputFile.h"
#include "tools/render/RenderCommand.h"

namespace {

// Parses the command line and runs it; answers the exit status.
int render(int argc, char** argv) {
  try {
    const wrenfold::RenderOptions options =
        wrenfold::parseRenderOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
      std::fputs(wrenfold::renderUsage().c_str(), stdout);
      return 0;
    }
    if (options.version) {
      std::fputs(wrenfold::versionLine("wrenfold-render").c_str(), stdout);
      return 0;
    }
    return wrenfold::RenderCommand(options, WRENFOLD_INSTALLED_MODULE_FOLDER).run();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "wrenfold-render: %s\n", wrenfold::shortenedMessage(error.what()).c_str());
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  wrenfold::OutputFile::removeOnSignals(&wrenfold::RenderCommand::interruptFlag());
  const int status = render(argc, argv);
  wrenfold::hostkit::releaseLibraryCaches();
  return status;
}
