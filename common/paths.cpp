#include "common/paths.h"

#include "common/cp932.h"

namespace paths {

std::optional<std::string> Join(std::string_view first, std::string_view second) {
  if (first.size() + second.size() >= kMaxPath) return std::nullopt;
  std::string joined;
  joined.reserve(first.size() + second.size());
  joined.append(first).append(second);
  return joined;
}

std::string FolderWithSeparator(std::string_view path) {
  const std::size_t slash = cp932::FindLast(path, '\\');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string FolderOf(std::string_view path) {
  const std::size_t slash = cp932::FindLast(path, '\\');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
}

std::string NameOf(std::string_view path) {
  const std::size_t slash = cp932::FindLast(path, '\\');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace paths
