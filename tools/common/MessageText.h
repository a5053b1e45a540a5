#pragma once

#include <string>

namespace wrenfold {

// Returns an error message fit for one line on a terminal: any word (a run without spaces, such
// as a path or an option) longer than 160 bytes keeps its first and last 60 bytes around "...",
// and a message still longer than 1000 bytes keeps its first and last 480. The ends are kept
// because they carry what the user needs: a path's start and its file name, and the reason.
std::string shortenedMessage(const std::string& message);

}  // namespace wrenfold
