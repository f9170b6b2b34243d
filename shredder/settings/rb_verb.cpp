#include "shredder/app/main_dialog.h"
#include "shredder/resources/resource.h"
#include "shredder/settings/registry.h"
#include "shredder/settings/rb_verb_keys.h"
#include "shredder/captions.h"
#include "shredder/settings/settings_texts.h"
#include "winframe/prompt.h"

bool CMainDialog::TestRBWrite() {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, settings::kProbeKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    // Without write access the verb cannot be toggled: the options go grey.
    disabledOptionPicture_.Reset(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_OPTION_DISABLED), IMAGE_BITMAP, 0, 0, 0));
    SendDlgItemMessageA(Hwnd(), IDC_OPTION, BM_SETIMAGE, IMAGE_BITMAP,
                        reinterpret_cast<LPARAM>(disabledOptionPicture_.Get()));
    EnableWindow(Item(IDC_OPTION), FALSE);
    EnableMenuItem(GetMenu(Hwnd()), ID_MENU_OPTION, MF_BYCOMMAND | MF_GRAYED);
    return false;
  }
  if (RegCloseKey(key) != ERROR_SUCCESS) {
    wf::Prompt(Hwnd(), settings::texts::kRegistryNotClosed, captions::kError, captions::kErrorFlags);
  }
  if (RegDeleteKeyA(HKEY_CLASSES_ROOT, settings::kProbeKey) != ERROR_SUCCESS) {
    wf::Prompt(Hwnd(), settings::texts::kRegistryNotDeleted, captions::kError, captions::kErrorFlags);
  }
  return true;
}
