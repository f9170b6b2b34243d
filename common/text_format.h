// Message texts with a count in them ("%d 個のファイル..."), formatted without
// printf into fixed buffers.
#pragma once

#include <string>
#include <string_view>

namespace text {

// `format` with its first "%d" replaced by `value` in decimal. '%' is never
// the second byte of a double-byte character, so a plain search is safe.
std::string FormatCount(std::string_view format, long long value);

}  // namespace text
