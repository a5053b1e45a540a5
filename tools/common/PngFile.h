#pragma once

#include <cairo.h>

#include <string>

namespace wrenfold {

// Throws ToolError unless the path is a usable name for a PNG file: not empty, not '-', and
// ending in .png (case ignored), so no other format's name ever holds PNG data.
void refuseNonPngName(const std::string& path);

// Writes the surface as a PNG file the way every output is written (temporary file renamed over
// the destination, links followed, folders, devices and FIFOs refused); throws ToolError with
// the system's reason on failure.
void writePngFile(const std::string& path, cairo_surface_t* surface);

}  // namespace wrenfold
