// Rules of the recycle-bin erase that need no platform: the user's SID text,
// the account looked up for it, which folder holds a drive's deleted files,
// and which entries of that folder are left alone.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace recyclebin {

// "S-1-5" followed by "-" and each sub-authority in unsigned decimal. The
// revision and authority are not read: the prefix is always "S-1-5".
std::string SidText(const std::vector<std::uint32_t>& subAuthorities);

// The account name looked up for the user's SID: when the computer is named
// like the user (letter case and double-byte characters considered), the
// computer name, two backslashes and the user name; otherwise the user name.
std::string AccountName(std::string_view userName, std::string_view computerName);

// The recycle-bin folder of a drive (root with its trailing backslash), or
// nothing for a file system other than "FAT32" and "NTFS". The classic
// folders ("Recycled" on FAT32, "Recycler\<SID>" on NTFS) come first; when
// that folder does not exist and "$Recycle.Bin\<SID>" does, as on every
// current Windows, that one is used. `sidText` empty means the SID is
// unknown: the NTFS folder is then one that no search can open.
std::optional<std::string> RecycleBinFolder(std::string_view root, std::string_view fileSystem,
                                            std::string_view sidText,
                                            const std::function<bool(const std::string&)>& folderExists);

// Entries of a recycle-bin folder that are never wiped: the files named
// exactly "desktop.ini" and "INFO2" (letter case counts). Folders of those
// names are entered like any other.
bool IsSkippedFileName(std::string_view name);

// A sub-folder is entered only while its path stays within the platform's
// limit: the parent's length, the name's length and 3 at most 260.
bool SubfolderFits(std::size_t parentLength, std::size_t nameLength);

}  // namespace recyclebin
