#include "shredder/recyclebin/recycle_bin_platform.h"

#include <sddl.h>
#include <shellapi.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "common/paths.h"
#include "shredder/engine/storage_device.h"
#include "winframe/drives.h"
#include "winframe/handles.h"

namespace recyclebin {
namespace {

Platform g_real;
Platform* g_current = &g_real;

}  // namespace

std::vector<std::wstring> Platform::VolumeRoots() {
  std::vector<std::wstring> roots;
  for (const std::wstring& root : wf::DriveRoots()) {
    // A subst drive is a folder of another drive, whose bin is that drive's.
    if (!wf::SubstituteOf(root)) roots.push_back(root);
  }
  // A volume mounted in a folder and nowhere as a drive: its first folder.
  wchar_t volume[MAX_PATH + 1] = {};
  wf::VolumeFindHandle volumes(FindFirstVolumeW(volume, MAX_PATH + 1));
  if (!volumes) return roots;
  do {
    DWORD needed = 0;
    GetVolumePathNamesForVolumeNameW(volume, nullptr, 0, &needed);
    if (needed == 0) continue;
    std::vector<wchar_t> names(needed, L'\0');
    if (!GetVolumePathNamesForVolumeNameW(volume, names.data(), needed, &needed)) continue;
    std::vector<std::wstring> mounts;
    for (std::size_t at = 0; at < names.size() && names[at] != L'\0';) {
      mounts.emplace_back(names.data() + at);
      at += mounts.back().size() + 1;
    }
    const bool hasDrive = std::any_of(mounts.begin(), mounts.end(),
                                      [](const std::wstring& mount) { return mount.size() == 3 && mount[1] == L':'; });
    if (!hasDrive && !mounts.empty()) roots.push_back(mounts.front());
  } while (FindNextVolumeW(volumes.Get(), volume, MAX_PATH + 1));
  return roots;
}

bool Platform::IsFixedDrive(const std::wstring& root) {
  return GetDriveTypeW(root.c_str()) == DRIVE_FIXED;
}

HRESULT Platform::QueryRecycleBin(const std::wstring& root, long long& items) {
  SHQUERYRBINFO info{};
  info.cbSize = sizeof(info);
  const HRESULT result = SHQueryRecycleBinW(root.c_str(), &info);
  items = info.i64NumItems;
  return result;
}

HRESULT Platform::EmptyRecycleBin(HWND owner, const std::wstring& root) {
  return SHEmptyRecycleBinW(owner, root.c_str(), SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
}

std::optional<std::wstring> Platform::UserSid(DWORD& error) {
  // From the process's own token, whatever the account's authority, name or
  // computer: the SID the platform names the recycle-bin folders after.
  const auto failed = [&error] {
    error = GetLastError();
    return std::nullopt;
  };
  wf::UniqueHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put())) return failed();
  DWORD size = 0;
  GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
  if (size == 0) return failed();
  std::vector<unsigned char> buffer(size);
  if (!GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size)) return failed();
  const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
  wchar_t* text = nullptr;
  if (!ConvertSidToStringSidW(user->User.Sid, &text)) return failed();
  std::wstring sid(text);
  LocalFree(text);
  return sid;
}

unsigned Platform::Cores() {
  return std::thread::hardware_concurrency();
}

std::optional<bool> Platform::SeekPenalty(const std::wstring& path) {
  const std::wstring extended = paths::ToExtended(path).value_or(path);
  std::vector<wchar_t> root(extended.size() + 2, L'\0');
  if (!GetVolumePathNameW(extended.c_str(), root.data(), static_cast<DWORD>(root.size()))) return std::nullopt;
  return engine::SeekPenalty(paths::ShownForm(root.data()));
}

Platform& CurrentPlatform() {
  return *g_current;
}

Platform* SetPlatform(Platform* platform) {
  Platform* previous = g_current == &g_real ? nullptr : g_current;
  g_current = platform ? platform : &g_real;
  return previous;
}

}  // namespace recyclebin
