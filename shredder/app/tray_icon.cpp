#include "shredder/app/tray_icon.h"

namespace app {
namespace {

BOOL CallShell(DWORD message, NOTIFYICONDATAA* data) { return Shell_NotifyIconA(message, data); }

TrayNotifier g_notifier = CallShell;

}  // namespace

BOOL NotifyTray(DWORD message, NOTIFYICONDATAA* data) { return g_notifier(message, data); }

TrayNotifier SetTrayNotifier(TrayNotifier notifier) {
  TrayNotifier previous = g_notifier;
  g_notifier = notifier ? notifier : CallShell;
  return previous;
}

}  // namespace app
