#include "shredder/settings/settings_store.h"

#include <windows.h>

#include "shredder/settings/settings_keys.h"
#include "winframe/app.h"
#include "winframe/handles.h"

namespace settings {

int ReadInt(const char* key, int defaultValue) {
  const wf::App* app = wf::App::Current();
  return app ? app->GetProfileInt(kSection, key, defaultValue) : defaultValue;
}

void WriteInt(const char* key, int value) {
  if (const wf::App* app = wf::App::Current()) app->WriteProfileInt(kSection, key, value);
}

void WriteFirstStartSettings(const std::string& profilePath) {
  WIN32_FIND_DATAA found;
  wf::FindHandle find(FindFirstFileA(profilePath.c_str(), &found));
  if (find) return;
  for (const Setting& setting : kFirstStartSettings) {
    WritePrivateProfileStringA(kSection, setting.key, std::to_string(setting.value).c_str(), profilePath.c_str());
  }
}

}  // namespace settings
