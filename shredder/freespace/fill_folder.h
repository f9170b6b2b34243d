// The fill folder at a volume's root: made for a run with the run's marker,
// held open by it, so that no other process takes it for a leftover
// meanwhile, and removed after the run; at every start of the program too,
// when a crash left it behind. Only a folder whose marker names one of the
// account's recorded runs (run_records.h) is ours; any other of that name
// is the user's and is never touched. Removal enters no link and deletes
// nothing but our own names (see ClassifyEntry): what is not ours stays,
// and with it the folder.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "shredder/freespace/free_space_texts.h"
#include "winframe/handles.h"

namespace freespace {

// "D:\MORVANE-Shredder-FreeSpaceFill" in the "\\?\" form, for a volume's root.
std::wstring FillFolderPath(const std::wstring& volumeRoot);

enum class Removal {
  Removed,  // ours, and gone with everything in it
  Absent,   // there was none
  InUse,    // held by a run of this program
  NotOurs,  // a folder or link of that name without a marker of ours: left as it is
  Kept,     // ours, but something stays: an entry that is not ours, or ours that could not be deleted
};
struct FolderState {
  Removal removal = Removal::Absent;
  Leftover leftover;       // Kept: what stays
  DWORD error = NO_ERROR;  // Kept with nothing foreign: why ours could not be deleted
};
FolderState RemoveFillFolder(const std::wstring& volumeRoot);

// The fill folder of one run.
class FillFolder {
 public:
  // Records the run, then makes its folder with the marker and holds it. A
  // folder there already is removed first when it is ours; otherwise, or
  // when it cannot be, InTheWay says what is there.
  explicit FillFolder(std::wstring volumeRoot);
  // Removes the folder (Remove) when it is still held.
  ~FillFolder();
  FillFolder(const FillFolder&) = delete;
  FillFolder& operator=(const FillFolder&) = delete;

  bool Made() const { return static_cast<bool>(held_); }
  // When not made: what was in the way (Absent when nothing was), or why not.
  const FolderState& InTheWay() const { return inTheWay_; }
  DWORD Error() const { return error_; }
  // The "\\?\" form.
  const std::wstring& Path() const { return path_; }

  // Lets go of the folder and removes it; the run is forgotten once it is gone.
  FolderState Remove();

 private:
  bool Make();

  std::wstring root_;
  std::wstring path_;
  std::wstring identity_;
  wf::UniqueFile held_;
  FolderState inTheWay_;
  DWORD error_ = NO_ERROR;
};

// Removes the fill folders of the account's runs that are left on any fixed
// or removable drive or where a run recorded them; the start of the program
// calls it before anything else. Gives back those that stay.
std::vector<FolderState> RemoveLeftoverFillFolders();

}  // namespace freespace
