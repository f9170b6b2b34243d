// Registry routines shared by the start-up and the options dialog.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "winframe/handles.h"

namespace settings {

// True when the key can be opened for querying.
bool RegKeyExists(HWND owner, const wchar_t* subkey, HKEY root);

// Creates the key when missing and stores `data` as REG_SZ under `name`
// (nullptr: the default value). The byte count excludes the terminating NUL.
// Failures are reported in message boxes owned by `owner` (may be null).
void RegWriteString(HWND owner, const wchar_t* subkey, HKEY root, const std::wstring& data, const wchar_t* name);

// The names of a key's direct subkeys; nothing when the key does not open.
std::optional<std::vector<std::wstring>> RegSubkeyNames(HWND owner, const wchar_t* subkey, HKEY root);

// Closes `key`; a failure is told with the system's reason.
void CloseKey(HWND owner, wf::RegKey& key);
// Deletes a key that has no subkeys; a failure is told with the system's reason.
void DeleteKey(HWND owner, HKEY root, const wchar_t* subkey);

// Every key the program creates for writing is created here, with all
// access, so that a test can stand in for a hive that refuses writes.
using KeyCreator = LSTATUS (*)(HKEY root, const wchar_t* subkey, HKEY* key);
LSTATUS CreateKeyForWriting(HKEY root, const wchar_t* subkey, HKEY* key);
// Installs `creator` (nullptr restores the platform's); returns the previous one.
KeyCreator SetKeyCreator(KeyCreator creator);

}  // namespace settings
