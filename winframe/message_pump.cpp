#include "winframe/message_pump.h"

#include <iterator>

namespace wf {
namespace {

// The dialog a message is for, if any: its own window, or the top-level
// window of the control it is for.
HWND DialogOf(HWND window) {
  HWND root = window ? GetAncestor(window, GA_ROOT) : nullptr;
  if (!root) return nullptr;
  wchar_t className[8] = {};
  GetClassNameW(root, className, static_cast<int>(std::size(className)));
  return lstrcmpW(className, L"#32770") == 0 ? root : nullptr;
}

}  // namespace

MessagePump::~MessagePump() {
  if (quit_) PostQuitMessage(quitCode_);
}

void MessagePump::Drain() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      quit_ = true;
      quitCode_ = static_cast<int>(message.wParam);
      continue;
    }
    if (HWND dialog = DialogOf(message.hwnd); dialog && IsDialogMessageW(dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

bool MessagePump::Wait(HANDLE object, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    Drain();
    const DWORD waited = GetTickCount() - start;
    if (waited >= timeoutMs) return WaitForSingleObject(object, 0) == WAIT_OBJECT_0;
    const DWORD woke = MsgWaitForMultipleObjects(1, &object, FALSE, timeoutMs - waited, QS_ALLINPUT);
    if (woke == WAIT_OBJECT_0) return true;
    if (woke == WAIT_TIMEOUT) return false;
    if (woke != WAIT_OBJECT_0 + 1) return false;  // a failed wait: let the caller look again
  }
}

}  // namespace wf
