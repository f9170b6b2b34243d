#include "shredder/app/main_dialog.h"

// The selected-file batches come with their own work; until then a request
// erases nothing and shows nothing.
void CMainDialog::ShredClipboardList() {}

void CMainDialog::ShredCommandLineList(const std::string&) {}

void CMainDialog::ShredDroppedFiles(HDROP) {}
