// The complete erase of the recycle bin: every file of every fixed drive's
// recycle-bin folder is wiped and removed, then the platform empties what is
// left (index files, folder skeletons, links).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "shredder/engine/work_context.h"

namespace recyclebin {

// Shows the result of an erase without a question (the timer, the exit
// without messages): a balloon on the tray icon.
using SilentReport = std::function<void(const std::string& title, const std::string& text)>;

// The items in the recycle bins of all fixed drives, or -1 after a failure
// has been told to the user.
long long CountRecycleBinItems(HWND owner);

// The recycle-bin folder of the drive with this root ("C:\"), or empty for a
// file system it cannot have one on (after telling the user).
std::string GetRecycleBinFolder(HWND owner, const std::string& root);

// Interactive: asks first, shows the progress window and reports in a box;
// otherwise reports through `silentReport`. Errors are told either way.
void ShredRecycleBin(const engine::WorkContext& work, bool interactive, const SilentReport& silentReport);

// Wipes and removes every file below `folder`; false after an error has been
// told. The progress window shows the top level of an interactive erase.
// `unwiped` counts the files that could not be overwritten.
bool ShredRecycleBinFolder(const engine::WorkContext& work, const std::string& folder, bool topLevel, bool interactive,
                           long long itemTotal, int& unwiped);

}  // namespace recyclebin
