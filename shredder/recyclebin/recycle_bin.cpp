#include "shredder/app/main_dialog.h"

// The recycle-bin erase comes with its own work; until then a request
// erases nothing and reports nothing.
long long CMainDialog::CountRecycleBinItems() { return 0; }

std::string CMainDialog::GetRecycleBinFolder(const std::string&) { return {}; }

void CMainDialog::ShredRecycleBin(bool) {}

bool CMainDialog::ShredRecycleBinFolder(const std::string&, bool, bool, long long) { return false; }
