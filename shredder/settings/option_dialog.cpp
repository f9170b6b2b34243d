#include "shredder/settings/option_dialog.h"

#include <vector>

#include "shredder/captions.h"
#include "shredder/resources/resource.h"
#include "shredder/settings/option_checks.h"
#include "shredder/settings/settings_keys.h"
#include "shredder/settings/settings_store.h"
#include "shredder/settings/settings_texts.h"
#include "winframe/app.h"
#include "winframe/prompt.h"
#include "winframe/system_error.h"

namespace {

void FillList(HWND combo, const std::vector<std::wstring>& entries, const std::wstring& text) {
  for (const std::wstring& entry : entries)
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  SetWindowTextW(combo, text.c_str());
}

}  // namespace

COptionDialog::COptionDialog() : wf::Dialog(IDD_OPTION) {}

BOOL COptionDialog::OnInitDialog() {
  wf::Dialog::OnInitDialog();
  SetWindowTextW(Hwnd(), settings::texts::kOptionCaption);
  CheckRBVerb();

  // What counts, not what the file says: a pass count of 0 shows as the 3
  // that the erases write.
  const settings::OptionControls shown = settings::ShowOptions(settings::ReadOptions());

  FillList(Item(IDC_PASSES), settings::PassCountEntries(), shown.passText);
  CheckDlgButton(Hwnd(), IDC_AUTODEL, shown.autoDel ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(Hwnd(), IDC_DELONQUIT, shown.delOnQuit ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(Hwnd(), IDC_DELONQUITMSG, shown.delOnQuitMsg ? BST_CHECKED : BST_UNCHECKED);
  FillList(Item(IDC_INTERVAL), settings::IntervalEntries(), shown.intervalText);
  EnableWhenChecked(IDC_AUTODEL, IDC_INTERVAL);
  EnableWhenChecked(IDC_DELONQUIT, IDC_DELONQUITMSG);
  return TRUE;  // the focus goes to the first control, OK
}

bool COptionDialog::OnCommand(int id, int code, HWND) {
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_RBVERB:
      ToggleRBVerb();
      return true;
    case IDC_AUTODEL:
      EnableWhenChecked(IDC_AUTODEL, IDC_INTERVAL);
      return true;
    case IDC_DELONQUIT:
      EnableWhenChecked(IDC_DELONQUIT, IDC_DELONQUITMSG);
      return true;
    default:
      return false;  // OK reaches OnOK; Esc and the close box cancel
  }
}

void COptionDialog::OnOK() {
  const settings::OptionControls controls{ItemText(IDC_PASSES), IsChecked(IDC_AUTODEL), ItemText(IDC_INTERVAL),
                                          IsChecked(IDC_DELONQUIT), IsChecked(IDC_DELONQUITMSG)};
  const settings::OptionsVerdict verdict = settings::CheckOptions(controls);
  if (verdict.refused != settings::OptionField::None) {
    wf::Prompt(Hwnd(), verdict.message, captions::kError, captions::kErrorFlags);
    const int box = verdict.refused == settings::OptionField::PassCount ? IDC_PASSES : IDC_INTERVAL;
    SetDlgItemTextW(Hwnd(), box, verdict.resetText.c_str());
    return;
  }
  for (const settings::Setting& write : settings::OptionWrites(verdict.values)) {
    if (!settings::WriteInt(write.key, write.value)) {
      // Stays open: the user may try again once the file can be written, or cancel.
      const DWORD error = GetLastError();
      const wf::App* app = wf::App::Current();
      const std::wstring file = app ? app->ProfilePath() : std::wstring(settings::kProfileFileName);
      wf::Prompt(Hwnd(), wf::WithReason(L"\"" + file + L"\"" + settings::texts::kSettingsNotSaved, error),
                 captions::kError, captions::kErrorFlags);
      return;
    }
  }
  EndDialog(IDOK);
}

std::wstring COptionDialog::ItemText(int id) const {
  HWND control = Item(id);
  const int length = control ? GetWindowTextLengthW(control) : 0;
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(control, text.data(), length + 1);
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return text;
}

bool COptionDialog::IsChecked(int id) const {
  return IsDlgButtonChecked(Hwnd(), id) == BST_CHECKED;
}

void COptionDialog::EnableWhenChecked(int box, int dependent) {
  // A disabled box keeps its text or state, and OK still saves it.
  EnableWindow(Item(dependent), IsChecked(box));
}
