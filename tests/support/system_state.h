// Reading and resetting what the program leaves behind: registry values,
// the clipboard, the recycle bin.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

struct RegistryValue {
  DWORD type = 0;
  std::string bytes;  // exactly as stored, no terminator added
};

std::optional<RegistryValue> ReadRegistryValue(HKEY root, const std::string& subkey, const char* name);
bool RegistryKeyExists(HKEY root, const std::string& subkey);
// Deletes a key with all its subkeys; no error when it is missing.
void DeleteRegistryTree(HKEY root, const std::string& subkey);

// Puts text (CF_TEXT) on the clipboard, replacing what was there.
bool SetClipboardText(const std::string& text);
// The CF_TEXT content, or nothing when there is none.
std::optional<std::string> ClipboardText();
bool ClearClipboard();

// Moves a file or folder to the recycle bin (Wine's trash).
bool MoveToRecycleBin(const std::string& path);
// Items in the recycle bin of drive C:.
long long RecycleBinItems();
bool EmptyRecycleBin();
