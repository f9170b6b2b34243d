// What a path names, for the decisions taken before anything is overwritten:
// a link leads to a file the user did not pick, and a file with more than one
// name stays in use under the others.
#pragma once

#include <string>

namespace engine {

// True when the entry itself is a reparse point (symbolic link, junction,
// mount point), whatever it leads to.
bool IsReparsePoint(const std::string& path);

// How many names (hard links) the file has; 0 when that cannot be read.
unsigned long HardLinkCount(const std::string& path);

}  // namespace engine
