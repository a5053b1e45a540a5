#pragma once

#include <string>

namespace wrenfold {

// Returns the file an output path writes to: the path itself, or the end of its chain of symbolic
// links, which may not exist yet; throws ToolError when the path names no possible file.
std::string resolveDestination(const std::string& path);

// Throws ToolError when the destination exists and is no regular file (a folder, a device, a
// FIFO or a socket), or is a file this user may not write or that has no write permission bits
// (read-only even for root).
void refuseUnusableDestination(const std::string& path, const std::string& destination);

// Throws ToolError when the output would overwrite the input: the same device and inode, or the
// same path once links and "x/.." are resolved, even when the output does not exist yet.
void refuseOverwritingInput(const std::string& inputPath, const std::string& outputPath);

// Returns the hidden temporary sibling of a destination for the given process: "." + name +
// ".part-" + pid, with the name shortened so the whole stays within the 255-byte name limit.
std::string temporaryPathFor(const std::string& destination, long processId);

// Removes the temporary siblings of a destination whose writing process no longer exists.
void removeStaleTemporaries(const std::string& destination);

}  // namespace wrenfold
