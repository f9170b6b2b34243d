// What binshredder.exe and shredmenu.dll agree on, and nothing else passes
// between them: where the program records its own path, and the switches it
// is started with.
#pragma once

#include <string>
#include <string_view>

namespace contract {

// Under HKEY_CURRENT_USER; written at every windowed start, read at every
// hand-off.
inline constexpr char kProgramKey[] = "Software\\Brinmoor\\M-Shredder";
inline constexpr char kProgramPathValue[] = "Path";

// Erase the recycle bin and end (the recycle bin's own right-click verb).
inline constexpr char kRecycleBinSwitch[] = "-C";
// Shred the list on the clipboard and end (the context menu).
inline constexpr char kHandOffSwitch[] = "-D";

// The path is stored as REG_SZ without its terminator: the byte count is its
// length. A reader takes the bytes the registry returns, up to a NUL that the
// platform may have added.
inline std::string PathFromStoredValue(std::string_view bytes) {
  return std::string(bytes.substr(0, bytes.find('\0')));
}

}  // namespace contract
