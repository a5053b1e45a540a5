#pragma once

#include <cstdint>
#include <string>

namespace wrenfold {

// Returns libsndfile's major format named by the path's extension (case ignored), or 0 when the
// extension names none.
int majorFormatForPath(const std::string& path);

// Returns the format to write: the major format the output's extension names, else (no extension)
// the input's; the input's subtype when the major format stays the same (a WAV input with the
// extensible header counts as WAV) and allows it, else a 24-bit (or Vorbis) default. An input
// format of 0 means there is no input file. Throws ToolError listing the supported extensions
// when the output's extension names no format.
int chooseOutputFormat(const std::string& outputPath, int inputFormat, int sampleRate,
                       int channels);

// Returns the format that holds an output of up to `frames` frames: the given one when its header
// can describe that much, else for WAV its RF64 form (which the writer turns back into plain WAV
// when the file stays small enough); throws ToolError for a format that cannot hold it, naming
// its limit and the formats that can.
int fitFormatToLength(const std::string& outputPath, int format, int channels, int64_t frames);

}  // namespace wrenfold
