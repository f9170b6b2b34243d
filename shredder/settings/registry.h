// Registry routines shared by the start-up and the options dialog.
#pragma once

#include <windows.h>

#include <string>

namespace settings {

inline constexpr char kProgramKey[] = "SoftWare\\Brinmoor\\M-Shredder";
inline constexpr char kProgramPathValue[] = "Path";

// True when the key can be opened for querying.
bool RegKeyExists(HWND owner, const char* subkey, HKEY root);

// Creates the key when missing and stores `data` as REG_SZ under `name`
// (nullptr: the default value). The byte count excludes the terminating NUL.
// Failures are reported in message boxes owned by `owner` (may be null).
void RegWriteString(HWND owner, const char* subkey, HKEY root, const std::string& data, const char* name);

}  // namespace settings
