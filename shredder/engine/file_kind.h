// What a path names, for the decisions taken before anything is overwritten:
// a link leads to a file the user did not pick, and a file with more than one
// name stays in use under the others. WipeFile refuses both as well, and like
// every failure of a wipe it tells the user; a caller that wants to pass over
// such a file silently, or with a message of its own, asks here first.
#pragma once

#include <string>

namespace engine {

// True when the entry itself is a reparse point (symbolic link, junction,
// mount point), whatever it leads to.
bool IsReparsePoint(const std::string& path);

// How many names (hard links) a file has; 0 when that cannot be read. (For a
// folder the platform may count its sub-folders' back links instead.)
unsigned long HardLinkCount(const std::string& path);

}  // namespace engine
