#include "gui/platform/shared/UriList.h"

namespace wrenfold {

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string percentDecoded(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
        hexValue(text[i + 2]) >= 0) {
      out.push_back(static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2])));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

}  // namespace

std::vector<std::string> filePathsOfUriList(const std::string& uriList) {
  static const std::string scheme = "file://";
  std::vector<std::string> paths;
  std::size_t start = 0;
  while (start < uriList.size()) {
    std::size_t end = uriList.find('\n', start);
    if (end == std::string::npos) end = uriList.size();
    std::string line = uriList.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.compare(0, scheme.size(), scheme) != 0) continue;
    // file://host/path and file:///path both name /path on this machine.
    const std::size_t pathStart = line.find('/', scheme.size());
    if (pathStart != std::string::npos) paths.push_back(percentDecoded(line.substr(pathStart)));
  }
  return paths;
}

}  // namespace wrenfold
