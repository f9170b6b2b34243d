// What the recycle-bin erase asks of the platform: the volumes and their
// type, the recycle bin's item count and emptying, and the user's SID. Tests
// stand in for it to present volumes the test bed cannot (a second fixed
// drive, a volume mounted in a folder) and to record the emptying.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace recyclebin {

class Platform {
 public:
  virtual ~Platform() = default;
  // The roots of the volumes: every drive's ("C:\"), in the platform's
  // order, then every folder where a volume without a drive letter is
  // mounted ("C:\mnt\vol\"), one per volume.
  virtual std::vector<std::wstring> VolumeRoots();
  virtual bool IsFixedDrive(const std::wstring& root);
  // S_OK and the number of items in the recycle bin of the volume at `root`.
  virtual HRESULT QueryRecycleBin(const std::wstring& root, long long& items);
  // Empties the recycle bin of the volume at `root`, and only that one.
  virtual HRESULT EmptyRecycleBin(HWND owner, const std::wstring& root);
  // The SID of the account the process runs as, as text ("S-1-5-21-...",
  // "S-1-12-1-..."); nothing when it cannot be read, and `error` says why.
  virtual std::optional<std::wstring> UserSid(DWORD& error);
};

// The platform in use; tests install their own (null restores the real one).
Platform& CurrentPlatform();
Platform* SetPlatform(Platform* platform);

}  // namespace recyclebin
