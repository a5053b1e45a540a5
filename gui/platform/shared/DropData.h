#pragma once

#include <string>
#include <vector>

namespace wrenfold {

// What a drag carries, as the drop logic asks for it; each window system wraps its own data
// object in one. [UI thread]
class DropData {
 public:
  virtual ~DropData() = default;
  // Answers whether the data can be had as text.
  virtual bool offersText() = 0;
  // Answers whether the data can be had as a list of file names.
  virtual bool offersFiles() = 0;
  // Stores the text's bytes; answers false when it cannot be had.
  virtual bool readText(std::string& bytes) = 0;
  // Stores the file names; answers false when they cannot be had.
  virtual bool readFiles(std::vector<std::string>& names) = 0;
};

}  // namespace wrenfold
