#include "shredder/recyclebin/recycle_bin_platform.h"

#include <shellapi.h>

#include "winframe/handles.h"

namespace recyclebin {
namespace {

Platform g_real;
Platform* g_current = &g_real;

}  // namespace

std::vector<std::string> Platform::DriveRoots() {
  // The list is walked entry by entry; a cut list simply ends early.
  constexpr DWORD kLength = 1001;
  char list[kLength + 1] = {};
  GetLogicalDriveStringsA(kLength, list);
  std::vector<std::string> roots;
  for (std::size_t at = 0; at < kLength && list[at] != '\0';) {
    const std::string root(list + at);
    roots.push_back(root);
    at += root.size() + 1;
  }
  return roots;
}

bool Platform::IsFixedDrive(const std::string& root) { return GetDriveTypeA(root.c_str()) == DRIVE_FIXED; }

std::optional<std::string> Platform::FileSystemName(const std::string& root) {
  char name[10] = {};
  if (!GetVolumeInformationA(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, name, sizeof(name))) {
    return std::nullopt;
  }
  return std::string(name);
}

HRESULT Platform::QueryRecycleBin(const std::string& root, long long& items) {
  SHQUERYRBINFO info{};
  info.cbSize = sizeof(info);
  const HRESULT result = SHQueryRecycleBinA(root.c_str(), &info);
  items = info.i64NumItems;
  return result;
}

HRESULT Platform::EmptyRecycleBin(HWND owner) {
  return SHEmptyRecycleBinA(owner, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
}

std::string Platform::UserName() {
  char name[257] = {};
  DWORD size = sizeof(name);
  return GetUserNameA(name, &size) ? std::string(name) : std::string();
}

std::string Platform::ComputerName() {
  char name[257] = {};
  DWORD size = sizeof(name);
  return GetComputerNameA(name, &size) ? std::string(name) : std::string();
}

std::optional<std::vector<std::uint32_t>> Platform::LookupSubAuthorities(const std::string& systemName,
                                                                         const std::string& accountName) {
  DWORD sidSize = 1000;
  DWORD domainSize = 257;
  wf::GlobalMemory sid(GlobalAlloc(GMEM_FIXED, sidSize));
  wf::GlobalMemory domain(GlobalAlloc(GMEM_FIXED, domainSize));
  if (!sid || !domain) return std::nullopt;
  SID_NAME_USE use;
  // Only a SID the lookup filled in is read: after a failure the buffer holds
  // nothing meaningful.
  if (!LookupAccountNameA(systemName.c_str(), accountName.c_str(), sid.Get(), &sidSize,
                          static_cast<char*>(static_cast<void*>(domain.Get())), &domainSize, &use) ||
      !IsValidSid(sid.Get())) {
    return std::nullopt;
  }
  std::vector<std::uint32_t> values;
  const UCHAR count = *GetSidSubAuthorityCount(sid.Get());
  for (UCHAR i = 0; i < count; ++i) values.push_back(*GetSidSubAuthority(sid.Get(), i));
  return values;
}

Platform& CurrentPlatform() { return *g_current; }

Platform* SetPlatform(Platform* platform) {
  Platform* previous = g_current == &g_real ? nullptr : g_current;
  g_current = platform ? platform : &g_real;
  return previous;
}

}  // namespace recyclebin
