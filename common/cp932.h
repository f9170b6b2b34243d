// Code page 932 (Shift-JIS) byte handling shared by both deliverables.
// A double-byte character's second byte may be 0x5C ('\') or another ASCII
// value, so text is never split or searched byte by byte without these.
#pragma once

#include <cstddef>
#include <string_view>

namespace cp932 {

constexpr bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Offset of the first single-byte character `ch`, or npos. Trail bytes of
// double-byte characters never match.
std::size_t FindFirst(std::string_view text, char ch);

}  // namespace cp932
