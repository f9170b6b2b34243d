#include "common/cp932.h"

namespace cp932 {
namespace {

// Width of the character starting at `i`: a lead byte with no byte after it
// counts as one, so a cut string never reads past its end.
std::size_t CharWidth(std::string_view text, std::size_t i) {
  return IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::size_t FindLast(std::string_view text, char ch) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); i += CharWidth(text, i)) {
    if (text[i] == ch && CharWidth(text, i) == 1) found = i;
  }
  return found;
}

std::size_t FindFirst(std::string_view text, char ch) {
  for (std::size_t i = 0; i < text.size(); i += CharWidth(text, i)) {
    if (text[i] == ch && CharWidth(text, i) == 1) return i;
  }
  return std::string_view::npos;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size();) {
    const std::size_t width = CharWidth(a, i);
    if (width != CharWidth(b, i)) return false;
    if (width == 2) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
    } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
      return false;
    }
    i += width;
  }
  return true;
}

}  // namespace cp932
