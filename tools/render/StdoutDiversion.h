#pragma once

namespace wrenfold {

// Discards whatever is printed on standard output for as long as it lives. The sound file library
// prints some failures of its own there ("Not a valid error number (-1)." on a full disk), where
// they would mix with the lines scripts parse (--stats, --list); the failure itself still reaches
// the user as the one-line error with the system's reason.
class StdoutDiversion {
 public:
  // Flushes standard output and points it at the null device.
  StdoutDiversion();
  // Flushes and drops what was printed meanwhile, and restores standard output.
  ~StdoutDiversion();

  StdoutDiversion(const StdoutDiversion&) = delete;
  StdoutDiversion& operator=(const StdoutDiversion&) = delete;

 private:
  int savedStdout = -1;
};

}  // namespace wrenfold
