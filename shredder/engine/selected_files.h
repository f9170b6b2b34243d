// The batches over files the user picked: the hand-off list on the clipboard
// ("-D"), quoted paths on the command line, and files dropped on the window.
// All three confirm, run RemoveShreddedFile over their items in order behind
// the progress window (an item named a second time is told and passed over),
// and report how many files were erased.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <string>
#include <vector>

#include "shredder/engine/erase_tally.h"
#include "shredder/engine/work_context.h"

namespace engine {

void ShredClipboardList(const WorkContext& work);
void ShredCommandLineList(const WorkContext& work, const std::wstring& commandLine);
void ShredDroppedFiles(const WorkContext& work, HDROP drop);

// One item of a batch: false when the batch must stop there (a file that
// cannot be opened, overwritten or renamed); an item that is gone, a folder
// or a link is told and the batch goes on. `tally` counts what became of the
// files reached.
bool RemoveShreddedFile(const WorkContext& work, const std::wstring& item, EraseTally& tally);

// The items of the hand-off on the clipboard: the UTF-16 list when it is
// there and agrees with the text (`text` up to its NUL, `wideBlock` the
// whole block of the list's format), else the text split at its commas, as
// an earlier version of the extension left it.
std::vector<std::wstring> HandOffItems(const std::string& text, const std::wstring* wideBlock);

}  // namespace engine
