// What the free-space erase asks of a drive: its kind, its volume (serial,
// file system, label, read-only), its space and cluster, and whether it
// says it is solid-state.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace freespace {

// Fixed and removable drives: the only ones whose free space is erased.
bool IsLocalDrive(const std::wstring& root);
// Their roots ("C:\"), in the platform's order.
std::vector<std::wstring> LocalDriveRoots();

struct Volume {
  DWORD serial = 0;
  std::wstring fileSystem;
  std::wstring label;
  bool readOnly = false;
  std::uint64_t freeBytes = 0;  // what this account may still write
  std::uint64_t totalBytes = 0;
  std::uint64_t clusterBytes = 0;
};
// Nothing when the volume cannot be read.
std::optional<Volume> ReadVolume(const std::wstring& root);
// The volume's serial number; 0 when it cannot be read.
DWORD VolumeSerial(const std::wstring& root);

// Whether the device reports no seek penalty or TRIM; false when it cannot
// be asked (Wine, older drivers).
bool IsSolidState(const std::wstring& root);

}  // namespace freespace
