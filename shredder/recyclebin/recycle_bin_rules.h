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

// What an erase left in the bin, by cause. The bin is emptied only when it
// left nothing: emptying would delete those files unwiped.
struct LeftInBin {
  int unwiped = 0;      // files that could not be overwritten
  int held = 0;         // of them: held by another program, or closed to this account
  int noSpace = 0;      // of them: a pass needed room that the volume did not have
  int nameStayed = 0;   // files overwritten whose names stayed (held by another program)
  int throughLink = 0;  // entries and folders not overwritten: a link led elsewhere
  bool Any() const { return unwiped > 0 || nameStayed > 0 || throughLink > 0; }
};

// The message of an erase that left files in the bin: how many could not be
// overwritten, how many were but kept their names, how many led elsewhere,
// then what to do for each cause there was (a program holds files, the
// volume is full, the device refused the rest, entries to look at).
std::wstring NotWipedMessage(const LeftInBin& left);

}  // namespace recyclebin
