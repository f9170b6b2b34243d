#include "shredder/engine/path_lists.h"

#include "common/paths.h"

namespace engine {

std::vector<std::wstring> CommandLineItems(std::wstring_view tail) {
  std::vector<std::wstring> items;
  const std::size_t first = tail.find(L'"');
  if (first == std::wstring_view::npos) return items;
  for (std::size_t at = first + 1;;) {
    const std::size_t close = tail.find(L'"', at);
    if (close == std::wstring_view::npos) return {};  // an unclosed path: nothing on this line is certain
    if (close > at) items.emplace_back(tail.substr(at, close - at));
    if (tail.substr(close, 3) != L"\" \"") return items;
    at = close + 3;
  }
}

ItemCheck CheckItem(std::wstring_view item) {
  // An absolute path that does not fit even in the long form is refused
  // whole: cut, it could name another file.
  if (!paths::IsAbsolutePath(item)) return ItemCheck::NotAbsolute;
  if (!paths::ToExtended(item)) return ItemCheck::TooLong;
  return ItemCheck::Accepted;
}

}  // namespace engine
