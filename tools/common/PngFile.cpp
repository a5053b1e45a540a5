#include "tools/common/PngFile.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

#include "tools/common/CommandLine.h"
#include "tools/common/OutputFile.h"
#include "tools/common/ToolError.h"

namespace wrenfold {

namespace {

// Hands cairo's PNG bytes to a file descriptor, keeping the system's reason for a failure.
struct PngSink {
  int descriptor;
  int failure;
};

cairo_status_t writePngBytes(void* closure, const unsigned char* data, unsigned int length) {
  PngSink& sink = *static_cast<PngSink*>(closure);
  while (length > 0) {
    const ssize_t written = ::write(sink.descriptor, data, length);
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      sink.failure = written < 0 ? errno : ENOSPC;
      return CAIRO_STATUS_WRITE_ERROR;
    }
    data += written;
    length -= static_cast<unsigned int>(written);
  }
  return CAIRO_STATUS_SUCCESS;
}

bool endsWithPng(const std::string& path) {
  static const std::string extension = ".png";
  if (path.size() <= extension.size() || path[path.size() - extension.size() - 1] == '/') {
    return false;
  }
  return std::equal(extension.begin(), extension.end(), path.end() - extension.size(),
                    [](char wanted, char given) {
                      return wanted == std::tolower(static_cast<unsigned char>(given));
                    });
}

}  // namespace

void refuseNonPngName(const std::string& path) {
  refuseFileName("PNG", path);
  if (!endsWithPng(path)) {
    throw ToolError("cannot write '" + path + "': only PNG is written; give a name ending in .png");
  }
}

void writePngFile(const std::string& path, cairo_surface_t* surface) {
  OutputFile output(path);
  PngSink sink{output.descriptor(), 0};
  const cairo_status_t status = cairo_surface_write_to_png_stream(surface, writePngBytes, &sink);
  if (status != CAIRO_STATUS_SUCCESS) {
    throw output.writeError(sink.failure, cairo_status_to_string(status));
  }
  output.commit();
}

}  // namespace wrenfold
