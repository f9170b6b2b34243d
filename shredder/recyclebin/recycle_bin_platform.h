// What the recycle-bin erase asks of the platform: the drives, their type and
// file system, the recycle bin's item count and emptying, and the user's
// account. Tests stand in for it to present drives the test bed cannot (a
// FAT32 volume, a second fixed drive) and to record the emptying.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace recyclebin {

class Platform {
 public:
  virtual ~Platform() = default;
  // Drive roots ("C:\"), in the platform's order.
  virtual std::vector<std::string> DriveRoots();
  virtual bool IsFixedDrive(const std::string& root);
  // The volume's file-system name; nothing when it cannot be read.
  virtual std::optional<std::string> FileSystemName(const std::string& root);
  // S_OK and the number of items in that drive's recycle bin.
  virtual HRESULT QueryRecycleBin(const std::string& root, long long& items);
  virtual HRESULT EmptyRecycleBin(HWND owner);
  virtual std::string UserName();
  virtual std::string ComputerName();
  // The sub-authorities of the account's SID; nothing when the lookup fails.
  virtual std::optional<std::vector<std::uint32_t>> LookupSubAuthorities(const std::string& systemName,
                                                                         const std::string& accountName);
};

// The platform in use; tests install their own (null restores the real one).
Platform& CurrentPlatform();
Platform* SetPlatform(Platform* platform);

}  // namespace recyclebin
