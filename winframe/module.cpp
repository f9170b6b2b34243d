#include "winframe/module.h"

#include "common/paths.h"

namespace wf {

std::optional<std::wstring> ModulePath(HMODULE module) {
  // A full buffer means the path was cut: try a larger one rather than use
  // a prefix, which would name another file.
  for (DWORD size = MAX_PATH; size <= paths::kMaxPath; size *= 2) {
    std::wstring buffer(size, L'\0');
    const DWORD length = GetModuleFileNameW(module, buffer.data(), size);
    if (length == 0) return std::nullopt;
    if (length < size) {
      buffer.resize(length);
      return buffer;
    }
  }
  return std::nullopt;
}

}  // namespace wf
