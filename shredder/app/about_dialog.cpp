#include "shredder/app/about_dialog.h"

#include "shredder/app/app_texts.h"
#include "shredder/app/main_dialog.h"
#include "shredder/resources/resource.h"

CAboutDialog::CAboutDialog()
    : wf::Dialog(IDD_ABOUTBOX),
      shortTitle_(app::texts::kInstanceMutexName),
      fullName_(app::texts::kProductFullName),
      version_(app::texts::kProductVersion),
      copyright_(app::texts::kCopyright) {}

BOOL CAboutDialog::OnInitDialog() {
  Fill();
  return TRUE;
}

void CAboutDialog::Fill() {
  // Built afresh from the members each time; nothing is read back.
  SetWindowTextW(Hwnd(), (L"About " + shortTitle_).c_str());
  SetDlgItemTextW(Hwnd(), IDC_PRODUCT_NAME,
                  (app::texts::kNameLinePrefix + fullName_ + app::texts::kNameLineSuffix).c_str());
  SetDlgItemTextW(Hwnd(), IDC_VERSION,
                  (app::texts::kVersionLinePrefix + version_ + app::texts::kVersionLineSuffix).c_str());
  SetDlgItemTextW(Hwnd(), IDC_COPYRIGHT, copyright_.c_str());
}

bool CAboutDialog::OnCommand(int id, int code, HWND) {
  if (id == IDC_WEB && code == STN_CLICKED) {
    OpenWebPage();
    return true;
  }
  return false;
}
