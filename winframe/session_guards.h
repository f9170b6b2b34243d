// What a long piece of work asks of the session, each given back by its own
// guard however the work ends: Windows is asked not to end the session (with
// a reason it shows the user) and not to go to sleep. Both go through one
// seam, so that tests can record the calls instead of making them.
#pragma once

#include <windows.h>

#include <string>

namespace wf {

struct SessionCall {
  enum class What {
    ExecutionState,  // SetThreadExecutionState(state)
    BlockShutdown,   // ShutdownBlockReasonCreate(window, reason)
    AllowShutdown,   // ShutdownBlockReasonDestroy(window)
  };
  What what;
  EXECUTION_STATE state = 0;
  HWND window = nullptr;
  std::wstring reason;
};

using SessionHandler = void (*)(const SessionCall& call);

// Installs `handler` (nullptr restores the system's calls); returns the
// previous one.
SessionHandler SetSessionHandler(SessionHandler handler);

// Windows shows `reason` when the session is to end while the guard lives.
// The window must be the program's main window, created by this thread;
// without one there is nothing to show the reason with.
class ShutdownReason {
 public:
  ShutdownReason(HWND window, const wchar_t* reason);
  ~ShutdownReason();
  ShutdownReason(const ShutdownReason&) = delete;
  ShutdownReason& operator=(const ShutdownReason&) = delete;

 private:
  HWND window_;
};

// The system stays awake while the guard lives; the display may still turn
// off, as it would anyway. The state belongs to the calling thread.
class SystemAwake {
 public:
  SystemAwake();
  ~SystemAwake();
  SystemAwake(const SystemAwake&) = delete;
  SystemAwake& operator=(const SystemAwake&) = delete;
};

}  // namespace wf
