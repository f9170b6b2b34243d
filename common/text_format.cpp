#include "common/text_format.h"

namespace text {

std::wstring FormatCount(std::wstring_view format, long long value) {
  std::wstring result(format);
  const std::size_t at = result.find(L"%d");
  if (at != std::wstring::npos) result.replace(at, 2, std::to_wstring(value));
  return result;
}

std::wstring FormatTexts(std::wstring_view format, std::initializer_list<std::wstring_view> values) {
  std::wstring result;
  const std::wstring_view* value = values.begin();
  for (;;) {
    const std::size_t at = format.find(L"%s");
    if (at == std::wstring_view::npos || value == values.end()) break;
    result.append(format.substr(0, at)).append(*value++);
    format.remove_prefix(at + 2);
  }
  return result.append(format);
}

std::wstring FormatText(std::wstring_view format, std::wstring_view value) {
  return FormatTexts(format, {value});
}

std::wstring HexDigits(std::uint32_t value, std::size_t width) {
  std::wstring digits;
  for (; value != 0 || digits.size() < width; value >>= 4)
    digits.insert(digits.begin(), L"0123456789abcdef"[value & 0xF]);
  return digits;
}

bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  const auto fold = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; };
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

}  // namespace text
