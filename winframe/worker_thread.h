// Work off the window thread. A worker thread runs with the quiet drive
// errors (drives.h), so that a card pulled out mid-write never stalls it on
// a box, and hands back what its work threw. WhileServing is the one way the
// program runs such work while the window thread serves its windows.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>

#include "winframe/handles.h"

namespace wf {

class WorkerThread {
 public:
  WorkerThread() = default;
  // Waits for the work to end: it may use what its starter keeps on the stack.
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Starts `work` on a thread of its own; NO_ERROR, or the system's reason
  // why no thread could be made (the work then runs nowhere).
  DWORD Start(std::function<void()> work);
  // Signalled once the work has ended; null when none was started.
  HANDLE Handle() const { return thread_.Get(); }
  // Waits for the work to end, and throws what it threw. Nothing to wait
  // for when none was started.
  void Join();

 private:
  static DWORD WINAPI Main(void* self);

  std::function<void()> work_;
  std::exception_ptr thrown_;
  UniqueHandle thread_;
};

// How often WhileServing calls its `tick` unless told otherwise.
inline constexpr DWORD kServeEveryMs = 50;

// Runs `work` on a WorkerThread while the calling thread serves its windows
// (message_pump.h), and returns when the work has ended. Meanwhile `tick`
// runs on the calling thread every `tickMs`, and at once whenever `wake` (an
// auto-reset event, or null) is set. NO_ERROR once the work has run (what it
// threw is thrown here); otherwise the system's reason why no thread could
// be made, and the work has run nowhere.
DWORD WhileServing(const std::function<void()>& work, const std::function<void()>& tick = {},
                   DWORD tickMs = kServeEveryMs, HANDLE wake = nullptr);

}  // namespace wf
