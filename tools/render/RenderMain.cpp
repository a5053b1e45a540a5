#include <cstdio>
#include <string>
#include <vector>

#include "tools/render/OutputFile.h"
#include "tools/render/RenderCommand.h"
#include "tools/render/RenderError.h"

int main(int argc, char** argv) {
  wrenfold::OutputFile::removeOnSignals(&wrenfold::RenderCommand::interruptFlag());
  try {
    const wrenfold::RenderOptions options =
        wrenfold::parseRenderOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
      std::fputs(wrenfold::renderUsage().c_str(), stdout);
      return 0;
    }
    return wrenfold::RenderCommand(options, WRENFOLD_INSTALLED_MODULE_FOLDER).run();
  } catch (const wrenfold::RenderError& error) {
    std::fprintf(stderr, "wrenfold-render: %s\n", error.what());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "wrenfold-render: %s\n", error.what());
  }
  return 1;
}
