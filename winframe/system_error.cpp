#include "winframe/system_error.h"

namespace wf {

std::wstring SystemReason(DWORD error) {
  if (error == ERROR_SUCCESS) return {};
  wchar_t* buffer = nullptr;
  // The user's language first; the system's (or English) when it has none.
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
      reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  if (length == 0 || !buffer) return {};
  std::wstring reason(buffer, length);
  LocalFree(buffer);
  while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' ')) {
    reason.pop_back();
  }
  return reason;
}

std::wstring WithReason(const std::wstring& text, DWORD error) {
  const std::wstring reason = SystemReason(error);
  return reason.empty() ? text : text + L"\n" + reason;
}

}  // namespace wf
