// The extension's side of the hand-off to binshredder: the selected paths go
// on the clipboard, then the program recorded under "Path" is started with
// "-D" to take them from there.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace shellext {

// The program binshredder recorded at its last windowed start: an absolute
// path of an existing file that fits a MAX_PATH buffer, or nothing.
std::optional<std::string> RecordedProgramPath();

// Puts the list on the clipboard as text and as a drop list, in one session
// with `owner` as its owner. False when either could not be placed; the
// clipboard then holds neither.
bool PutHandOffList(HWND owner, const std::vector<std::string>& paths);

// The whole hand-off. Nothing is placed and nothing started when there are no
// paths or no usable program path; the program is started only when the list
// is on the clipboard. Failures are silent.
void HandOff(HWND owner, const std::vector<std::string>& paths);

}  // namespace shellext
