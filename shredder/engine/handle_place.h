// Where an open handle is: at the path that was chosen, or somewhere a link
// led to. The Win32 half of volume_place.h: the handle's final path, the long
// and share forms of the chosen path, and the system's drives, subst drives
// and mount points with the reparse data of the folders on the way.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace engine {

// Which file on which volume, whatever its names.
struct FileId {
  DWORD volume = 0;
  std::uint64_t index = 0;
  bool operator==(const FileId& other) const { return volume == other.volume && index == other.index; }
  bool operator<(const FileId& other) const {
    return volume != other.volume ? volume < other.volume : index < other.index;
  }
};

inline FileId IdOf(const BY_HANDLE_FILE_INFORMATION& info) {
  return {info.dwVolumeSerialNumber, (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

// Whether the handle (of the file `id`) is at `extendedPath` and not
// somewhere a link led to: its final path is that path (letter case and
// short names aside), the share behind a mapped drive, or the same place on
// the same volume (volume_place.h).
bool HandleIsAt(HANDLE handle, const std::wstring& extendedPath, const FileId& id);

}  // namespace engine
