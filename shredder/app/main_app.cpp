#include "shredder/app/main_app.h"

#include <commctrl.h>

#include <new>
#include <optional>

#include "common/paths.h"
#include "shredder/app/app_texts.h"
#include "shredder/app/main_dialog.h"
#include "shredder/captions.h"
#include "shredder/settings/settings_keys.h"
#include "shredder/settings/settings_store.h"
#include "winframe/module.h"
#include "winframe/prompt.h"

namespace {

std::optional<std::string> ProfilePathNextToExecutable() {
  const std::optional<std::string> module = wf::ModulePath();
  if (!module) return std::nullopt;
  return paths::Join(paths::FolderWithSeparator(*module), settings::kProfileFileName);
}

}  // namespace

bool CMainApp::InitInstance() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  try {
    const std::optional<std::string> profile = ProfilePathNextToExecutable();
    if (!profile) {
      // Every file of the program lives next to it; a folder too deep for
      // them would make each one a cut, and so a different, path.
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
    mainDialog.DoModal(nullptr);
  }
  SetMainWindow(nullptr);
  SetProfilePath({});
  return false;
}
