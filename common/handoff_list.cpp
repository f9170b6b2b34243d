#include "common/handoff_list.h"

#include <cstdint>

#include "common/cp932.h"

namespace handoff {
namespace {

constexpr std::size_t kFilesOffsetAt = 0;
constexpr std::size_t kWideFlagAt = 16;

void PutLittleEndian32(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t GetLittleEndian32(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  return value;
}

bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

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

std::string DropFilesBlock(const std::vector<std::string>& paths) {
  std::string block(kDropFilesHeaderSize, '\0');
  PutLittleEndian32(block, kFilesOffsetAt, kDropFilesHeaderSize);
  for (const std::string& path : paths) block.append(path).append(1, '\0');
  block.append(1, '\0');
  return block;
}

std::optional<std::vector<std::string>> ReadDropFilesBlock(std::string_view block) {
  if (block.size() < kDropFilesHeaderSize) return std::nullopt;
  if (GetLittleEndian32(block, kWideFlagAt) != 0) return std::nullopt;
  const std::uint32_t first = GetLittleEndian32(block, kFilesOffsetAt);
  if (first < kDropFilesHeaderSize || first >= block.size()) return std::nullopt;
  std::vector<std::string> paths;
  for (std::size_t at = first;;) {
    const std::size_t end = block.find('\0', at);
    if (end == std::string_view::npos) return std::nullopt;
    if (end == at) return paths;
    paths.emplace_back(block.substr(at, end - at));
    at = end + 1;
  }
}

std::vector<std::string> HandOffItems(std::string_view text, const std::optional<std::vector<std::string>>& dropList) {
  if (!dropList || ListText(*dropList) != text) return SplitListText(text);
  std::vector<std::string> items;
  for (const std::string& path : *dropList) {
    if (!path.empty()) items.push_back(path);
  }
  return items;
}

bool IsAbsolutePath(std::string_view path) {
  if (path.size() >= 3 && IsAsciiLetter(path[0]) && path[1] == ':' && path[2] == '\\') return true;
  if (path.size() < 2 || path[0] != '\\' || path[1] != '\\') return false;
  const std::string_view rest = path.substr(2);
  const std::size_t serverEnd = cp932::FindFirst(rest, '\\');
  if (serverEnd == std::string_view::npos || serverEnd == 0) return false;
  const std::string_view server = rest.substr(0, serverEnd);
  // "\\.\" and "\\?\" reach devices and raw volumes, not files on a share.
  if (server == "." || server == "?") return false;
  const std::string_view share = rest.substr(serverEnd + 1);
  return !share.empty() && share[0] != '\\';
}

}  // namespace handoff
