#include "shredder/engine/wait_dialog.h"

#include <commctrl.h>

#include "shredder/engine/engine_texts.h"
#include "shredder/resources/resource.h"

CWaitDialog::CWaitDialog() : wf::Dialog(IDD_WAITING) {}

CWaitDialog::~CWaitDialog() {
  Close();
}

bool CWaitDialog::Open() {
  Close();
  stopAsked_ = false;
  textShown_ = false;
  if (!Create(nullptr, true)) return false;
  SetWindowTextW(Hwnd(), engine::texts::kWaitingCaption);
  ShowWriting(engine::EraseKind::Unknown);
  RECT own{};
  GetWindowRect(Hwnd(), &own);
  const int height = own.bottom - own.top;
  SetWindowPos(Hwnd(), nullptr, own.left, own.top + height + height / 4, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendDlgItemMessageW(Hwnd(), IDC_PROGRESS, PBM_SETMARQUEE, TRUE, 0);
  // As the progress window: an Enter or Esc meant for another window must
  // not reach the stop button.
  ShowWindow(Hwnd(), SW_SHOWNOACTIVATE);
  taskbar_.Attach(Hwnd());
  taskbar_.Show(wf::TaskbarLook::Paused, 1, 1);
  return true;
}

void CWaitDialog::ShowWriting(engine::EraseKind writing) {
  if (!Hwnd() || (textShown_ && writing == shown_)) return;
  shown_ = writing;
  textShown_ = true;
  SetDlgItemTextW(Hwnd(), IDC_WAIT_TEXT, engine::WaitingText(writing).c_str());
}

void CWaitDialog::Close() {
  if (!Hwnd()) return;
  taskbar_.Clear();
  Destroy();
}

BOOL CWaitDialog::OnInitDialog() {
  return FALSE;  // the focus stays where it was
}

bool CWaitDialog::OnCommand(int id, int code, HWND) {
  if (id == IDC_STOP && code == BN_CLICKED) {
    stopAsked_ = true;
    EnableWindow(Item(IDC_STOP), FALSE);
    return true;
  }
  return id == IDOK || id == IDCANCEL || id == IDC_STOP;
}

bool CWaitDialog::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
  if (!taskbar_.OnMessage(message)) return false;
  result = 0;
  return true;
}
