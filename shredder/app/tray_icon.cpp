#include "shredder/app/tray_icon.h"

#include "shredder/app/app_texts.h"
#include "shredder/resources/resource.h"

namespace app {
namespace {

BOOL CallShell(DWORD message, NOTIFYICONDATAW* data) {
  return Shell_NotifyIconW(message, data);
}

TrayNotifier g_notifier = CallShell;

}  // namespace

BOOL NotifyTray(DWORD message, NOTIFYICONDATAW* data) {
  return g_notifier(message, data);
}

TrayNotifier SetTrayNotifier(TrayNotifier notifier) {
  TrayNotifier previous = g_notifier;
  g_notifier = notifier ? notifier : CallShell;
  return previous;
}

void TrayIcon::Add(HWND window, UINT callbackMessage, int iconId, const wchar_t* tip) {
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  icon_.Reset(
      static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId), IMAGE_ICON, 16, 16, 0)));
  data_ = NOTIFYICONDATAW{};
  // The layout with the balloon fields, for the build's architecture.
  data_.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data_.hWnd = window;
  data_.uID = 0;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = callbackMessage;
  data_.hIcon = icon_.Get();
  lstrcpynW(data_.szTip, tip, static_cast<int>(std::size(data_.szTip)));
  NotifyTray(NIM_ADD, &data_);
}

bool TrayIcon::ReAddIfShellRestarted(UINT message) {
  if (taskbarCreated_ == 0 || message != taskbarCreated_) return false;
  NotifyTray(NIM_ADD, &data_);
  return true;
}

void TrayIcon::ShowBalloon(const std::wstring& title, const std::wstring& text) {
  data_.uTimeout = 30000;
  data_.uFlags |= NIF_INFO;
  lstrcpynW(data_.szInfoTitle, title.c_str(), static_cast<int>(std::size(data_.szInfoTitle)));
  lstrcpynW(data_.szInfo, text.c_str(), static_cast<int>(std::size(data_.szInfo)));
  NotifyTray(NIM_MODIFY, &data_);
  data_.szInfoTitle[0] = L'\0';
  data_.szInfo[0] = L'\0';
  data_.uFlags &= ~static_cast<UINT>(NIF_INFO);
  NotifyTray(NIM_MODIFY, &data_);
}

void TrayIcon::ShowPopup(HWND window) const {
  SetForegroundWindow(window);
  wf::MenuHandle menu(CreatePopupMenu());
  if (!menu) return;
  AppendMenuW(menu.Get(), MF_STRING, ID_TRAY_ERASE, texts::kTrayMenuErase);
  AppendMenuW(menu.Get(), MF_STRING, ID_TRAY_FREESPACE, texts::kTrayMenuFreeSpace);
  AppendMenuW(menu.Get(), MF_STRING, ID_TRAY_ABOUT, texts::kTrayMenuAbout);
  POINT cursor{};
  GetCursorPos(&cursor);
  TrackPopupMenu(menu.Get(), TPM_RIGHTBUTTON, cursor.x, cursor.y - 20, 0, window, nullptr);
  // Lets the menu close when the user clicks elsewhere.
  PostMessageW(window, WM_NULL, 0, 0);
}

void TrayIcon::Remove() {
  NotifyTray(NIM_DELETE, &data_);
  taskbarCreated_ = 0;
}

}  // namespace app
