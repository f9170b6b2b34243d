// OPTION.INI next to the executable, read and written through the
// application object's profile functions.
#pragma once

#include <string>

namespace settings {

// Reads an integer of section "ProgramData"; `defaultValue` when absent.
int ReadInt(const wchar_t* key, int defaultValue);
// Writes an integer of section "ProgramData"; the result is not examined.
void WriteInt(const wchar_t* key, int value);

// Writes the five first-start settings, in their order, when no file exists
// at `profilePath`. An existing file is never written to.
void WriteFirstStartSettings(const std::wstring& profilePath);

}  // namespace settings
