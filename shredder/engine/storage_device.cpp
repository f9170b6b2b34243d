#include "shredder/engine/storage_device.h"

#include <windows.h>
// after windows.h, which it needs
#include <winioctl.h>

#include "winframe/handles.h"

namespace engine {
namespace {

// The volume's device, opened for queries only: no rights are needed. A
// volume mounted in a folder has no letter: it is named by its GUID.
wf::UniqueFile OpenDevice(const std::wstring& root) {
  // The volume by its own name where it has one (a drive, or a volume
  // mounted in a folder); a drive by its letter where it has not.
  std::wstring device = root.size() >= 2 ? L"\\\\.\\" + root.substr(0, 2) : std::wstring();
  wchar_t volume[MAX_PATH + 1] = {};
  if (GetVolumeNameForVolumeMountPointW(root.c_str(), volume, MAX_PATH + 1) && volume[0] != L'\0') {
    device = volume;
    if (device.back() == L'\\') device.pop_back();  // the volume, not its root folder
  }
  if (device.empty()) return {};
  return wf::UniqueFile(
      CreateFileW(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
}

// Asks the device for one storage property; false when it cannot be asked.
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

std::optional<bool> SeekPenaltyOf(HANDLE device) {
  DEVICE_SEEK_PENALTY_DESCRIPTOR seek{};
  if (!QueryProperty(device, StorageDeviceSeekPenaltyProperty, seek)) return std::nullopt;
  return seek.IncursSeekPenalty != FALSE;
}

}  // namespace

std::optional<bool> SeekPenalty(const std::wstring& root) {
  const wf::UniqueFile device = OpenDevice(root);
  return device ? SeekPenaltyOf(device.Get()) : std::nullopt;
}

bool IsSolidState(const std::wstring& root) {
  const wf::UniqueFile device = OpenDevice(root);
  if (!device) return false;
  if (SeekPenaltyOf(device.Get()) == false) return true;
  DEVICE_TRIM_DESCRIPTOR trim{};
  return QueryProperty(device.Get(), StorageDeviceTrimProperty, trim) && trim.TrimEnabled;
}

}  // namespace engine
