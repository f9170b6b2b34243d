// Stands in for the platform under the recycle-bin erase: drives the test bed
// cannot present (a FAT32 volume, a second fixed drive), failing queries, and
// a record of the emptying.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "shredder/recyclebin/recycle_bin_platform.h"

struct Drive {
  std::wstring root;
  bool fixed = true;
  std::optional<std::wstring> fileSystem = L"NTFS";
  long long items = 0;
  HRESULT query = S_OK;
};

class FakePlatform : public recyclebin::Platform {
 public:
  std::vector<Drive> drives;
  std::optional<std::wstring> sid = L"S-1-5-21-1-2-3-1000";
  HRESULT emptyResult = S_OK;
  int emptied = 0;
  std::vector<std::wstring> queried;

  std::vector<std::wstring> DriveRoots() override {
    std::vector<std::wstring> roots;
    for (const Drive& drive : drives) roots.push_back(drive.root);
    return roots;
  }
  bool IsFixedDrive(const std::wstring& root) override { return Find(root).fixed; }
  std::optional<std::wstring> FileSystemName(const std::wstring& root) override { return Find(root).fileSystem; }
  HRESULT QueryRecycleBin(const std::wstring& root, long long& items) override {
    queried.push_back(root);
    items = Find(root).items;
    return Find(root).query;
  }
  HRESULT EmptyRecycleBin(HWND) override {
    ++emptied;
    return emptyResult;
  }
  std::optional<std::wstring> UserSid() override { return sid; }

 private:
  const Drive& Find(const std::wstring& root) {
    for (const Drive& drive : drives) {
      if (drive.root == root) return drive;
    }
    ADD_FAILURE() << "unknown drive " << ::testing::PrintToString(root);
    return drives.front();
  }
};
