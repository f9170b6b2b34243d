#include "shredder/app/main_app.h"

#include <commctrl.h>

#include <new>
#include <optional>

#include "common/paths.h"
#include "shredder/app/app_texts.h"
#include "shredder/app/main_dialog.h"
#include "shredder/captions.h"
#include "shredder/freespace/fill_folder.h"
#include "shredder/settings/settings_keys.h"
#include "shredder/settings/settings_place.h"
#include "shredder/settings/settings_store.h"
#include "winframe/module.h"
#include "winframe/prompt.h"

namespace {

// OPTION.INI in `folder` (which ends in a backslash), as the platform's
// profile functions take it.
std::optional<std::wstring> ProfilePathIn(const std::wstring& folder) {
  const std::optional<std::wstring> path = paths::Join(folder, settings::kProfileFileName);
  if (path && path->size() < MAX_PATH) return path;
  // The platform's profile functions take no longer path: the folder then
  // goes by the short name the file system keeps for it, where it keeps one.
  const std::optional<std::wstring> extended = paths::ToExtended(folder);
  if (!extended) return std::nullopt;
  std::wstring shortForm(paths::kMaxPath, L'\0');
  shortForm.resize(GetShortPathNameW(extended->c_str(), shortForm.data(), static_cast<DWORD>(shortForm.size())));
  constexpr std::wstring_view kPrefix = L"\\\\?\\";
  if (shortForm.compare(0, kPrefix.size(), kPrefix) == 0) shortForm.erase(0, kPrefix.size());
  if (shortForm.empty()) return std::nullopt;
  if (shortForm.back() != L'\\') shortForm.push_back(L'\\');
  const std::wstring shortPath = shortForm + settings::kProfileFileName;
  if (shortPath.size() >= MAX_PATH) return std::nullopt;
  return shortPath;
}

}  // namespace

bool CMainApp::InitInstance() {
  // Before anything else uses a drive, in every mode: what a free-space
  // erase that never ended left there goes.
  freespace::RemoveLeftoverFillFolders();

  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  settings::Places places;
  try {
    const std::optional<std::wstring> module = wf::ModulePath();
    if (module) places = settings::LocatePlaces(paths::FolderWithSeparator(*module));
    settings::PreparePerUserSettings(places);
    const std::optional<std::wstring> profile =
        module ? ProfilePathIn(places.settingsFolder) : std::optional<std::wstring>();
    if (!profile) {
      // A folder too deep for the settings file, even by its short name,
      // would make that a cut, and so a different, path.
      wf::Prompt(GetActiveWindow(), app::texts::kProgramPathTooLong, captions::kError, captions::kErrorFlags);
      return false;
    }
    SetProfilePath(*profile);
  } catch (const std::bad_alloc&) {
    wf::Prompt(GetActiveWindow(), app::texts::kOutOfMemory, captions::kError, captions::kErrorFlags);
    return false;
  }
  settings::WriteFirstStartSettings(ProfilePath());

  {
    CMainDialog mainDialog;
    mainDialog.SetWorkFolderParents(places.workFolderParents);
    mainDialog.DoModal(nullptr);
  }
  SetMainWindow(nullptr);
  SetProfilePath({});
  return false;
}
