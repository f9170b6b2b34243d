// The small always-on-top progress window shown while a batch runs. It offers
// no way to stop: its stop button stays hidden and does nothing. A batch
// drives it in this order: Open, SetTotal (once the number of items is
// known), Step after each item, Close before its result message.
#pragma once

#include "winframe/dialog.h"

class CProgressDialog : public wf::Dialog {
 public:
  // Sees every call that drives the window, in order, with the bar's state
  // read back from the control afterwards. Tests install one to record what
  // a batch did; the program never does.
  class Observer {
   public:
    virtual ~Observer() = default;
    virtual void Opened(bool created) = 0;
    virtual void TotalSet(unsigned minimum, unsigned maximum, unsigned position) = 0;
    virtual void Stepped(unsigned position) = 0;
    virtual void Closed() = 0;
  };

  CProgressDialog();

  // Creates the window modeless, without a parent, and shows it. A window
  // left open by an earlier batch is replaced, so every batch starts afresh.
  bool Open();
  // Range 0..total (the control takes 16 bits, so the total wraps at
  // 65,536) and position 0.
  void SetTotal(unsigned long long total);
  // Advances the bar by one item.
  void Step();
  // Destroys the window; the object stays ready for the next batch.
  void Close();
  bool IsOpen() const { return Hwnd() != nullptr; }

  // Null removes the observer; the caller keeps it alive while installed.
  void SetObserver(Observer* observer) { observer_ = observer; }

 protected:
  bool OnCommand(int id, int code, HWND control) override;

 private:
  unsigned Position() const;

  Observer* observer_ = nullptr;
};
