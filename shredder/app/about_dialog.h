// The about box: product name, version and the legal notices. Clicking the
// trademark notice opens the product web page; the box stays open.
#pragma once

#include <string>

#include "winframe/dialog.h"

class CAboutDialog : public wf::Dialog {
 public:
  CAboutDialog();

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  void Fill();

  std::wstring shortTitle_;
  std::wstring fullName_;
  std::wstring version_;
  std::wstring copyright_;
};
