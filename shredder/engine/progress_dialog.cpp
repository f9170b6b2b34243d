#include "shredder/engine/progress_dialog.h"

#include <commctrl.h>

#include "shredder/resources/resource.h"

CProgressDialog::CProgressDialog() : wf::Dialog(IDD_PROGRESS) {}

bool CProgressDialog::Open() {
  if (!Create(nullptr)) return false;
  ShowWindow(Hwnd(), SW_SHOW);
  return true;
}

void CProgressDialog::SetTotal(unsigned long long total) {
  if (!IsOpen()) return;
  const WORD maximum = static_cast<WORD>(total & 0xFFFF);
  SendDlgItemMessageA(Hwnd(), IDC_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, maximum));
  SendDlgItemMessageA(Hwnd(), IDC_PROGRESS, PBM_SETPOS, 0, 0);
}

void CProgressDialog::Step() {
  if (IsOpen()) SendDlgItemMessageA(Hwnd(), IDC_PROGRESS, PBM_DELTAPOS, 1, 0);
}

void CProgressDialog::Close() { Destroy(); }

bool CProgressDialog::OnCommand(int id, int, HWND) {
  // The hidden stop button has no action; OK keeps the standard handling.
  return id == IDC_STOP;
}
