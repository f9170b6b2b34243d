#include "winframe/taskbar_progress.h"

#include <shobjidl.h>

#include "winframe/handles.h"

namespace wf {
namespace {

UINT ButtonCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarButtonCreated");
  return message;
}

// The taskbar's interface for this thread, made once: COM stays initialised
// on the thread for as long as it lives.
ITaskbarList3* TaskbarList() {
  struct ThreadTaskbar {
    ThreadTaskbar() : com(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
      ComPtr<ITaskbarList3> made;
      if (SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                     reinterpret_cast<void**>(made.Put()))) &&
          SUCCEEDED(made->HrInit())) {
        list = std::move(made);
      }
    }
    ~ThreadTaskbar() {
      list.Reset();
      if (com) CoUninitialize();
    }
    bool com;
    ComPtr<ITaskbarList3> list;
  };
  thread_local ThreadTaskbar taskbar;
  return taskbar.list.Get();
}

TBPFLAG FlagOf(TaskbarLook look) {
  switch (look) {
    case TaskbarLook::Normal:
      return TBPF_NORMAL;
    case TaskbarLook::Paused:
      return TBPF_PAUSED;
    case TaskbarLook::Error:
      return TBPF_ERROR;
    case TaskbarLook::None:
      break;
  }
  return TBPF_NOPROGRESS;
}

void CallTaskbar(const TaskbarCall& call) {
  ITaskbarList3* list = TaskbarList();
  if (!list) return;
  // The state first: a value alone would turn a paused or failed bar normal.
  list->SetProgressState(call.window, FlagOf(call.look));
  if (call.look != TaskbarLook::None) list->SetProgressValue(call.window, call.done, call.total);
}

TaskbarHandler g_handler = CallTaskbar;

ULONGLONG Thousandths(ULONGLONG done, ULONGLONG total) {
  if (total == 0) return 0;
  if (done >= total) return 1000;
  if (done <= ~ULONGLONG{0} / 1000) return done * 1000 / total;
  return done / (total / 1000);  // total > done, so it has thousandths to divide by
}

}  // namespace

TaskbarHandler SetTaskbarHandler(TaskbarHandler handler) {
  const TaskbarHandler previous = g_handler;
  g_handler = handler ? handler : CallTaskbar;
  return previous;
}

void TaskbarProgress::Attach(HWND window) {
  window_ = window;
  look_ = TaskbarLook::None;
  done_ = total_ = 0;
  ChangeWindowMessageFilterEx(window, ButtonCreatedMessage(), MSGFLT_ALLOW, nullptr);
}

void TaskbarProgress::Show(TaskbarLook look, ULONGLONG done, ULONGLONG total) {
  if (!window_) return;
  if (look == look_ && Thousandths(done, total) == Thousandths(done_, total_)) return;
  look_ = look;
  done_ = done;
  total_ = total;
  Send();
}

void TaskbarProgress::Clear() {
  if (window_ && look_ != TaskbarLook::None) {
    look_ = TaskbarLook::None;
    done_ = total_ = 0;
    Send();
  }
  window_ = nullptr;
}

bool TaskbarProgress::OnMessage(UINT message) {
  if (message != ButtonCreatedMessage() || !window_) return false;
  if (look_ != TaskbarLook::None) Send();
  return true;
}

void TaskbarProgress::Send() {
  g_handler({window_, look_, done_, total_});
}

}  // namespace wf
