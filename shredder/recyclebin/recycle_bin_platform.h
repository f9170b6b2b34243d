// What the recycle-bin erase asks of the platform: the drives, their type and
// file system, the recycle bin's item count and emptying, and the user's
// SID. Tests stand in for it to present drives the test bed cannot (a FAT32
// volume, a second fixed drive) and to record the emptying.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace recyclebin {

class Platform {
 public:
  virtual ~Platform() = default;
  // Drive roots ("C:\"), in the platform's order.
  virtual std::vector<std::wstring> DriveRoots();
  virtual bool IsFixedDrive(const std::wstring& root);
  // The volume's file-system name; nothing when it cannot be read.
  virtual std::optional<std::wstring> FileSystemName(const std::wstring& root);
  // S_OK and the number of items in that drive's recycle bin.
  virtual HRESULT QueryRecycleBin(const std::wstring& root, long long& items);
  virtual HRESULT EmptyRecycleBin(HWND owner);
  // The SID of the account the process runs as, as text ("S-1-5-21-...",
  // "S-1-12-1-..."); nothing when it cannot be read.
  virtual std::optional<std::wstring> UserSid();
};

// The platform in use; tests install their own (null restores the real one).
Platform& CurrentPlatform();
Platform* SetPlatform(Platform* platform);

}  // namespace recyclebin
