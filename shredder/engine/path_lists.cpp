#include "shredder/engine/path_lists.h"

#include "common/handoff_list.h"
#include "common/paths.h"

namespace engine {

std::vector<std::string> CommandLineItems(std::string_view tail) {
  // Neither the quote nor the blank is ever the second byte of a double-byte
  // character, so plain byte searches are safe here.
  std::vector<std::string> items;
  const std::size_t first = tail.find('"');
  if (first == std::string_view::npos) return items;
  for (std::size_t at = first + 1;;) {
    const std::size_t close = tail.find('"', at);
    if (close == std::string_view::npos) return {};  // an unclosed path: nothing on this line is certain
    if (close > at) items.emplace_back(tail.substr(at, close - at));
    if (tail.substr(close, 3) != "\" \"") return items;
    at = close + 3;
  }
}

ItemCheck CheckItem(std::string_view item) {
  if (!paths::Fits(item)) return ItemCheck::TooLong;
  if (!handoff::IsAbsolutePath(item)) return ItemCheck::NotAbsolute;
  return ItemCheck::Accepted;
}

}  // namespace engine
