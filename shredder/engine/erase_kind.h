// What an erase erases, as the erase that writes records it for the waiting
// windows of the others, and the text such a window shows.
#pragma once

#include <cstdint>
#include <string>

namespace engine {

// The values are the shared record's: another version of the program may
// have written one that this one does not know.
enum class EraseKind : std::uint32_t {
  Unknown = 0,
  RecycleBin = 1,
  Files = 2,
  FreeSpace = 3,
};

// The kind a shared record holds; Unknown for any value not listed above.
EraseKind KindOfRecord(std::uint32_t record);

// The waiting window's text while an erase of `writing` runs: that erase by
// its kind where it is known, and what happens when it ends.
std::wstring WaitingText(EraseKind writing);

}  // namespace engine
