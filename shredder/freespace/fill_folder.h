// The fill folder at a drive's root: made for a run and held open by it, so
// that no other process takes it for a leftover meanwhile; removed after the
// run, and at every start of the program when a crash left it behind.
// Removal enters no link and deletes nothing but our own names (see
// ClassifyEntry): a folder holding anything else is left whole.
#pragma once

#include <string>

#include "winframe/handles.h"

namespace freespace {

// "D:\MORVANE-Shredder-FreeSpaceFill" in the "\\?\" form.
std::wstring FillFolderPath(const std::wstring& root);

// Makes the fill folder and holds it: while the handle is open, another
// process can neither rename nor remove it. An empty handle when it cannot
// be made (the drive is not writable), or when one is there that
// RemoveFillFolder cannot take away.
wf::UniqueFile CreateFillFolder(const std::wstring& root);

enum class Removal {
  Removed,  // gone, with everything in it
  Absent,   // there was none
  InUse,    // held by a run of this program
  Kept,     // not ours (a link, or something foreign in it), or part of it could not be deleted
};
Removal RemoveFillFolder(const std::wstring& root);

// Removes a fill folder left on any fixed or removable drive; the start of
// the program calls it before anything else.
void RemoveLeftoverFillFolders();

}  // namespace freespace
