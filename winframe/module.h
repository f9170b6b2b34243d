#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace wf {

// The full path of a module (the executable by default), or nothing when the
// platform cannot give it whole in a MAX_PATH buffer.
std::optional<std::string> ModulePath(HMODULE module = nullptr);

}  // namespace wf
