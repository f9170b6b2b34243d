#include "common/text_format.h"

namespace text {

std::string FormatCount(std::string_view format, long long value) {
  std::string result(format);
  const std::size_t at = result.find("%d");
  if (at != std::string::npos) result.replace(at, 2, std::to_string(value));
  return result;
}

}  // namespace text
