// A window's progress on its taskbar button (ITaskbarList3), where Windows
// users look for a long job's state. The calls go through one seam, so that
// tests can record them: Wine's taskbar shows no progress.
#pragma once

#include <windows.h>

namespace wf {

enum class TaskbarLook {
  None,    // no progress on the button
  Normal,  // the bar, as far as `done` of `total`
  Paused,  // the bar held: the work waits
  Error,   // the bar in the failure's colour
};

struct TaskbarCall {
  HWND window;
  TaskbarLook look;
  ULONGLONG done;
  ULONGLONG total;
};

using TaskbarHandler = void (*)(const TaskbarCall& call);

// Installs `handler` (nullptr restores the calls to the taskbar); returns the
// previous one.
TaskbarHandler SetTaskbarHandler(TaskbarHandler handler);

// The progress of one window on its own button: an unowned window has one in
// every start mode. The button may come after the window; the taskbar then
// says so, and the last state is shown again.
class TaskbarProgress {
 public:
  TaskbarProgress() = default;
  TaskbarProgress(const TaskbarProgress&) = delete;
  TaskbarProgress& operator=(const TaskbarProgress&) = delete;

  // For the window just created (and shown); lets the taskbar's message in
  // even when the program runs with more rights than the taskbar.
  void Attach(HWND window);
  // Shows `look`; nothing is sent when the button would look the same (the
  // bar is compared in thousandths).
  void Show(TaskbarLook look, ULONGLONG done, ULONGLONG total);
  // No progress on the button any more; before the window goes.
  void Clear();
  // True for the taskbar's "button created", after which the state is shown
  // again.
  bool OnMessage(UINT message);

 private:
  void Send();

  HWND window_ = nullptr;
  TaskbarLook look_ = TaskbarLook::None;
  ULONGLONG done_ = 0;
  ULONGLONG total_ = 0;
};

}  // namespace wf
