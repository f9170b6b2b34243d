#include "shredder/settings/settings_store.h"

#include <windows.h>

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
