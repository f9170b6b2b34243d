// The system's own sentence for an error code, in the user's language, to
// follow our sentence on a line of its own: the user learns what failed from
// us and why from Windows.
#pragma once

#include <windows.h>

#include <string>

namespace wf {

// The system's text for `error`, without its closing line break; empty for
// 0 or a code the system has no text for.
std::wstring SystemReason(DWORD error);

// `text`, then the system's reason for `error` on a new line when there is one.
std::wstring WithReason(const std::wstring& text, DWORD error);

}  // namespace wf
