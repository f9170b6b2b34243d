// The places of this start's settings file and work folder (settings_place_rules.h),
// from what the platform says of the program's folder and the user.
#pragma once

#include <windows.h>

#include <string>

#include "shredder/settings/settings_place_rules.h"

namespace settings {

// The tokens' answers for `folder` (which ends in a backslash) and whether
// its volume is read-only.
ProgramFolderFacts FolderFacts(const std::wstring& folder);

// Whether the settings file in `folder` can be written: an existing one
// opens for writing; a missing one could be created (nothing is left).
// Catches what the folder's security does not tell: a share or a medium
// that refuses writes, a file made read-only.
bool SettingsFileWritable(const std::wstring& folder);

// Roaming and local application data and the temporary folder of the user.
UserFolders CurrentUserFolders();

// The places of a start of the program in `programFolder`.
Places LocatePlaces(const std::wstring& programFolder);

// Per user: makes the user's settings folder and, while it holds no
// settings file, copies the program folder's OPTION.INI there as a plain
// file (the defaults an administrator left); nothing to copy leaves the
// first-start settings to be written as usual.
void PreparePerUserSettings(const Places& places);

}  // namespace settings
