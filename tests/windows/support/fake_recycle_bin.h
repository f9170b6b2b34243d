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
  std::string root;
  bool fixed = true;
  std::optional<std::string> fileSystem = "NTFS";
  long long items = 0;
  HRESULT query = S_OK;
};

class FakePlatform : public recyclebin::Platform {
 public:
  std::vector<Drive> drives;
  std::optional<std::vector<std::uint32_t>> sid = std::vector<std::uint32_t>{21, 1, 2, 3, 1000};
  HRESULT emptyResult = S_OK;
  int emptied = 0;
  std::vector<std::string> queried;

  std::vector<std::string> DriveRoots() override {
    std::vector<std::string> roots;
    for (const Drive& drive : drives) roots.push_back(drive.root);
    return roots;
  }
  bool IsFixedDrive(const std::string& root) override { return Find(root).fixed; }
  std::optional<std::string> FileSystemName(const std::string& root) override { return Find(root).fileSystem; }
  HRESULT QueryRecycleBin(const std::string& root, long long& items) override {
    queried.push_back(root);
    items = Find(root).items;
    return Find(root).query;
  }
  HRESULT EmptyRecycleBin(HWND) override {
    ++emptied;
    return emptyResult;
  }
  std::string UserName() override { return "tester"; }
  std::string ComputerName() override { return "HOST"; }
  std::optional<std::vector<std::uint32_t>> LookupSubAuthorities(const std::string&, const std::string&) override {
    return sid;
  }

 private:
  const Drive& Find(const std::string& root) {
    for (const Drive& drive : drives) {
      if (drive.root == root) return drive;
    }
    ADD_FAILURE() << "unknown drive " << root;
    return drives.front();
  }
};
