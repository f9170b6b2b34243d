// OPTION.INI (settings_place.h says where), read and written through the
// application object's profile functions.
#pragma once

#include <cstdint>
#include <string>

#include "shredder/settings/option_checks.h"

namespace settings {

// Reads an integer of section "ProgramData"; `defaultValue` when absent.
int ReadInt(const wchar_t* key, int defaultValue);
// Writes an integer of section "ProgramData"; false when the file could not
// be written (GetLastError says why).
bool WriteInt(const wchar_t* key, int value);

// The speed of the last free-space erase of the volume `serial`, in bytes per
// second (kept to the kilobyte); 0 when none is kept. A speed under one
// kilobyte per second is not kept.
std::uint64_t ReadFreeSpaceSpeed(std::uint32_t serial);
void WriteFreeSpaceSpeed(std::uint32_t serial, std::uint64_t bytesPerSecond);

// The five options as they count (StoredOptions): what the dialog shows and
// what the erases, the timer and the exit go by.
OptionValues ReadOptions();

// Writes the five first-start settings, in their order, when no file exists
// at `profilePath`. An existing file is never written to.
void WriteFirstStartSettings(const std::wstring& profilePath);

}  // namespace settings
