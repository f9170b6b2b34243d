// The options dialog: pass count, automatic erase and its interval, erase on
// exit and its messages, all stored only on OK; and the recycle bin's
// right-click verb, which its check box registers or removes at once.
#pragma once

#include <windows.h>

#include <string>

#include "winframe/dialog.h"

class COptionDialog : public wf::Dialog {
 public:
  COptionDialog();

  // Reads the verb's state from the registry and shows it in check box 1011.
  // A broken registration, or one of an earlier version, is reported and
  // removed first; it then counts as not registered.
  bool CheckRBVerb();
  // Removes the verb when it is registered, registers it otherwise; returns
  // the state afterwards.
  bool ToggleRBVerb();

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnOK() override;

 private:
  std::wstring ItemText(int id) const;
  bool IsChecked(int id) const;
  void EnableWhenChecked(int box, int dependent);
};
