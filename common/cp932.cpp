#include "common/cp932.h"

namespace cp932 {
namespace {

// Width of the character starting at `i`: a lead byte with no byte after it
// counts as one, so a cut string never reads past its end.
std::size_t CharWidth(std::string_view text, std::size_t i) {
  return IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

}  // namespace

std::size_t FindFirst(std::string_view text, char ch) {
  for (std::size_t i = 0; i < text.size(); i += CharWidth(text, i)) {
    if (text[i] == ch && CharWidth(text, i) == 1) return i;
  }
  return std::string_view::npos;
}

}  // namespace cp932
