#include "contextmenu/wide_text.h"

#include "common/paths.h"

namespace shellext {

std::optional<std::string> AnsiPath(std::wstring_view path) {
  // Every character takes at least one byte, so a longer path cannot fit.
  if (path.empty() || path.size() >= paths::kMaxPath) return std::nullopt;
  const int length = static_cast<int>(path.size());
  BOOL lossy = FALSE;
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.data(), length, nullptr, 0, nullptr, &lossy);
  if (size <= 0 || lossy || static_cast<std::size_t>(size) >= paths::kMaxPath) return std::nullopt;
  std::string ansi(static_cast<std::size_t>(size), '\0');
  if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.data(), length, ansi.data(), size, nullptr, &lossy) !=
          size ||
      lossy) {
    return std::nullopt;
  }
  return ansi;
}

std::wstring Widen(std::string_view text, UINT codePage) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), size);
  return wide;
}

std::optional<std::wstring> ModuleFileName(HMODULE module) {
  wchar_t buffer[paths::kMaxPath];
  const DWORD length = GetModuleFileNameW(module, buffer, paths::kMaxPath);
  // A full buffer means the path was cut.
  if (length == 0 || length >= paths::kMaxPath) return std::nullopt;
  return std::wstring(buffer, length);
}

}  // namespace shellext
