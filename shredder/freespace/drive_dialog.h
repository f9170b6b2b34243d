// The drive list of the free-space erase, opened from the main window's menu
// and the tray: the fixed and removable drives with their free space, one to
// choose. The erase itself starts after it has closed.
#pragma once

#include <string>
#include <vector>

#include "winframe/dialog.h"

class CDriveDialog : public wf::Dialog {
 public:
  CDriveDialog();

  // The root ("D:\") chosen with OK; empty after Cancel.
  const std::wstring& Chosen() const { return chosen_; }

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnOK() override;

 private:
  std::vector<std::wstring> roots_;  // in the order of the list
  std::wstring chosen_;
};
