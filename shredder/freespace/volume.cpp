#include "shredder/freespace/volume.h"

#include <winioctl.h>

#include "winframe/drives.h"
#include "winframe/handles.h"

namespace freespace {
namespace {

// Asks the device behind the drive for one storage property; false when it
// cannot be asked.
template <typename Descriptor>
bool QueryProperty(HANDLE device, STORAGE_PROPERTY_ID property, Descriptor& descriptor) {
  STORAGE_PROPERTY_QUERY query{};
  query.PropertyId = property;
  query.QueryType = PropertyStandardQuery;
  DWORD returned = 0;
  return DeviceIoControl(device, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof(query), &descriptor, sizeof(descriptor),
                         &returned, nullptr) &&
         returned >= sizeof(descriptor);
}

}  // namespace

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
  wf::QuietDriveErrors quiet;
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
  wf::QuietDriveErrors quiet;
  DWORD serial = 0;
  return GetVolumeInformationW(root.c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0) ? serial : 0;
}

bool IsSolidState(const std::wstring& root) {
  // The volume's device, opened for queries only: no rights are needed.
  const std::wstring device = L"\\\\.\\" + root.substr(0, 2);
  wf::UniqueFile handle(
      CreateFileW(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!handle) return false;
  DEVICE_SEEK_PENALTY_DESCRIPTOR seek{};
  if (QueryProperty(handle.Get(), StorageDeviceSeekPenaltyProperty, seek) && !seek.IncursSeekPenalty) return true;
  DEVICE_TRIM_DESCRIPTOR trim{};
  return QueryProperty(handle.Get(), StorageDeviceTrimProperty, trim) && trim.TrimEnabled;
}

}  // namespace freespace
