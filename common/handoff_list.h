// The list of selected paths that the context menu hands to the shredder
// through the clipboard. The text (CF_TEXT) is what every reader understands:
// a comma before each path. A comma inside a name cannot be told from a
// separator there, so the writer puts the same paths on the clipboard as a
// drop list (CF_HDROP) too, and a reader that finds both, and finds that they
// agree, takes the drop list: names with commas then arrive whole.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace handoff {

// The CF_TEXT text: for each path a comma, then the path. The clipboard block
// is this text and one NUL: items + sum of the path lengths + 1 bytes.
std::string ListText(const std::vector<std::string>& paths);

// The pieces of a CF_TEXT text between commas. A run of commas is one
// separator and commas at either end separate nothing, so no piece is empty.
// Double-byte characters are stepped over whole (code page 932).
std::vector<std::string> SplitListText(std::string_view text);

// A CF_HDROP block of ANSI names, built byte by byte in the platform's
// little-endian layout, so that it is the same on every build:
//   offset  0  pFiles  4 bytes  where the names start (20)
//   offset  4  pt.x    4 bytes  0 (no drop point)
//   offset  8  pt.y    4 bytes  0
//   offset 12  fNC     4 bytes  0
//   offset 16  fWide   4 bytes  0 (the names are ANSI)
//   offset 20  each path with its NUL, then one more NUL
inline constexpr std::size_t kDropFilesHeaderSize = 20;
std::string DropFilesBlock(const std::vector<std::string>& paths);

// The paths of a CF_HDROP block of ANSI names (the whole block, as large as
// the memory holding it). Nothing when the block is too short, its names
// start outside it, a name runs past its end, or the names are wide.
std::optional<std::vector<std::string>> ReadDropFilesBlock(std::string_view block);

// The items a reader takes from the clipboard: `text` is the CF_TEXT content
// up to its NUL; `dropList` the paths of the CF_HDROP content when there is
// one. The drop list is taken when the text is exactly its paths joined as
// ListText joins them (both came from the writer); otherwise the text is split
// at commas. Empty names are never items.
std::vector<std::string> HandOffItems(std::string_view text, const std::optional<std::vector<std::string>>& dropList);

// A drive letter, a colon and a backslash, or a UNC path "\\server\share...".
// Anything else (a relative name, "C:name", a device path "\\.\" or "\\?\")
// is not a file the user chose and is never to be overwritten.
bool IsAbsolutePath(std::string_view path);

}  // namespace handoff
