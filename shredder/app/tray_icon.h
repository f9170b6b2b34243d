// Every call the program makes to the notification area goes through here,
// so that tests can see the icon added, changed for a balloon and removed.
#pragma once

#include <windows.h>
#include <shellapi.h>

namespace app {

using TrayNotifier = BOOL (*)(DWORD message, NOTIFYICONDATAA* data);

BOOL NotifyTray(DWORD message, NOTIFYICONDATAA* data);
// Installs `notifier` (nullptr restores Shell_NotifyIconA); returns the previous one.
TrayNotifier SetTrayNotifier(TrayNotifier notifier);

}  // namespace app
