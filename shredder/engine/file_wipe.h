// Wiping single files: the passes over a file, the removal of a wiped
// recycle-bin file through the work folder, and that folder itself. Every
// step after the check goes through the handle that was checked
// (checked_file.h).
#pragma once

#include <cstdint>
#include <string>

#include "shredder/engine/checked_file.h"
#include "shredder/engine/work_context.h"

namespace engine {

// Fresh seed words for one file's stream (then work.seed, when set, has its
// say). Not for two threads at once: it counts the files it seeds.
void MakeSeed(const WorkContext& work, std::uint32_t (&words)[8]);

// Opens and checks the file, then overwrites it work.passes times, each pass
// from its first byte with the stream running on; false (after telling the
// user) when it could not be wiped, and false without a word when the user
// stopped the run (StopRequested), leaving it partly overwritten.
bool WipeFile(const WorkContext& work, const std::wstring& path);

// The same for a file already opened and checked; `shownPath` names it in
// messages. Read-only, hidden and system are cleared first.
bool WipeFile(const WorkContext& work, CheckedFile& file, const std::wstring& shownPath);

// What the user is told of a file that was not opened as a file (the check
// was not FileCheck::File), with the path in double quotes where it helps.
std::wstring CheckMessage(FileCheck check, const std::wstring& shownPath);

bool IsFolder(const std::wstring& path);

// Wipes a recycle-bin file and removes it through the work folder; false
// when it could not be wiped, in which case it stays where it was.
bool WipeRecycledFile(const WorkContext& work, const std::wstring& path);

// Removes a wiped file: under a meaningless name in the work folder (or in
// its own folder, on another volume), then deleted. What cannot be done is
// left for the platform's emptying of the recycle bin; nothing is moved or
// deleted except through a name the system gave out.
void RemoveRecycledFile(const WorkContext& work, CheckedFile& file);

// The work folder in `folder` (which ends in a backslash), created when
// missing; failures are told in the application's own box. Empty when no
// such path can be built.
std::wstring CreateWorkFolder(const WorkContext& work, const std::wstring& folder);

}  // namespace engine
