#include "shredder/freespace/volume.h"

#include <winternl.h>

#include "winframe/drives.h"
#include "winframe/handles.h"

namespace freespace {
namespace {

// A subst drive of a subst drive is allowed; a loop is not followed forever.
constexpr int kMostSubstitutions = 8;

// FILE_FS_FULL_SIZE_INFORMATION, which MinGW's headers lack.
struct FullSizeInformation {
  LARGE_INTEGER totalUnits;
  LARGE_INTEGER callerAvailableUnits;
  LARGE_INTEGER actualAvailableUnits;
  ULONG sectorsPerUnit;
  ULONG bytesPerSector;
};
constexpr auto kFileFsFullSizeInformation = static_cast<FS_INFORMATION_CLASS>(7);

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

std::optional<std::wstring> VolumeRootOf(const std::wstring& root) {
  wf::QuietDriveErrors quiet;
  std::wstring path = root;
  for (int substitutions = 0; const std::optional<std::wstring> folder = wf::SubstituteOf(path); ++substitutions) {
    if (substitutions == kMostSubstitutions) return std::nullopt;
    path = *folder + (folder->back() == L'\\' ? L"" : L"\\") + path.substr(3);
  }
  // Without a substitution, the drive is a volume of its own (the platform
  // would name a subst drive's own root).
  if (path == root) return root;
  std::wstring volume(path.size() + MAX_PATH + 1, L'\0');
  if (!GetVolumePathNameW(path.c_str(), volume.data(), static_cast<DWORD>(volume.size()))) return std::nullopt;
  volume.resize(wcslen(volume.c_str()));
  return volume;
}

std::optional<Space> ReadSpace(const std::wstring& volumeRoot) {
  wf::QuietDriveErrors quiet;
  wf::UniqueFile folder(CreateFileW(volumeRoot.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  IO_STATUS_BLOCK status{};
  FullSizeInformation size{};
  if (!folder ||
      NtQueryVolumeInformationFile(folder.Get(), &status, &size, sizeof(size), kFileFsFullSizeInformation) != 0) {
    return std::nullopt;
  }
  const std::uint64_t unit = std::uint64_t{size.sectorsPerUnit} * size.bytesPerSector;
  Space space;
  space.freeBytes = static_cast<std::uint64_t>(size.actualAvailableUnits.QuadPart) * unit;
  space.callerFreeBytes = static_cast<std::uint64_t>(size.callerAvailableUnits.QuadPart) * unit;
  return space;
}

std::optional<Volume> ReadVolume(const std::wstring& volumeRoot) {
  wf::QuietDriveErrors quiet;
  Volume volume;
  wchar_t label[MAX_PATH + 1] = {};
  wchar_t fileSystem[MAX_PATH + 1] = {};
  DWORD flags = 0;
  if (!GetVolumeInformationW(volumeRoot.c_str(), label, MAX_PATH + 1, &volume.serial, nullptr, &flags, fileSystem,
                             MAX_PATH + 1)) {
    return std::nullopt;
  }
  volume.label = label;
  volume.fileSystem = fileSystem;
  volume.readOnly = (flags & FILE_READ_ONLY_VOLUME) != 0;
  const std::optional<Space> space = ReadSpace(volumeRoot);
  ULARGE_INTEGER total{};
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
  if (!space || !GetDiskFreeSpaceExW(volumeRoot.c_str(), nullptr, &total, nullptr) ||
      !GetDiskFreeSpaceW(volumeRoot.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters)) {
    return std::nullopt;
  }
  volume.space = *space;
  volume.totalBytes = total.QuadPart;
  volume.clusterBytes = std::uint64_t{sectorsPerCluster} * bytesPerSector;
  if (volume.clusterBytes == 0) return std::nullopt;
  return volume;
}

DWORD VolumeSerial(const std::wstring& volumeRoot) {
  wf::QuietDriveErrors quiet;
  DWORD serial = 0;
  return GetVolumeInformationW(volumeRoot.c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0) ? serial : 0;
}

}  // namespace freespace
