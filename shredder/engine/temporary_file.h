// Files with a meaningless name, given out by the system, which a wiped file
// takes before its name is removed: nothing is ever moved onto or deleted
// through a name that was not given out so.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace engine {

// Makes a new empty file with a meaningless name (prefix, hexadecimal number,
// ".tmp") in `folder` and returns its "\\?\" path; only such a name, given
// out by the system, is ever replaced by a wiped file. Nothing when none can
// be made there, with the system's code for why in `error`.
std::optional<std::wstring> CreateTemporaryFile(const std::wstring& folder, const wchar_t* prefix, DWORD& error);

}  // namespace engine
