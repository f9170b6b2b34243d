#include "winframe/session_guards.h"

namespace wf {
namespace {

void CallSystem(const SessionCall& call) {
  switch (call.what) {
    case SessionCall::What::ExecutionState:
      SetThreadExecutionState(call.state);
      return;
    case SessionCall::What::BlockShutdown:
      ShutdownBlockReasonCreate(call.window, call.reason.c_str());
      return;
    case SessionCall::What::AllowShutdown:
      ShutdownBlockReasonDestroy(call.window);
      return;
  }
}

SessionHandler g_handler = CallSystem;

}  // namespace

SessionHandler SetSessionHandler(SessionHandler handler) {
  const SessionHandler previous = g_handler;
  g_handler = handler ? handler : CallSystem;
  return previous;
}

ShutdownReason::ShutdownReason(HWND window, const wchar_t* reason) : window_(window) {
  if (window_) g_handler({SessionCall::What::BlockShutdown, 0, window_, reason});
}

ShutdownReason::~ShutdownReason() {
  if (window_) g_handler({SessionCall::What::AllowShutdown, 0, window_, {}});
}

SystemAwake::SystemAwake() {
  g_handler({SessionCall::What::ExecutionState, ES_CONTINUOUS | ES_SYSTEM_REQUIRED, nullptr, {}});
}

SystemAwake::~SystemAwake() {
  // ES_CONTINUOUS alone takes back what this thread asked for.
  g_handler({SessionCall::What::ExecutionState, ES_CONTINUOUS, nullptr, {}});
}

}  // namespace wf
