#pragma once

#include <string>
#include <vector>

namespace wrenfold {

// Returns the local paths named by the file:// URIs of a text/uri-list (one URI a line, CR LF or
// LF, percent escapes decoded); comment lines and other schemes are left out.
std::vector<std::string> filePathsOfUriList(const std::string& uriList);

}  // namespace wrenfold
