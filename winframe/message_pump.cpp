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
  return WaitAny(&object, 1, timeoutMs) == 0;
}

int MessagePump::WaitAny(const HANDLE* objects, DWORD count, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    Drain();
    const DWORD waited = GetTickCount() - start;
    const DWORD left = waited >= timeoutMs ? 0 : timeoutMs - waited;
    const DWORD woke = MsgWaitForMultipleObjects(count, objects, FALSE, left, QS_ALLINPUT);
    if (woke < WAIT_OBJECT_0 + count) return static_cast<int>(woke - WAIT_OBJECT_0);
    // A message (handled on the next round), the time up, or a failed wait:
    // then the caller looks again.
    if (woke != WAIT_OBJECT_0 + count || left == 0) return -1;
  }
}

}  // namespace wf
