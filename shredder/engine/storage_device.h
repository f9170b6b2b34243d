// What the device under a volume says of itself: whether it seeks (a
// rotating disk) and whether it is solid-state. The free-space erase tells
// the user; the recycle-bin erase decides how many files it writes at once.
#pragma once

#include <optional>
#include <string>

namespace engine {

// Whether the device holding the volume at `root` ("C:\", or the folder a
// volume is mounted in) reports a seek penalty; nothing when it cannot be
// asked (Wine, older drivers, a share).
std::optional<bool> SeekPenalty(const std::wstring& root);

// Whether that device reports no seek penalty, or TRIM; false when it cannot
// be asked.
bool IsSolidState(const std::wstring& root);

}  // namespace engine
