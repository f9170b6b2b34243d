#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace wf {

// The full path of a module (the executable by default), however long; nothing
// when the platform cannot give it.
std::optional<std::wstring> ModulePath(HMODULE module = nullptr);

}  // namespace wf
