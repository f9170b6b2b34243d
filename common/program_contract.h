// What binshredder.exe and shredmenu.dll agree on, and nothing else passes
// between them: where the program records its own path, the switches it is
// started with, and the clipboard format of the hand-off's UTF-16 list
// (handoff_list.h).
#pragma once

#include <string>
#include <string_view>

namespace contract {

// Under HKEY_CURRENT_USER; written at every windowed start, read at every
// hand-off.
inline constexpr wchar_t kProgramKey[] = L"Software\\Brinmoor\\M-Shredder";
inline constexpr wchar_t kProgramPathValue[] = L"Path";

// Erase the recycle bin and end (the recycle bin's own right-click verb).
inline constexpr wchar_t kRecycleBinSwitch[] = L"-C";
// Shred the list on the clipboard and end (the context menu).
inline constexpr wchar_t kHandOffSwitch[] = L"-D";

// Remove what free-space erases that never ended left on the volumes, quietly,
// and end: the command a free-space erase leaves in the account's RunOnce
// key while it runs, for the next logon after a power loss.
inline constexpr wchar_t kCleanUpSwitch[] = L"-L";

// Erase the free space of one drive and end (the menus, the context menu on a
// drive): the switch, one blank and the drive's root in double quotes, as
// FreeSpaceArguments spells it.
inline constexpr wchar_t kFreeSpaceSwitch[] = L"-F";
inline std::wstring FreeSpaceArguments(std::wstring_view driveRoot) {
  std::wstring arguments(kFreeSpaceSwitch);
  arguments.append(L" \"").append(driveRoot).append(L"\"");
  return arguments;
}

// The registered clipboard format of the hand-off list in UTF-16.
inline constexpr wchar_t kHandOffListFormat[] = L"MORVANE Shredder hand-off list (UTF-16)";

// The path is stored as REG_SZ in UTF-16 without its terminator: the byte
// count is its length. A reader takes what the registry returns, up to a
// NUL that the platform may have added. A value written by the earlier,
// ANSI version reads the same: the registry keeps REG_SZ in UTF-16.
inline std::wstring PathFromStoredValue(std::wstring_view characters) {
  return std::wstring(characters.substr(0, characters.find(L'\0')));
}

}  // namespace contract
