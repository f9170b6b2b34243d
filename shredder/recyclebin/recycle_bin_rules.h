// Rules of the recycle-bin erase that need no platform: where a drive keeps
// this user's deleted files, and which entries are left alone.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace recyclebin {

// The folders of a drive (root with its trailing backslash) that may hold
// the deleted files of the user with this SID, as the platform lays them
// out: "Recycler\<SID>" (NTFS) or "Recycled" (FAT32), as earlier Windows
// kept them, and "$Recycle.Bin\<SID>" on both, as every current Windows
// does. Nothing for a file system other than "FAT32" and "NTFS".
std::optional<std::vector<std::wstring>> RecycleBinFolders(std::wstring_view root, std::wstring_view fileSystem,
                                                           std::wstring_view sidText);

// Entries of a recycle-bin folder that are never wiped: the files named
// exactly "desktop.ini" and "INFO2" (letter case counts). Folders of those
// names are entered like any other.
bool IsSkippedFileName(std::wstring_view name);

// A sub-folder is entered only while its path stays within the platform's
// limit: the parent's length, the name's length and 3 at most that limit.
bool SubfolderFits(std::size_t parentLength, std::size_t nameLength);

}  // namespace recyclebin
