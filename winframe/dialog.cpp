#include "winframe/dialog.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace wf {

int Dialog::lastQuitCode_ = 0;

namespace {

HINSTANCE ResourceModule() {
  return GetModuleHandleW(nullptr);
}

// The template resource as it is stored in the module; empty when missing.
std::basic_string_view<BYTE> TemplateBytes(int templateId) {
  HRSRC info = FindResourceW(ResourceModule(), MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
  HGLOBAL loaded = info ? LoadResource(ResourceModule(), info) : nullptr;
  const auto* data = static_cast<const BYTE*>(loaded ? LockResource(loaded) : nullptr);
  if (!data) return {};
  return {data, SizeofResource(ResourceModule(), info)};
}

// DLGTEMPLATEEX begins with dlgVer 1 and signature 0xFFFF, and keeps its
// style at offset 12 and its position at 18; a plain DLGTEMPLATE has them at
// 0 and 10.
struct TemplateLayout {
  std::size_t style;
  std::size_t position;
};

std::optional<TemplateLayout> LayoutOf(std::basic_string_view<BYTE> bytes) {
  if (bytes.size() < 22) return std::nullopt;
  WORD header[2];
  std::memcpy(header, bytes.data(), sizeof(header));
  if (header[0] == 1 && header[1] == 0xFFFF) return TemplateLayout{12, 18};
  return TemplateLayout{0, 10};
}

// A writable copy of the template with WS_VISIBLE cleared, so that the modal
// loop alone decides when the window appears.
std::vector<BYTE> HiddenTemplateCopy(int templateId) {
  const std::basic_string_view<BYTE> bytes = TemplateBytes(templateId);
  const std::optional<TemplateLayout> layout = LayoutOf(bytes);
  if (!layout) return {};
  std::vector<BYTE> copy(bytes.begin(), bytes.end());
  DWORD style;
  std::memcpy(&style, copy.data() + layout->style, sizeof(style));
  style &= ~static_cast<DWORD>(WS_VISIBLE);
  std::memcpy(copy.data() + layout->style, &style, sizeof(style));
  return copy;
}

// Dialogs whose template leaves the position at 0,0 are centred over their
// parent (or the screen) when they open, rather than left in the corner.
bool TemplateAtOrigin(int templateId) {
  const std::basic_string_view<BYTE> bytes = TemplateBytes(templateId);
  const std::optional<TemplateLayout> layout = LayoutOf(bytes);
  if (!layout) return false;
  short position[2];
  std::memcpy(position, bytes.data() + layout->position, sizeof(position));
  return position[0] == 0 && position[1] == 0;
}

void CentreOverParent(HWND dialog) {
  RECT area{};
  HWND parent = GetParent(dialog);
  if (parent && IsWindowVisible(parent)) {
    GetWindowRect(parent, &area);
  } else {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  }
  RECT own{};
  GetWindowRect(dialog, &own);
  const int width = own.right - own.left;
  const int height = own.bottom - own.top;
  int x = area.left + (area.right - area.left - width) / 2;
  int y = area.top + (area.bottom - area.top - height) / 2;
  // Over a window near the screen's edge (the main window sits by the
  // bottom-right corner) a larger dialog would stand partly off the screen.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (GetMonitorInfoW(MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST), &monitor)) {
    const RECT& work = monitor.rcWork;
    x = std::max<int>(work.left, std::min<int>(x, work.right - width));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
  }
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool QuitPending() {
  MSG message;
  return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

// Messages whose result a dialog procedure returns directly instead of
// through DWLP_MSGRESULT.
bool ReturnsDirectly(UINT message) {
  return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) || message == WM_COMPAREITEM ||
         message == WM_VKEYTOITEM || message == WM_CHARTOITEM || message == WM_QUERYDRAGICON;
}

}  // namespace

Dialog::Dialog(int templateId) : templateId_(templateId) {}

Dialog::~Dialog() {
  // Detach first, so that no message reaches a half-destroyed object.
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
  }
}

INT_PTR Dialog::DoModal(HWND parent) {
  std::vector<BYTE> tmpl = HiddenTemplateCopy(templateId_);
  if (tmpl.empty() || hwnd_) return -1;
  modalRunning_ = true;
  ended_ = false;
  result_ = -1;
  HWND window = CreateDialogIndirectParamW(ResourceModule(), reinterpret_cast<LPCDLGTEMPLATEW>(tmpl.data()), parent,
                                           Procedure, reinterpret_cast<LPARAM>(this));
  if (!window) {
    modalRunning_ = false;
    return -1;
  }
  const bool disableParent = parent && IsWindowEnabled(parent);
  if (disableParent) EnableWindow(parent, FALSE);
  if (!ended_ && !QuitPending() && hwnd_) ShowWindow(hwnd_, SW_SHOWNORMAL);

  MSG message;
  while (!ended_ && hwnd_) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      lastQuitCode_ = static_cast<int>(message.wParam);
      PostQuitMessage(lastQuitCode_);  // outer loops end too
      break;
    }
    if (PreTranslateMessage(message)) continue;
    if (hwnd_ && IsDialogMessageW(hwnd_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  // Re-enable the owner before the dialog goes, so activation returns to it.
  if (disableParent) EnableWindow(parent, TRUE);
  if (hwnd_) DestroyWindow(hwnd_);
  modalRunning_ = false;
  return ended_ ? result_ : -1;
}

bool Dialog::Create(HWND parent, bool hidden) {
  if (hwnd_) return false;
  modalRunning_ = false;
  ended_ = false;
  if (hidden) {
    std::vector<BYTE> tmpl = HiddenTemplateCopy(templateId_);
    return !tmpl.empty() && CreateDialogIndirectParamW(ResourceModule(), reinterpret_cast<LPCDLGTEMPLATEW>(tmpl.data()),
                                                       parent, Procedure, reinterpret_cast<LPARAM>(this)) != nullptr;
  }
  return CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(templateId_), parent, Procedure,
                            reinterpret_cast<LPARAM>(this)) != nullptr;
}

void Dialog::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void Dialog::EndDialog(INT_PTR result) {
  result_ = result;
  ended_ = true;
  if (!modalRunning_) Destroy();
  // Wake the modal loop, which may be waiting in GetMessage.
  else if (hwnd_)
    PostMessageW(hwnd_, WM_NULL, 0, 0);
}

bool Dialog::OnCommand(int, int, HWND) {
  return false;
}

bool Dialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) {
  return false;
}

bool Dialog::PreTranslateMessage(MSG&) {
  return false;
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // No exception may cross back into the platform's code: a handler that
  // threw (out of memory, say) leaves the message unhandled.
  try {
    return Dispatch(hwnd, message, wParam, lParam);
  } catch (...) {
    return FALSE;
  }
}

INT_PTR Dialog::Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<Dialog*>(lParam);
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    self->hwnd_ = hwnd;
    if (TemplateAtOrigin(self->templateId_)) CentreOverParent(hwnd);
    return self->OnInitDialog();
  }
  auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (!self) return FALSE;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    self->hwnd_ = nullptr;
    return FALSE;
  }
  LRESULT result = 0;
  if (self->OnMessage(message, wParam, lParam, result)) {
    if (ReturnsDirectly(message)) return static_cast<INT_PTR>(result);
    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
  }
  if (message == WM_COMMAND) {
    const int id = LOWORD(wParam);
    if (self->OnCommand(id, HIWORD(wParam), reinterpret_cast<HWND>(lParam))) return TRUE;
    if (id == IDOK) {
      self->OnOK();
      return TRUE;
    }
    if (id == IDCANCEL) {
      self->OnCancel();
      return TRUE;
    }
  }
  return FALSE;
}

}  // namespace wf
