// What the free-space erase asks of a drive: its kind, its volume (serial,
// file system, label, read-only), its space and cluster, and whether it
// says it is solid-state.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shredder/engine/storage_device.h"

namespace freespace {

// Turns the system's "no disk in the drive" box off for this thread while
// it lives: an empty card reader is simply not readable.
class QuietDriveErrors {
 public:
  QuietDriveErrors();
  ~QuietDriveErrors();
  QuietDriveErrors(const QuietDriveErrors&) = delete;
  QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

 private:
  DWORD previous_ = 0;
};

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

// Whether the device reports no seek penalty or TRIM (asked as the
// recycle-bin erase asks it).
using engine::IsSolidState;

}  // namespace freespace
