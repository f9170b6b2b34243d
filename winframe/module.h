#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace wf {

// The full path of a module (the executable by default), however long; nothing
// when the platform cannot give it.
std::optional<std::wstring> ModulePath(HMODULE module = nullptr);

// The roots of the drives ("C:\\"), in the platform's order.
std::vector<std::wstring> DriveRoots();

}  // namespace wf
