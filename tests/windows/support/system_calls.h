// Stands in for the session and the taskbar while it lives: records, one line
// per call, what the program asks of them ("block: <reason>", "allow",
// "awake", "may sleep", "taskbar paused 1/1", "taskbar none") and which
// window each taskbar call was for.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "winframe/session_guards.h"
#include "winframe/taskbar_progress.h"

class SystemCalls {
 public:
  SystemCalls() {
    active_ = this;
    previousSession_ = wf::SetSessionHandler(RecordSession);
    previousTaskbar_ = wf::SetTaskbarHandler(RecordTaskbar);
  }
  ~SystemCalls() {
    wf::SetSessionHandler(previousSession_);
    wf::SetTaskbarHandler(previousTaskbar_);
    active_ = nullptr;
  }
  SystemCalls(const SystemCalls&) = delete;
  SystemCalls& operator=(const SystemCalls&) = delete;

  const std::vector<std::wstring>& Log() const { return log_; }
  const std::vector<HWND>& TaskbarWindows() const { return taskbarWindows_; }
  std::vector<HWND> ShutdownWindows() const { return shutdownWindows_; }
  void Clear() {
    log_.clear();
    taskbarWindows_.clear();
    shutdownWindows_.clear();
  }

 private:
  static void RecordSession(const wf::SessionCall& call) {
    switch (call.what) {
      case wf::SessionCall::What::BlockShutdown:
        active_->log_.push_back(L"block: " + call.reason);
        active_->shutdownWindows_.push_back(call.window);
        return;
      case wf::SessionCall::What::AllowShutdown:
        active_->log_.push_back(L"allow");
        active_->shutdownWindows_.push_back(call.window);
        return;
      case wf::SessionCall::What::ExecutionState:
        if (call.state == (ES_CONTINUOUS | ES_SYSTEM_REQUIRED)) {
          active_->log_.push_back(L"awake");
        } else if (call.state == ES_CONTINUOUS) {
          active_->log_.push_back(L"may sleep");
        } else {
          active_->log_.push_back(L"state " + std::to_wstring(call.state));
        }
        return;
    }
  }
  static void RecordTaskbar(const wf::TaskbarCall& call) {
    static const wchar_t* const kLooks[] = {L"none", L"normal", L"paused", L"error"};
    std::wstring line = std::wstring(L"taskbar ") + kLooks[static_cast<int>(call.look)];
    if (call.look != wf::TaskbarLook::None)
      line += L" " + std::to_wstring(call.done) + L"/" + std::to_wstring(call.total);
    active_->log_.push_back(line);
    active_->taskbarWindows_.push_back(call.window);
  }

  static inline SystemCalls* active_ = nullptr;
  wf::SessionHandler previousSession_;
  wf::TaskbarHandler previousTaskbar_;
  std::vector<std::wstring> log_;
  std::vector<HWND> taskbarWindows_;
  std::vector<HWND> shutdownWindows_;
};
