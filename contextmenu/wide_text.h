// Conversions between the platform's UTF-16 names and the ANSI paths the
// shredder works with.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace shellext {

// The ANSI spelling of a path, or nothing when the ANSI code page cannot
// spell every character of it exactly or it does not fit a MAX_PATH buffer.
// A changed spelling (a character dropped for '?', a look-alike, a cut) may
// name another, existing file, so such a path is never passed on.
std::optional<std::string> AnsiPath(std::wstring_view path);

// `text` in `codePage`, as UTF-16.
std::wstring Widen(std::string_view text, UINT codePage);

// The full path of a module, or nothing when it does not fit MAX_PATH.
std::optional<std::wstring> ModuleFileName(HMODULE module);

}  // namespace shellext
