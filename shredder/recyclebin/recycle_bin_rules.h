// Rules of the recycle-bin erase that need no platform: where a drive keeps
// this user's deleted files, and which entries are left alone.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace recyclebin {

// The folders of a volume (root with its trailing backslash) that may hold
// the deleted files of the user with this SID, as the platform lays them
// out: "$Recycle.Bin\<SID>", as every current Windows keeps them, and
// "Recycler\<SID>" and "Recycled", as earlier ones did on NTFS and FAT. The
// file system does not decide: every one of them (NTFS, FAT, exFAT, ReFS)
// keeps them in the same places.
std::vector<std::wstring> RecycleBinFolders(std::wstring_view root, std::wstring_view sidText);

// Entries of a recycle-bin folder that are never wiped: the files named
// exactly "desktop.ini" and "INFO2" (letter case counts). Folders of those
// names are entered like any other.
bool IsSkippedFileName(std::wstring_view name);

// A sub-folder is entered only while its path stays within the platform's
// limit: the parent's length, the name's length and 3 at most that limit.
bool SubfolderFits(std::size_t parentLength, std::size_t nameLength);

// The message of an erase that left files in the bin: how many could not be
// overwritten (`unwiped`), how many were but kept their names (`nameStayed`,
// held by another program), then what to do for each cause (`held` by a
// program, `noSpace` on the volume, the rest refused by the device).
std::wstring NotWipedMessage(int unwiped, int held, int noSpace, int nameStayed);

}  // namespace recyclebin
