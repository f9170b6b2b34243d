#include "winframe/drives.h"

#include "common/paths.h"

namespace wf {

std::vector<std::wstring> DriveRoots() {
  std::vector<wchar_t> list(GetLogicalDriveStringsW(0, nullptr) + 1, L'\0');
  const DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(list.size()), list.data());
  std::vector<std::wstring> roots;
  for (std::size_t at = 0; at < length && at < list.size() && list[at] != L'\0';) {
    roots.emplace_back(list.data() + at);
    at += roots.back().size() + 1;
  }
  return roots;
}

std::optional<std::wstring> SubstituteOf(const std::wstring& path) {
  wchar_t target[MAX_PATH + 1] = {};
  if (path.size() < 2 || !QueryDosDeviceW(path.substr(0, 2).c_str(), target, MAX_PATH + 1)) return std::nullopt;
  return paths::SubstitutedFolder(target);
}

QuietDriveErrors::QuietDriveErrors() {
  SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_);
}

QuietDriveErrors::~QuietDriveErrors() {
  SetThreadErrorMode(previous_, nullptr);
}

}  // namespace wf
