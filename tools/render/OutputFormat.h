#pragma once

#include <string>

namespace wrenfold {

// Returns libsndfile's major format named by the path's extension (case ignored), or 0 when the
// extension names none.
int majorFormatForPath(const std::string& path);

// Returns the format to write: the major format the output's extension names, else (no extension)
// the input's; the input's subtype when the major format stays the same (a WAV input with the
// extensible header counts as WAV) and allows it, else a 24-bit (or Vorbis) default. An input
// format of 0 means there is no input file. Throws RenderError listing the supported extensions
// when the output's extension names no format.
int chooseOutputFormat(const std::string& outputPath, int inputFormat, int sampleRate,
                       int channels);

}  // namespace wrenfold
