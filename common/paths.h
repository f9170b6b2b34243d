// Path text in the ANSI code page, bounded the way the platform's MAX_PATH
// buffers are: a path that does not fit is refused, never cut.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace paths {

// Bytes of a MAX_PATH buffer, terminator included.
constexpr std::size_t kMaxPath = 260;

// True when `path` fits a MAX_PATH buffer with its terminator.
constexpr bool Fits(std::string_view path) { return path.size() < kMaxPath; }

// `first` followed by `second`, or nothing when the result would not fit.
std::optional<std::string> Join(std::string_view first, std::string_view second);

// The folder part of a full path, up to and including its last backslash;
// empty when there is none. Double-byte aware.
std::string FolderWithSeparator(std::string_view path);

// The folder part without its last backslash (empty when there is none).
std::string FolderOf(std::string_view path);

// The part after the last backslash (the whole text when there is none).
std::string NameOf(std::string_view path);

}  // namespace paths
