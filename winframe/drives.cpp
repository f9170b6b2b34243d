#include "winframe/drives.h"

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

QuietDriveErrors::QuietDriveErrors() {
  SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_);
}

QuietDriveErrors::~QuietDriveErrors() {
  SetThreadErrorMode(previous_, nullptr);
}

}  // namespace wf
