#include "shredder/freespace/drive_dialog.h"

#include <iterator>

#include "shredder/freespace/free_space_texts.h"
#include "shredder/freespace/volume.h"
#include "shredder/resources/resource.h"

namespace {

// Where the label and the free space begin, in dialog units.
constexpr int kTabStops[] = {28, 110};

}  // namespace

CDriveDialog::CDriveDialog() : wf::Dialog(IDD_FREESPACE_DRIVES) {}

BOOL CDriveDialog::OnInitDialog() {
  const HWND list = Item(IDC_DRIVES);
  SendMessageW(list, LB_SETTABSTOPS, std::size(kTabStops), reinterpret_cast<LPARAM>(kTabStops));
  // A drive without a readable volume (a card reader with no card) has no
  // free space to erase and is left out.
  for (const std::wstring& root : freespace::LocalDriveRoots()) {
    const std::optional<freespace::Volume> volume = freespace::ReadVolume(root);
    if (!volume) continue;
    const bool removable = GetDriveTypeW(root.c_str()) == DRIVE_REMOVABLE;
    const std::wstring line =
        freespace::DriveLine(root, volume->label, removable, volume->space.callerFreeBytes, volume->totalBytes);
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    roots_.push_back(root);
  }
  SendMessageW(list, LB_SETCURSEL, 0, 0);
  EnableWindow(Item(IDOK), roots_.empty() ? FALSE : TRUE);
  SetFocus(list);
  return FALSE;  // the focus is on the list
}

bool CDriveDialog::OnCommand(int id, int code, HWND) {
  if (id == IDC_DRIVES && code == LBN_DBLCLK) {
    OnOK();
    return true;
  }
  return false;
}

void CDriveDialog::OnOK() {
  const LRESULT selected = SendDlgItemMessageW(Hwnd(), IDC_DRIVES, LB_GETCURSEL, 0, 0);
  if (selected < 0 || static_cast<std::size_t>(selected) >= roots_.size()) return;
  chosen_ = roots_[static_cast<std::size_t>(selected)];
  EndDialog(IDOK);
}
