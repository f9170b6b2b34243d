// Conversions at the edges where a stored or exchanged format still has
// bytes of an ANSI code page: the hand-off text on the clipboard, help text
// asked for in ANSI. Names and texts on their way to the screen or to a file
// never pass through here.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace wf {

// `text` in `codePage`, as UTF-16.
std::wstring Widen(std::string_view text, UINT codePage = CP_ACP);

// `text` spelled in `codePage`, with '?' for every character it cannot spell
// exactly: never a look-alike ("é" as "e", "¥" as a backslash), which could
// name another file. `exact` tells whether nothing was replaced.
std::string Narrow(std::wstring_view text, UINT codePage = CP_ACP, bool* exact = nullptr);

}  // namespace wf
