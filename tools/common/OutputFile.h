#pragma once

#include <csignal>
#include <string>

#include "tools/common/ToolError.h"

namespace wrenfold {

// A file written under a hidden temporary name beside its destination and renamed over it only in
// commit, so a failed or interrupted run never leaves a partial file behind. A symbolic link as
// the output path is followed: the file it points to is replaced, the link stays. One output file
// exists at a time in a process, so that a signal handler can find its temporary name.
class OutputFile {
 public:
  // Checks the destination, removes temporaries that dead runs left beside it and creates the
  // temporary file with the owner and permission bits of the file it replaces; throws ToolError.
  explicit OutputFile(const std::string& outputPath);
  // Closes and removes the temporary file unless commit succeeded.
  ~OutputFile();

  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Returns the descriptor of the open temporary file.
  int descriptor() const { return fileDescriptor; }
  // Returns the temporary name the data goes to until commit.
  const std::string& temporaryPath() const { return temporaryFilePath; }
  // Returns a ToolError for a failed write with the system's reason, or the fallback text when
  // the system gave none.
  ToolError writeError(int reason, const std::string& fallback) const;
  // Flushes the file to disk and renames it over its destination, with the signals held back
  // meanwhile; throws ToolError carrying the system's reason.
  void commit();

  // Checks now that the path could be written, as the constructor does, leaving nothing behind;
  // throws ToolError.
  static void check(const std::string& path);

  // Makes SIGHUP, SIGINT, SIGTERM and SIGPIPE remove the temporary file. With a flag, the first
  // signal only sets the flag to its number so the caller can stop cleanly and a second one ends
  // the process; without, every such signal ends it.
  static void removeOnSignals(volatile std::sig_atomic_t* flag);

 private:
  // Creates the temporary file and registers it for the signal handler.
  void createTemporary();
  // Gives the temporary file the owner and mode of the file it replaces.
  void copyOwnerAndMode();
  // Closes the temporary file; returns the system's error number, or 0.
  int closeTemporary();
  // Flushes, closes and renames the temporary file; returns the system's error number, or 0.
  int flushAndRename();

  std::string path;
  std::string destination;
  std::string temporaryFilePath;
  int fileDescriptor = -1;
  bool committed = false;
};

}  // namespace wrenfold
