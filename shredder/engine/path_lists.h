// The lists of paths the selected-file batches work through, and the checks
// an item must pass before anything touches the file it names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace engine {

// The paths of a command tail: every path stands in double quotes, and
// consecutive paths are separated by exactly quote, blank, quote. Text before
// the first double quote is not a path. The list ends at a closing quote that
// is not followed by a blank and another quote; if the last path is never
// closed, the tail names nothing at all. Commas are part of a name, never a
// separator. Empty paths ("") are left out.
std::vector<std::wstring> CommandLineItems(std::wstring_view tail);

enum class ItemCheck {
  Accepted,
  NotAbsolute,  // resolved against whatever the working folder happens to be
  TooLong,      // longer than the system takes at all; cut, it could name another file
};

// Whether an item may be handed to the file operations at all.
ItemCheck CheckItem(std::wstring_view item);

}  // namespace engine
