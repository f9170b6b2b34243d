#include "shredder/settings/settings_store.h"

#include <windows.h>

#include <algorithm>
#include <climits>

#include "shredder/settings/settings_keys.h"
#include "winframe/app.h"
#include "winframe/handles.h"

namespace settings {

int ReadInt(const wchar_t* key, int defaultValue) {
  const wf::App* app = wf::App::Current();
  return app ? app->GetProfileInt(kSection, key, defaultValue) : defaultValue;
}

bool WriteInt(const wchar_t* key, int value) {
  const wf::App* app = wf::App::Current();
  return app && app->WriteProfileInt(kSection, key, value);
}

std::uint64_t ReadFreeSpaceSpeed(std::uint32_t serial) {
  const int kilobytes = ReadInt(FreeSpaceSpeedKey(serial).c_str(), 0);
  return kilobytes > 0 ? std::uint64_t{static_cast<unsigned>(kilobytes)} * 1000 : 0;
}

void WriteFreeSpaceSpeed(std::uint32_t serial, std::uint64_t bytesPerSecond) {
  const std::uint64_t kilobytes = std::min<std::uint64_t>(bytesPerSecond / 1000, INT_MAX);
  if (kilobytes > 0) WriteInt(FreeSpaceSpeedKey(serial).c_str(), static_cast<int>(kilobytes));
}

OptionValues ReadOptions() {
  const wf::App* app = wf::App::Current();
  return StoredOptions([app](const wchar_t* key) { return app ? app->GetProfileString(kSection, key) : L""; });
}

void WriteFirstStartSettings(const std::wstring& profilePath) {
  WIN32_FIND_DATAW found;
  wf::FindHandle find(FindFirstFileW(profilePath.c_str(), &found));
  if (find) return;
  for (const Setting& setting : kFirstStartSettings) {
    WritePrivateProfileStringW(kSection, setting.key, std::to_wstring(setting.value).c_str(), profilePath.c_str());
  }
}

}  // namespace settings
