// The extension's side of the hand-off to binshredder: the selected paths go
// on the clipboard, then the program recorded under "Path" is started with
// "-D" to take them from there. A drive's free-space erase needs no list: the
// same program is started with "-F" and the drive's root.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace shellext {

// The program binshredder recorded at its last windowed start: an absolute
// path of an existing file, or nothing.
std::optional<std::wstring> RecordedProgramPath();

// Puts the list on the clipboard as text and as the UTF-16 list
// (common/handoff_list.h), in one session with `owner` as its owner, or
// with a window of its own when there is none (without an owner the
// clipboard would be emptied and nothing could be placed). False when the
// list could not be placed; the clipboard then holds neither form, and it
// is never emptied unless the list can be placed.
bool PutHandOffList(HWND owner, const std::vector<std::wstring>& paths);

// The whole hand-off. Nothing is placed and nothing started when there are no
// paths or no usable program path; the program is started only when the list
// is on the clipboard. Failures are silent.
void HandOff(HWND owner, const std::vector<std::wstring>& paths);

// Starts the recorded program with contract::FreeSpaceArguments(driveRoot),
// leaving the clipboard alone. Nothing is started without a usable program
// path; failures are silent, as the hand-off's are.
void StartFreeSpaceErase(const std::wstring& driveRoot);

}  // namespace shellext
