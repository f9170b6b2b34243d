#include "winframe/text.h"

namespace wf {

std::wstring Widen(std::string_view text, UINT codePage) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), size);
  return wide;
}

std::string Narrow(std::wstring_view text, UINT codePage, bool* exact) {
  if (exact) *exact = true;
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  // UTF-7 and UTF-8 take neither flag nor default character; they spell everything.
  const bool utf = codePage == CP_UTF8 || codePage == CP_UTF7;
  const DWORD flags = utf ? 0 : WC_NO_BEST_FIT_CHARS;
  const char* substitute = utf ? nullptr : "?";
  BOOL replaced = FALSE;
  BOOL* replacedOut = utf ? nullptr : &replaced;
  const int size = WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, substitute, replacedOut);
  if (size <= 0) {
    if (exact) *exact = false;
    return {};
  }
  std::string narrow(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(codePage, flags, text.data(), length, narrow.data(), size, substitute, replacedOut);
  if (exact) *exact = !replaced;
  return narrow;
}

}  // namespace wf
