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

void WriteInt(const wchar_t* key, int value) {
  if (const wf::App* app = wf::App::Current()) app->WriteProfileInt(kSection, key, value);
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
