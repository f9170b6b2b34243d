#include "common/paths.h"

#include <algorithm>
#include <vector>

#include "common/text_format.h"

namespace paths {
namespace {

constexpr std::wstring_view kExtendedPrefix = L"\\\\?\\";
constexpr std::wstring_view kExtendedUncPrefix = L"\\\\?\\UNC\\";

bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

bool IsAsciiLetter(wchar_t c) {
  return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

bool IsDriveRoot(std::wstring_view path) {
  return path.size() >= 3 && IsAsciiLetter(path[0]) && path[1] == L':' && IsSeparator(path[2]);
}

bool IsDrive(std::wstring_view path) {
  return path.size() == 2 && IsAsciiLetter(path[0]) && path[1] == L':';
}

// A drive ("C:"), a share ("\\server\share") or either in the "\\?\" form,
// without a separator after it.
bool IsRoot(std::wstring_view path) {
  constexpr std::wstring_view kUnc = L"\\\\?\\UNC\\";
  if (!text::EqualsIgnoringAsciiCase(path.substr(0, kUnc.size()), kUnc)) {
    if (path.substr(0, 4) == L"\\\\?\\") return IsDrive(path.substr(4));
    if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1])) return IsDrive(path);
    path.remove_prefix(2);
  } else {
    path.remove_prefix(kUnc.size());
  }
  // "server\share": two names and the separator between them.
  const std::size_t separator = path.find_first_of(L"\\/");
  return separator != 0 && separator != std::wstring_view::npos && separator + 1 < path.size() &&
         path.find_first_of(L"\\/", separator + 1) == std::wstring_view::npos;
}

// The segments of `rest`, with "." dropped and ".." taking the one before.
std::vector<std::wstring_view> Segments(std::wstring_view rest) {
  std::vector<std::wstring_view> segments;
  while (!rest.empty()) {
    std::size_t end = 0;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    const std::wstring_view segment = rest.substr(0, end);
    if (segment == L"..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != L".") {
      segments.push_back(segment);
    }
    rest.remove_prefix(end < rest.size() ? end + 1 : end);
  }
  return segments;
}

// Splits a share path "\\server\share\rest" (separators of either kind).
bool SplitShare(std::wstring_view path, std::wstring_view& server, std::wstring_view& share, std::wstring_view& rest) {
  if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1])) return false;
  std::wstring_view after = path.substr(2);
  std::size_t end = 0;
  while (end < after.size() && !IsSeparator(after[end])) ++end;
  server = after.substr(0, end);
  if (server.empty() || end == after.size()) return false;
  after.remove_prefix(end + 1);
  end = 0;
  while (end < after.size() && !IsSeparator(after[end])) ++end;
  share = after.substr(0, end);
  if (share.empty()) return false;
  rest = after.substr(end);
  return true;
}

}  // namespace

std::optional<std::wstring> Join(std::wstring_view first, std::wstring_view second) {
  if (first.size() + second.size() >= kMaxPath) return std::nullopt;
  std::wstring joined;
  joined.reserve(first.size() + second.size());
  joined.append(first).append(second);
  return joined;
}

std::wstring FolderWithSeparator(std::wstring_view path) {
  const std::size_t slash = path.rfind(L'\\');
  return slash == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, slash + 1));
}

std::wstring FolderOf(std::wstring_view path) {
  const std::size_t slash = path.rfind(L'\\');
  if (slash == std::wstring_view::npos) return std::wstring();
  const std::wstring_view folder = path.substr(0, slash);
  return IsRoot(folder) ? std::wstring(path.substr(0, slash + 1)) : std::wstring(folder);
}

std::wstring NameOf(std::wstring_view path) {
  const std::size_t slash = path.rfind(L'\\');
  return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

namespace {

// The "\\?\" form of an absolute path, whatever its length.
std::optional<std::wstring> ExtendedForm(std::wstring_view path) {
  std::wstring root;
  std::wstring_view rest;
  std::wstring shareForm;  // keeps the text that `rest` points into
  if (text::EqualsIgnoringAsciiCase(path.substr(0, kExtendedUncPrefix.size()), kExtendedUncPrefix)) {
    // "\\?\UNC\server\share": the share form behind the prefix.
    shareForm = L"\\\\" + std::wstring(path.substr(kExtendedUncPrefix.size()));
    std::wstring_view server, share;
    if (!SplitShare(shareForm, server, share, rest)) return std::nullopt;
    root.append(kExtendedUncPrefix).append(server).append(1, L'\\').append(share);
  } else if (path.substr(0, kExtendedPrefix.size()) == kExtendedPrefix) {
    const std::wstring_view inner = path.substr(kExtendedPrefix.size());
    if (!IsDriveRoot(inner) || inner[2] != L'\\') return std::nullopt;  // a device or volume, not a drive's file
    root.append(kExtendedPrefix).append(inner.substr(0, 2));
    rest = inner.substr(2);
  } else if (IsDriveRoot(path)) {
    root.append(kExtendedPrefix).append(path.substr(0, 2));
    rest = path.substr(2);
  } else {
    std::wstring_view server, share;
    if (!SplitShare(path, server, share, rest)) return std::nullopt;
    // "\\.\" and "\\?\" reach devices and raw volumes, not files on a share.
    if (server == L"." || server == L"?") return std::nullopt;
    root.append(kExtendedUncPrefix).append(server).append(1, L'\\').append(share);
  }
  std::wstring extended = root;
  const std::vector<std::wstring_view> segments = Segments(rest);
  if (segments.empty()) extended.append(1, L'\\');
  for (const std::wstring_view segment : segments) extended.append(1, L'\\').append(segment);
  return extended;
}

}  // namespace

std::wstring ShownForm(std::wstring_view path) {
  if (text::EqualsIgnoringAsciiCase(path.substr(0, kExtendedUncPrefix.size()), kExtendedUncPrefix)) {
    return L"\\\\" + std::wstring(path.substr(kExtendedUncPrefix.size()));
  }
  const std::wstring_view rest = path.substr(std::min(path.size(), kExtendedPrefix.size()));
  if (path.substr(0, kExtendedPrefix.size()) == kExtendedPrefix && IsDriveRoot(rest)) return std::wstring(rest);
  return std::wstring(path);
}

std::optional<std::wstring> SubstitutedFolder(std::wstring_view dosDeviceTarget) {
  constexpr std::wstring_view kObjectPrefix = L"\\??\\";
  if (dosDeviceTarget.substr(0, kObjectPrefix.size()) != kObjectPrefix) return std::nullopt;
  const std::wstring_view folder = dosDeviceTarget.substr(kObjectPrefix.size());
  if (!IsDriveRoot(folder) && !(folder.size() == 2 && IsDrive(folder))) return std::nullopt;
  return std::wstring(folder);
}

std::wstring WithoutTrailingDotsAndBlanks(std::wstring_view path) {
  std::size_t start = path.substr(0, kExtendedPrefix.size()) == kExtendedPrefix ? kExtendedPrefix.size() : 0;
  std::wstring result(path.substr(0, start));
  for (;;) {
    std::size_t end = start;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    std::wstring_view name = path.substr(start, end - start);
    // A name of dots and blanks alone ("..") stays as it is.
    const std::size_t last = name.find_last_not_of(L". ");
    if (last != std::wstring_view::npos) name = name.substr(0, last + 1);
    result.append(name);
    if (end == path.size()) return result;
    result.push_back(path[end]);
    start = end + 1;
  }
}

bool IsAbsolutePath(std::wstring_view path) {
  return ExtendedForm(path).has_value();
}

std::optional<std::wstring> ToExtended(std::wstring_view path) {
  std::optional<std::wstring> extended = ExtendedForm(path);
  if (!extended || !Fits(*extended)) return std::nullopt;
  return extended;
}

}  // namespace paths
