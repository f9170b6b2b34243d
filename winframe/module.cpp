#include "winframe/module.h"

#include "common/paths.h"

namespace wf {

std::optional<std::string> ModulePath(HMODULE module) {
  char buffer[paths::kMaxPath];
  const DWORD length = GetModuleFileNameA(module, buffer, sizeof(buffer));
  // A full buffer means the path was cut: refuse it rather than use a prefix.
  if (length == 0 || length >= sizeof(buffer)) return std::nullopt;
  return std::string(buffer, length);
}

}  // namespace wf
