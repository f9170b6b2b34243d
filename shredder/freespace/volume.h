// What the free-space erase asks of a drive: the volume it is on (a drive
// letter may stand for a folder of another volume), that volume's serial,
// file system, label, read-only state, space and cluster, and whether it
// says it is solid-state.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shredder/engine/storage_device.h"

namespace freespace {

// Fixed and removable drives: the only ones whose free space is erased.
bool IsLocalDrive(const std::wstring& root);
// Their roots ("C:\"), in the platform's order.
std::vector<std::wstring> LocalDriveRoots();

// The root of the volume that the drive `root` ("S:\") is on: the drive's own
// root, or, for a letter that stands for a folder (subst, even of a subst
// drive), the root of that folder's volume ("C:\", or "C:\mnt\data\" for a
// volume mounted there). Nothing when the drive is not there.
std::optional<std::wstring> VolumeRootOf(const std::wstring& root);

struct Space {
  std::uint64_t freeBytes = 0;        // all the volume has free
  std::uint64_t callerFreeBytes = 0;  // what this account may write of it (a quota, a reserve)
};
// The space of the volume at `volumeRoot`, asked of the volume itself (the
// platform's summary leaves out what the account may not write, under Wine).
std::optional<Space> ReadSpace(const std::wstring& volumeRoot);

struct Volume {
  DWORD serial = 0;
  std::wstring fileSystem;
  std::wstring label;
  bool readOnly = false;
  Space space;
  std::uint64_t totalBytes = 0;
  std::uint64_t clusterBytes = 0;
};
// The volume at `volumeRoot`; nothing when it cannot be read.
std::optional<Volume> ReadVolume(const std::wstring& volumeRoot);
// The volume's serial number; 0 when it cannot be read.
DWORD VolumeSerial(const std::wstring& volumeRoot);

// Whether the device reports no seek penalty or TRIM (asked as the
// recycle-bin erase asks it).
using engine::IsSolidState;

}  // namespace freespace
