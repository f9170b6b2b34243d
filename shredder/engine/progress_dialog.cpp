#include "shredder/engine/progress_dialog.h"

#include <commctrl.h>

#include <algorithm>

#include "shredder/resources/resource.h"

namespace {

// Steps of the bar within one item, so that it can move inside a large file
// and still stand exactly at the end of each item.
constexpr unsigned long long kUnitsPerItem = 1000;

// Posted by Close: the window goes when the next message is served, unless a
// failure is being told beside it.
constexpr UINT kDismissMessage = WM_APP + 1;

}  // namespace

CProgressDialog::CProgressDialog() : CProgressDialog(IDD_PROGRESS) {}

CProgressDialog::CProgressDialog(int templateId) : wf::Dialog(templateId) {
  wf::AddPromptWatcher(this);
}

CProgressDialog::~CProgressDialog() {
  wf::RemovePromptWatcher(this);
  taskbar_.Clear();
}

bool CProgressDialog::Open(engine::StopSignal* stop) {
  Close();
  Dismiss();
  stop_ = stop;
  item_ = 0;
  const bool created = Create(nullptr, true);
  if (created) {
    ShowWindow(Item(IDC_STOP), stop_ ? SW_SHOW : SW_HIDE);
    // Shown without taking the focus: an Enter or Esc meant for another
    // window must not reach the stop button.
    ShowWindow(Hwnd(), SW_SHOWNOACTIVATE);
    RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    taskbar_.Attach(Hwnd());
    ShowOnTaskbar(wf::TaskbarLook::Normal);
  }
  if (observer_) observer_->Opened(created);
  return created;
}

void CProgressDialog::SetTotal(unsigned long long total) {
  if (!IsOpen()) return;
  item_ = 0;
  const unsigned long long maximum = (total & 0xFFFF) * kUnitsPerItem;
  SendDlgItemMessageW(Hwnd(), IDC_PROGRESS, PBM_SETRANGE32, 0, static_cast<LPARAM>(maximum));
  SetPosition(0);
  if (observer_) {
    PBRANGE range{};
    SendDlgItemMessageW(Hwnd(), IDC_PROGRESS, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    observer_->TotalSet(static_cast<unsigned>(range.iLow / kUnitsPerItem),
                        static_cast<unsigned>(range.iHigh / kUnitsPerItem), ItemsShown());
  }
}

void CProgressDialog::ShowWithinItem(double fraction) {
  if (!IsOpen()) return;
  const double within = std::clamp(fraction, 0.0, 1.0) * static_cast<double>(kUnitsPerItem);
  const auto units = item_ * kUnitsPerItem + static_cast<unsigned long long>(within);
  const auto shown = static_cast<unsigned long long>(SendDlgItemMessageW(Hwnd(), IDC_PROGRESS, PBM_GETPOS, 0, 0));
  if (units > shown) SetPosition(units);
}

void CProgressDialog::Step() {
  if (!IsOpen()) return;
  ++item_;
  SetPosition(item_ * kUnitsPerItem);
  if (observer_) observer_->Stepped(ItemsShown());
}

void CProgressDialog::SetDetail(const std::wstring& text) {
  if (IsOpen()) SetDlgItemTextW(Hwnd(), IDC_PROGRESS_DETAIL, text.c_str());
}

void CProgressDialog::Close() {
  if (!IsOpen()) return;
  closing_ = true;
  stop_ = nullptr;
  // Nothing to stop any more, and a box told now must not stand behind it.
  ShowWindow(Item(IDC_STOP), SW_HIDE);
  SetWindowPos(Hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  PostMessageW(Hwnd(), kDismissMessage, 0, 0);
  if (observer_) observer_->Closed();
}

void CProgressDialog::Dismiss() {
  closing_ = keptForBox_ = false;
  if (!Hwnd()) return;
  taskbar_.Clear();
  Destroy();
}

void CProgressDialog::BeforeBox(const wf::PromptRequest& request) {
  if (!Hwnd()) return;
  if (!wf::TellsFailure(request)) {
    // Its run's result, or a word during the run: the bar stays as it is,
    // and a closed window is gone before the box.
    if (closing_) Dismiss();
    return;
  }
  if (closing_) keptForBox_ = true;
  ShowOnTaskbar(wf::TaskbarLook::Error);
}

void CProgressDialog::AfterBox(const wf::PromptRequest& request) {
  if (!Hwnd() || !wf::TellsFailure(request)) return;
  if (closing_) {
    Dismiss();
  } else {
    ShowOnTaskbar(wf::TaskbarLook::Normal);  // the run goes on
  }
}

void CProgressDialog::SetPosition(unsigned long long units) {
  SendDlgItemMessageW(Hwnd(), IDC_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(units), 0);
  ShowOnTaskbar(wf::TaskbarLook::Normal);
}

void CProgressDialog::ShowOnTaskbar(wf::TaskbarLook look) {
  PBRANGE range{};
  SendDlgItemMessageW(Hwnd(), IDC_PROGRESS, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  const auto position = static_cast<ULONGLONG>(SendDlgItemMessageW(Hwnd(), IDC_PROGRESS, PBM_GETPOS, 0, 0));
  taskbar_.Show(look, position - static_cast<ULONGLONG>(range.iLow),
                static_cast<ULONGLONG>(range.iHigh) - static_cast<ULONGLONG>(range.iLow));
}

unsigned CProgressDialog::ItemsShown() const {
  return static_cast<unsigned>(SendDlgItemMessageW(Hwnd(), IDC_PROGRESS, PBM_GETPOS, 0, 0) / kUnitsPerItem);
}

// The focus stays where it was (see Open).
BOOL CProgressDialog::OnInitDialog() {
  return FALSE;
}

bool CProgressDialog::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
  if (taskbar_.OnMessage(message)) {
    result = 0;
    return true;
  }
  if (message != kDismissMessage) return false;
  if (closing_ && !keptForBox_) Dismiss();
  result = 0;
  return true;
}

bool CProgressDialog::OnCommand(int id, int code, HWND) {
  if (id == IDC_STOP && code == BN_CLICKED && stop_) {
    stop_->Request();
    EnableWindow(Item(IDC_STOP), FALSE);  // once is enough
    return true;
  }
  // Enter and Esc reach here as OK and Cancel: the window stays until the
  // run closes it.
  return id == IDOK || id == IDCANCEL || id == IDC_STOP;
}
