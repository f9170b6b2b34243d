// The main window's icon in the notification area: added at the windowed
// start, added again when a restarted shell asks, changed for a balloon,
// its popup menu, and removed as the window closes. It owns its icon.
//
// Every call to the notification area goes through NotifyTray, so that tests
// can see the icon added, changed for a balloon and removed.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <string>

#include "winframe/handles.h"

namespace app {

using TrayNotifier = BOOL (*)(DWORD message, NOTIFYICONDATAW* data);

BOOL NotifyTray(DWORD message, NOTIFYICONDATAW* data);
// Installs `notifier` (nullptr restores Shell_NotifyIconW); returns the previous one.
TrayNotifier SetTrayNotifier(TrayNotifier notifier);

class TrayIcon {
 public:
  TrayIcon() = default;
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Adds the icon (resource `iconId`, 16 x 16) for `window`, which gets
  // `callbackMessage` for the mouse on it.
  void Add(HWND window, UINT callbackMessage, int iconId, const wchar_t* tip);
  // True for the shell's broadcast after it restarts; the icon is then added
  // again, or a hidden window could be reached only through a second start.
  bool ReAddIfShellRestarted(UINT message);
  // A balloon with `title` and `text` for 30 seconds; the record is cleared
  // of them again at once, so that later changes show no balloon.
  void ShowBalloon(const std::wstring& title, const std::wstring& text);
  // The popup of the right button: erase, free space and about, tracked at the cursor,
  // 20 pixels above it; the choice arrives at `window` as WM_COMMAND.
  void ShowPopup(HWND window) const;
  void Remove();

  const NOTIFYICONDATAW& Record() const { return data_; }

 private:
  NOTIFYICONDATAW data_{};
  wf::IconHandle icon_;
  UINT taskbarCreated_ = 0;  // 0 while the icon is not shown
};

}  // namespace app
