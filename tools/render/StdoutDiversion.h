#pragma once

namespace wrenfold {

// Sends whatever is printed on standard output to standard error for as long as it lives. The
// sound file library prints some of its own failures on standard output, where they would mix
// with the lines that scripts parse (--stats, --list).
class StdoutDiversion {
 public:
  // Flushes standard output and points it at standard error.
  StdoutDiversion();
  // Flushes what was printed meanwhile to standard error and restores standard output.
  ~StdoutDiversion();

  StdoutDiversion(const StdoutDiversion&) = delete;
  StdoutDiversion& operator=(const StdoutDiversion&) = delete;

 private:
  int savedStdout_ = -1;
};

}  // namespace wrenfold
