// Stands in for the platform under the recycle-bin erase: volumes the test
// bed cannot present (a second fixed drive, a volume mounted in a folder),
// failing queries, and a record of the emptying.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "shredder/recyclebin/recycle_bin_platform.h"

struct Drive {
  std::wstring root;
  bool fixed = true;
  long long items = 0;
  HRESULT query = S_OK;
};

class FakePlatform : public recyclebin::Platform {
 public:
  std::vector<Drive> drives;
  std::optional<std::wstring> sid = L"S-1-5-21-1-2-3-1000";
  DWORD sidError = ERROR_ACCESS_DENIED;  // why there is none
  HRESULT emptyResult = S_OK;
  std::vector<std::wstring> emptied;  // the roots, in order
  std::vector<std::wstring> queried;

  std::vector<std::wstring> VolumeRoots() override {
    std::vector<std::wstring> roots;
    for (const Drive& drive : drives) roots.push_back(drive.root);
    return roots;
  }
  bool IsFixedDrive(const std::wstring& root) override { return Find(root).fixed; }
  HRESULT QueryRecycleBin(const std::wstring& root, long long& items) override {
    queried.push_back(root);
    items = Find(root).items;
    return Find(root).query;
  }
  HRESULT EmptyRecycleBin(HWND, const std::wstring& root) override {
    emptied.push_back(root);
    return emptyResult;
  }
  std::optional<std::wstring> UserSid(DWORD& error) override {
    if (!sid) error = sidError;
    return sid;
  }

 private:
  const Drive& Find(const std::wstring& root) {
    for (const Drive& drive : drives) {
      if (drive.root == root) return drive;
    }
    ADD_FAILURE() << "unknown drive " << ::testing::PrintToString(root);
    return drives.front();
  }
};
