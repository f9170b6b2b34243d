// The complete erase of the recycle bin: every file in this user's
// recycle-bin folders on every fixed volume is wiped and removed, then the
// platform empties, on those volumes only, what is left (index files, folder
// skeletons, links).
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "shredder/engine/checked_file.h"
#include "shredder/engine/erase_tally.h"
#include "shredder/engine/erase_turn.h"
#include "shredder/engine/ordered_workers.h"
#include "shredder/engine/work_context.h"
#include "shredder/recyclebin/recycle_bin_rules.h"

namespace recyclebin {

// Shows the result of an erase without a question (the timer, the exit
// without messages): a balloon on the tray icon.
using SilentReport = std::function<void(const std::wstring& title, const std::wstring& text)>;

// The items in the recycle bins of all fixed volumes, or -1 after a failure
// has been told to the user.
long long CountRecycleBinItems(HWND owner);

// This user's recycle-bin folders on the volume with this root ("C:\\",
// "C:\\mnt\\vol\\") that exist and are folders, not links; none for a volume
// on which this user has deleted nothing.
std::vector<std::wstring> GetRecycleBinFolders(const std::wstring& root, const std::wstring& sidText);

// Interactive: asks first, shows the progress window and reports in a box;
// otherwise reports through `silentReport`. Errors are told either way.
// While another erase writes it waits, or, as `whenTaken` says, gives up.
void ShredRecycleBin(const engine::WorkContext& work, bool interactive, const SilentReport& silentReport,
                     engine::WhenTaken whenTaken = engine::WhenTaken::Wait);

// What one erase has met so far, across folders and drives.
struct EraseRun {
  LeftInBin left;            // what keeps the bin from being emptied
  engine::EraseTally tally;  // what became of the files that were removed
  bool stopped = false;      // the user stopped the erase
  // Files with several names, by identity: how many names they have and
  // those found in the folders walked. Wiped at the end when every name was
  // found; otherwise another name still uses the content.
  struct SharedFile {
    DWORD names = 0;
    std::vector<std::wstring> found;
  };
  std::map<engine::FileId, SharedFile> shared;
  // While a walk wipes its files side by side: the workers, which finish
  // each file (what is told and counted of it) in walk order.
  engine::OrderedWorkers* workers = nullptr;
};

// Wipes and removes every file below `folder`; false after an error has been
// told, or when the user stopped the erase (run.stopped). From the folder a
// walk starts at (`topLevel`), the files of its volume are wiped side by
// side (EraseWorkers), each told of and counted in walk order, all of them
// before this returns; the progress window of an interactive erase shows
// that folder's entries.
bool ShredRecycleBinFolder(const engine::WorkContext& work, const std::wstring& folder, bool topLevel, bool interactive,
                           long long itemTotal, EraseRun& run);

// The files with several names whose every name the walk met: each wiped
// once and every name removed, behind the progress window of an interactive
// erase.
void ShredSharedFiles(const engine::WorkContext& work, bool interactive, EraseRun& run);

}  // namespace recyclebin
