// Where a start keeps its settings file and its work folder: beside the
// program when the user may write there without elevation (a copy of one's
// own), in the user's own profile when not (an installed copy that every
// account runs, a CD, a share read-only to this user). One account's
// settings then never decide another's erase.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace settings {

// The folder of the program's own, under the user's application data
// folders and the temporary folder.
inline constexpr wchar_t kPerUserFolderName[] = L"MORVANE Shredder";

// How the process's token stands to elevation (TOKEN_ELEVATION_TYPE).
enum class TokenKind {
  Plain,     // no split token: a standard user, or an administrator without the prompt
  Elevated,  // the elevated half of an administrator; its linked token is the unelevated one
  Limited,   // the unelevated half; its linked token is the elevated one
};

// What the platform says of the program's folder.
struct ProgramFolderFacts {
  TokenKind token = TokenKind::Plain;
  // Whether a token may add files and subfolders to the folder, by the
  // folder's security; nothing when it could not be asked.
  std::optional<bool> ownTokenMayWrite;
  std::optional<bool> linkedTokenMayWrite;
  bool readOnlyVolume = false;
};

// Whether the user may write in the program's folder without elevation. It
// asks the token the user has without elevation, so that an elevated and an
// unelevated start of one administrator agree. A folder whose security
// cannot be read (FAT) counts as writable, as it is; an elevated start that
// cannot learn the unelevated answer takes the user's own place.
bool UserMayWriteWithoutElevation(const ProgramFolderFacts& facts);

// The user's folders, each with or without a trailing backslash; nothing
// when the platform does not know one.
struct UserFolders {
  std::optional<std::wstring> roamingAppData;  // settings, which follow the user
  std::optional<std::wstring> localAppData;    // the work folder, on this computer
  std::optional<std::wstring> temporary;       // the work folder when its place cannot take it
};

struct Places {
  bool perUser = false;
  std::wstring settingsFolder;  // ends in a backslash
  // Per user: the program folder's OPTION.INI, which a first start copies as
  // its defaults (an administrator may leave one there). Empty otherwise.
  std::wstring defaultsFile;
  // Where the work folder may be made, in the order they are tried; each
  // ends in a backslash.
  std::vector<std::wstring> workFolderParents;
};

// `programFolder` ends in a backslash. Without a roaming folder the settings
// stay beside the program, the only place left.
Places ChoosePlaces(bool userMayWriteBeside, const std::wstring& programFolder, const UserFolders& folders);

}  // namespace settings
