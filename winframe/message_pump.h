// Serves the calling thread's window messages while work goes on elsewhere,
// so that its windows keep answering: they are repainted, their buttons
// work, and Windows does not take the program for hung. Dialog messages
// (Tab, Enter, Esc, a button's keys) go through their dialog as in a modal
// loop. A quit message met here is posted again when the pump goes, for the
// loop that owns it.
#pragma once

#include <windows.h>

namespace wf {

class MessagePump {
 public:
  MessagePump() = default;
  ~MessagePump();
  MessagePump(const MessagePump&) = delete;
  MessagePump& operator=(const MessagePump&) = delete;

  // Handles the messages waiting now.
  void Drain();
  // Waits until `object` (an auto-reset event, a thread) is signalled,
  // handling messages as they come, but no longer than `timeoutMs`; true
  // when `object` was signalled.
  bool Wait(HANDLE object, DWORD timeoutMs);
  // The same for the first of `count` objects: the index of the one that
  // was signalled, or -1 when none was within `timeoutMs`.
  int WaitAny(const HANDLE* objects, DWORD count, DWORD timeoutMs);

 private:
  bool quit_ = false;
  int quitCode_ = 0;
};

}  // namespace wf
