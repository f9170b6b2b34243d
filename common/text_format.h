// Message texts with a count in them ("%d 個のファイル..."), formatted without
// printf into fixed buffers, and comparisons of ASCII names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace text {

// `format` with its first "%d" replaced by `value` in decimal.
std::wstring FormatCount(std::wstring_view format, long long value);

// `format` with each "%s" replaced in turn by the next of `values`; the
// values are put in as they are (a "%s" in a path stays a "%s"), and a "%s"
// left without a value stays too.
std::wstring FormatTexts(std::wstring_view format, std::initializer_list<std::wstring_view> values);

// `format` with its first "%s" replaced by `value`.
std::wstring FormatText(std::wstring_view format, std::wstring_view value);

// `value` in lowercase hexadecimal, with zeros in front up to `width`
// digits ("2a", "0000002a").
std::wstring HexDigits(std::uint32_t value, std::size_t width = 1);
// `value` as eight lowercase hexadecimal digits ("0000002a").
inline std::wstring EightHexDigits(std::uint32_t value) {
  return HexDigits(value, 8);
}

// Equality that ignores the letter case of ASCII letters only, as names of
// ASCII keys and drive letters are compared.
bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b);

}  // namespace text
