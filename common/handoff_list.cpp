#include "common/handoff_list.h"

#include "common/cp932.h"

namespace handoff {

std::string ListText(const std::vector<std::string>& paths) {
  std::size_t size = 0;
  for (const std::string& path : paths) size += 1 + path.size();
  std::string text;
  text.reserve(size);
  for (const std::string& path : paths) text.append(1, ',').append(path);
  return text;
}

std::vector<std::string> SplitListText(std::string_view text) {
  std::vector<std::string> items;
  // Each search starts right after a comma, a single-byte character, so it
  // always starts on a character boundary.
  while (!text.empty()) {
    const std::size_t comma = cp932::FindFirst(text, ',');
    const std::string_view piece = text.substr(0, comma);
    if (!piece.empty()) items.emplace_back(piece);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return items;
}

std::wstring WideListBlock(const std::vector<std::wstring>& paths) {
  std::wstring block;
  for (const std::wstring& path : paths) {
    if (!path.empty()) block.append(path).append(1, L'\0');
  }
  block.append(1, L'\0');
  return block;
}

std::optional<std::vector<std::wstring>> ReadWideListBlock(std::wstring_view block) {
  std::vector<std::wstring> paths;
  for (std::size_t at = 0;;) {
    const std::size_t end = block.find(L'\0', at);
    if (end == std::wstring_view::npos) return std::nullopt;
    if (end == at) return paths;
    paths.emplace_back(block.substr(at, end - at));
    at = end + 1;
  }
}

}  // namespace handoff
