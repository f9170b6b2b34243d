// The list of selected paths that the context menu hands to the shredder
// through the clipboard, in two forms:
//  - the text (CF_TEXT) that every reader understands: a comma before each
//    path, in the system's ANSI code page, with '?' for what it cannot
//    spell. A comma inside a name cannot be told from a separator there.
//  - beside it, the same paths in UTF-16 under a clipboard format of the
//    program's own (program_contract.h): each path and a NUL, then one more
//    NUL. A reader takes this one when its spelling in the code page is the
//    text; then names with commas and any characters arrive whole.
// Neither is a drop list, so nothing Explorer would paste as files is left
// on the clipboard.
#pragma once

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

// The UTF-16 form: each path and a NUL, then one more NUL. Empty paths are
// left out (they would end the list).
std::wstring WideListBlock(const std::vector<std::wstring>& paths);

// The paths of a UTF-16 block (the whole block, as large as its memory);
// nothing when the list does not end inside it.
std::optional<std::vector<std::wstring>> ReadWideListBlock(std::wstring_view block);

}  // namespace handoff
