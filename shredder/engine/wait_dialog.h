// The small window of an erase that waits while another one writes: it names
// the erase that writes and has a stop button, which gives the wait up (the
// erase then writes nothing). It stands below the middle of the screen,
// where the other erase's progress window does not cover it, and its taskbar
// button shows the paused look.
#pragma once

#include "shredder/engine/erase_kind.h"
#include "winframe/dialog.h"
#include "winframe/taskbar_progress.h"

class CWaitDialog : public wf::Dialog {
 public:
  CWaitDialog();
  ~CWaitDialog() override;

  // Creates the window modeless, without a parent, and shows it without
  // taking the focus.
  bool Open();
  // The text for an erase of `writing`; nothing changes when it is the same.
  void ShowWriting(engine::EraseKind writing);
  bool StopAsked() const { return stopAsked_; }
  void Close();

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  wf::TaskbarProgress taskbar_;
  bool stopAsked_ = false;
  bool textShown_ = false;
  engine::EraseKind shown_ = engine::EraseKind::Unknown;
};
