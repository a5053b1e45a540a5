#include "tools/common/MessageText.h"

namespace wrenfold {

namespace {

constexpr std::size_t maxWordBytes = 160;
constexpr std::size_t keptWordBytes = 60;
constexpr std::size_t maxMessageBytes = 1000;
constexpr std::size_t keptMessageBytes = 480;
constexpr char elision[] = "...";

std::string elided(const std::string& text, std::size_t longest, std::size_t kept) {
  if (text.size() <= longest) {
    return text;
  }
  return text.substr(0, kept) + elision + text.substr(text.size() - kept);
}

}  // namespace

std::string shortenedMessage(const std::string& message) {
  std::string shortened;
  std::size_t start = 0;
  while (start <= message.size()) {
    const std::size_t space = message.find(' ', start);
    const std::size_t end = space == std::string::npos ? message.size() : space;
    shortened += elided(message.substr(start, end - start), maxWordBytes, keptWordBytes);
    if (space == std::string::npos) {
      break;
    }
    shortened += ' ';
    start = end + 1;
  }
  return elided(shortened, maxMessageBytes, keptMessageBytes);
}

}  // namespace wrenfold
