// The small always-on-top progress window shown while a batch or an erase
// runs. A run drives it in this order: Open, SetTotal (once the number of
// items is known), ShowWithinItem as the passes go through a large file,
// Step after each item, Close before its result message. Its stop button
// asks the run to stop; Enter, Esc and (it has none) a close box do nothing.
// Its taskbar button shows the bar too, in the failure's colour while a box
// tells of a failure; a failure told right after Close is told beside the
// window, which goes once the box is answered (any other box, or the next
// message served, takes it away at once).
#pragma once

#include <string>

#include "shredder/engine/work_context.h"
#include "winframe/dialog.h"
#include "winframe/prompt.h"
#include "winframe/taskbar_progress.h"

class CProgressDialog : public wf::Dialog, private wf::PromptWatcher {
 public:
  // Sees every call that drives the window, in order, with the bar's state
  // read back from the control afterwards (in items). Tests install one to
  // record what a batch did; the program never does.
  class Observer {
   public:
    virtual ~Observer() = default;
    virtual void Opened(bool created) = 0;
    virtual void TotalSet(unsigned minimum, unsigned maximum, unsigned position) = 0;
    virtual void Stepped(unsigned position) = 0;
    virtual void Closed() = 0;
  };

  CProgressDialog();
  // The same window from another template with the same controls; one with
  // a line under the bar shows what SetDetail gives it (the free-space erase).
  explicit CProgressDialog(int templateId);
  ~CProgressDialog() override;

  // Creates the window modeless, without a parent, and shows it. A window
  // left open by an earlier run is replaced, so every run starts afresh. The
  // stop button asks `stop`; without one it is hidden.
  bool Open(engine::StopSignal* stop = nullptr);
  // Range 0..total items (the total wraps at 65,536, as it always has) and
  // position 0.
  void SetTotal(unsigned long long total);
  // Moves the bar to `fraction` (0..1) of the way through the current item;
  // never back.
  void ShowWithinItem(double fraction);
  // Advances the bar to the end of the current item.
  void Step();
  // The line under the bar (done and total, speed, time left), where the
  // template has one.
  void SetDetail(const std::wstring& text);
  // Ends the run's use of the window; the object stays ready for the next
  // run.
  void Close();
  bool IsOpen() const { return Hwnd() != nullptr && !closing_; }

  // Null removes the observer; the caller keeps it alive while installed.
  void SetObserver(Observer* observer) { observer_ = observer; }

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void BeforeBox(const wf::PromptRequest& request) override;
  void AfterBox(const wf::PromptRequest& request) override;
  unsigned ItemsShown() const;
  void SetPosition(unsigned long long units);
  void ShowOnTaskbar(wf::TaskbarLook look);
  void Dismiss();

  Observer* observer_ = nullptr;
  engine::StopSignal* stop_ = nullptr;
  unsigned long long item_ = 0;  // items done, within the wrapped range
  wf::TaskbarProgress taskbar_;
  bool closing_ = false;     // closed by the run, still on the screen
  bool keptForBox_ = false;  // shown beside the failure told after the run
};
