#include "shredder/freespace/volume.h"

#include "winframe/module.h"

namespace freespace {

QuietDriveErrors::QuietDriveErrors() {
  SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_);
}

QuietDriveErrors::~QuietDriveErrors() {
  SetThreadErrorMode(previous_, nullptr);
}

bool IsLocalDrive(const std::wstring& root) {
  const UINT type = GetDriveTypeW(root.c_str());
  return type == DRIVE_FIXED || type == DRIVE_REMOVABLE;
}

std::vector<std::wstring> LocalDriveRoots() {
  std::vector<std::wstring> roots;
  for (const std::wstring& root : wf::DriveRoots()) {
    if (IsLocalDrive(root)) roots.push_back(root);
  }
  return roots;
}

std::optional<Volume> ReadVolume(const std::wstring& root) {
  QuietDriveErrors quiet;
  Volume volume;
  wchar_t label[MAX_PATH + 1] = {};
  wchar_t fileSystem[MAX_PATH + 1] = {};
  DWORD flags = 0;
  if (!GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, &volume.serial, nullptr, &flags, fileSystem,
                             MAX_PATH + 1)) {
    return std::nullopt;
  }
  volume.label = label;
  volume.fileSystem = fileSystem;
  volume.readOnly = (flags & FILE_READ_ONLY_VOLUME) != 0;
  ULARGE_INTEGER available{}, total{};
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
  if (!GetDiskFreeSpaceExW(root.c_str(), &available, &total, nullptr) ||
      !GetDiskFreeSpaceW(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters)) {
    return std::nullopt;
  }
  volume.freeBytes = available.QuadPart;
  volume.totalBytes = total.QuadPart;
  volume.clusterBytes = std::uint64_t{sectorsPerCluster} * bytesPerSector;
  if (volume.clusterBytes == 0) return std::nullopt;
  return volume;
}

DWORD VolumeSerial(const std::wstring& root) {
  QuietDriveErrors quiet;
  DWORD serial = 0;
  return GetVolumeInformationW(root.c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0) ? serial : 0;
}

}  // namespace freespace
