// The free-space erase of one drive: what was deleted before, without the
// shredder, still lies in the volume's free clusters (and, on NTFS, in free
// file records); the fill overwrites all of it with the stream and then goes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "shredder/engine/work_context.h"

namespace freespace {

// Where the speed of the last erase of a volume is kept between runs (the
// settings file), by volume serial number; it gives the time the question
// names. Without a kept speed a short timed write measures the drive first.
struct SpeedMemory {
  std::function<std::uint64_t(DWORD serial)> recall;  // bytes per second, 0 when none is kept
  std::function<void(DWORD serial, std::uint64_t bytesPerSecond)> keep;
};

// Checks the drive ("D:\"), asks, reads it again, fills and empties the free
// space of its volume behind the progress window, and tells the result. A
// drive that is not local or not writable, or whose volume holds a folder of
// the fill folder's name that is not ours, is refused with a message before
// anything is asked.
void EraseFreeSpace(const engine::WorkContext& work, const std::wstring& root, const SpeedMemory& memory);

// Removes what free-space erases that never ended left (fill_folder.h), and
// tells what stays, if anything does: the clean-up at a logon.
void CleanUpLeftovers(const engine::WorkContext& work);

// Waits up to `timeoutMs` until no fill folder of this process is left on
// any drive; true when none is. The session's end calls it after asking the
// run to stop: a folder it misses is removed at the next start.
bool WaitForCleanUp(DWORD timeoutMs);

}  // namespace freespace
