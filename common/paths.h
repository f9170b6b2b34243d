// Paths as the platform's file functions take them: UTF-16, of any length
// up to the system's limit. A path that does not fit is refused, never cut.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace paths {

// Characters of the longest path the file functions take (in the "\\?\"
// form), terminator included.
constexpr std::size_t kMaxPath = 32767;

// True when `path` and its terminator fit.
constexpr bool Fits(std::wstring_view path) {
  return path.size() < kMaxPath;
}

// `first` followed by `second`, or nothing when the result would not fit.
std::optional<std::wstring> Join(std::wstring_view first, std::wstring_view second);

// The folder part of a path, up to and including its last backslash; empty
// when there is none.
std::wstring FolderWithSeparator(std::wstring_view path);
// The folder a path names its entry in: the folder part without its last
// backslash, but a root keeps it ("C:\\", "\\?\\C:\\", "\\server\\share\\",
// "\\?\\UNC\\server\\share\\"), since without it a drive names its current
// folder or, in the "\\?\\" form, the raw volume. Empty when there is no
// backslash.
std::wstring FolderOf(std::wstring_view path);
// The part after the last backslash (the whole text when there is none).
std::wstring NameOf(std::wstring_view path);

// A drive letter, a colon and a backslash; a share "\\server\share..."; or
// the "\\?\" form of either. Anything else (a relative name, "C:name", a
// device path such as "\\.\" or "\\?\GLOBALROOT\") is not a file the user
// chose and is never to be overwritten.
bool IsAbsolutePath(std::wstring_view path);

// The "\\?\" form of an absolute path, in which the file functions take any
// length and leave every name as it is: "\\?\C:\..." or
// "\\?\UNC\server\share\...". Forward slashes become backslashes, runs of
// separators one, "." segments go and ".." takes the segment before it
// (never the drive or the share). A name's trailing dots and blanks stay:
// the directory search gives them as part of the name. Nothing when the
// path is not absolute or the result does not fit.
std::optional<std::wstring> ToExtended(std::wstring_view path);

// A path as the user reads it: a drive's or a share's path in the "\\?\"
// form without that prefix ("\\?\C:\x" gives "C:\x",
// "\\?\UNC\server\share\x" gives "\\server\share\x"); any other path
// as it is.
std::wstring ShownForm(std::wstring_view path);

// The folder a subst drive stands for, from the target the platform gives
// for the drive ("\\??\\C:\\data" gives "C:\\data"); nothing for a drive of its
// own ("\\Device\\HarddiskVolume1", or what Wine gives for its drives).
std::optional<std::wstring> SubstitutedFolder(std::wstring_view dosDeviceTarget);

// The path with the dots and blanks at the end of each name taken off, as
// the platform's plain (not "\\?\\") form spells such names; the root stays.
std::wstring WithoutTrailingDotsAndBlanks(std::wstring_view path);

}  // namespace paths
