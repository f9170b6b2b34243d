// The small always-on-top progress window shown while a batch runs. It offers
// no way to stop: its stop button stays hidden and does nothing.
#pragma once

#include "winframe/dialog.h"

class CProgressDialog : public wf::Dialog {
 public:
  CProgressDialog();

  // Creates the window modeless, without a parent, and shows it.
  bool Open();
  // Range 0..total (the control takes 16 bits, so the total wraps at
  // 65,536) and position 0.
  void SetTotal(unsigned long long total);
  // Advances the bar by one item.
  void Step();
  // Destroys the window; the object stays ready for the next batch.
  void Close();
  bool IsOpen() const { return Hwnd() != nullptr; }

 protected:
  bool OnCommand(int id, int code, HWND control) override;
};
