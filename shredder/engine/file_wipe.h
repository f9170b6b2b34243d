// Wiping single files: the passes over a file, the removal of a wiped
// recycle-bin file through the work folder, and that folder itself. Every
// step after the check goes through the handle that was checked
// (checked_file.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shredder/engine/checked_file.h"
#include "shredder/engine/erase_tally.h"
#include "shredder/engine/work_context.h"

namespace engine {

// Opens and checks the file, then overwrites it work.passes times, each pass
// over every byte its clusters hold (pass_plan.h) with the stream running
// on; false (after telling the user) when it could not be wiped, and false
// without a word when the user stopped the run (StopRequested).
bool WipeFile(const WorkContext& work, const std::wstring& path);

// The same for a file already opened and checked; `shownPath` names it in
// messages. Read-only, hidden and system are cleared first; every named data
// stream gets the same passes after the content. A stop asked for at any
// moment, the last pass included, ends it as Stopped. Declined, CannotOpen,
// NoSpace and NotWritten have been told to the user.
WipeOutcome WipeFile(const WorkContext& work, CheckedFile& file, const std::wstring& shownPath);

// What the user is told of a file that was not opened as a file (the check
// was not FileCheck::File), naming it by `shownPath`.
std::wstring CheckMessage(FileCheck check, const std::wstring& shownPath);

bool IsFolder(const std::wstring& path);

// Wipes a recycle-bin file and removes it through the work folder; false
// when it could not be wiped or removed, in which case it stays where it was.
bool WipeRecycledFile(const WorkContext& work, const std::wstring& path);

enum class Removal {
  Removed,              // its name is gone
  NotRenamed,           // no meaningless name could be given to it: it keeps its own
  NameStayed,           // its name could not be removed: it has its own name back
  TemporaryNameStayed,  // nor could its own name be given back (taken meanwhile, or the
                        // handle already let go): it has the meaningless one
};

struct RemovalResult {
  Removal removal = Removal::Removed;
  DWORD error = 0;         // the system's code for what failed, where it gave one
  std::wstring temporary;  // TemporaryNameStayed: where the file is now ("\\?\" form)
};

// Removes a wiped file under a meaningless name that the system gives out in
// `folder` (on the file's volume), then through its handle
// (CheckedFile::Remove). Nothing is moved or deleted except through a name
// the system gave out, and nothing is left under one untold: where the name
// cannot go and the file cannot have its own back, the result says where it is.
RemovalResult RemoveUnderTemporaryName(CheckedFile& file, const std::wstring& folder, const wchar_t* prefix);

// What the user is told of a wiped file whose name did not go, with the
// system's reason; `shownPath` names it.
std::wstring RemovalMessage(const RemovalResult& result, const std::wstring& shownPath);

// Removes a wiped recycle-bin file: in the work folder, or in its own folder
// on another volume.
RemovalResult RemoveRecycledFile(const WorkContext& work, CheckedFile& file);

// The work folder in the first of `parents` (each ends in a backslash) where
// it is or can be made, the parent too when missing; empty, after telling
// the user in the application's own box, when none can take it.
std::wstring CreateWorkFolder(const WorkContext& work, const std::vector<std::wstring>& parents);
std::wstring CreateWorkFolder(const WorkContext& work, const std::wstring& folder);

}  // namespace engine
