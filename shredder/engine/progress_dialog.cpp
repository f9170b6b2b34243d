#include "shredder/engine/progress_dialog.h"

#include <commctrl.h>

#include "shredder/resources/resource.h"

CProgressDialog::CProgressDialog() : wf::Dialog(IDD_PROGRESS) {}

bool CProgressDialog::Open() {
  Close();
  const bool created = Create(nullptr);
  if (created) {
    ShowWindow(Hwnd(), SW_SHOW);
    // The batch pumps no messages while it works: paint the window and its
    // text now, or they stay blank until the batch is over.
    RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  if (observer_) observer_->Opened(created);
  return created;
}

void CProgressDialog::SetTotal(unsigned long long total) {
  if (!IsOpen()) return;
  const WORD maximum = static_cast<WORD>(total & 0xFFFF);
  SendDlgItemMessageW(Hwnd(), IDC_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, maximum));
  SendDlgItemMessageW(Hwnd(), IDC_PROGRESS, PBM_SETPOS, 0, 0);
  if (observer_) {
    PBRANGE range{};
    SendDlgItemMessageW(Hwnd(), IDC_PROGRESS, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    observer_->TotalSet(static_cast<unsigned>(range.iLow), static_cast<unsigned>(range.iHigh), Position());
  }
}

void CProgressDialog::Step() {
  if (!IsOpen()) return;
  SendDlgItemMessageW(Hwnd(), IDC_PROGRESS, PBM_DELTAPOS, 1, 0);
  if (observer_) observer_->Stepped(Position());
}

void CProgressDialog::Close() {
  if (!IsOpen()) return;
  Destroy();
  if (observer_) observer_->Closed();
}

unsigned CProgressDialog::Position() const {
  return static_cast<unsigned>(SendDlgItemMessageW(Hwnd(), IDC_PROGRESS, PBM_GETPOS, 0, 0));
}

bool CProgressDialog::OnCommand(int id, int, HWND) {
  // The hidden stop button has no action; OK keeps the standard handling.
  return id == IDC_STOP;
}
