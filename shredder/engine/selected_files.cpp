#include "shredder/engine/selected_files.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/handoff_list.h"
#include "common/paths.h"
#include "common/program_contract.h"
#include "common/text_format.h"
#include "shredder/captions.h"
#include "shredder/engine/checked_file.h"
#include "shredder/engine/engine_texts.h"
#include "shredder/engine/erase_tally.h"
#include "shredder/engine/erase_turn.h"
#include "shredder/engine/file_wipe.h"
#include "shredder/engine/pass_writer.h"
#include "shredder/engine/path_lists.h"
#include "shredder/engine/progress_dialog.h"
#include "winframe/handles.h"
#include "winframe/prompt.h"
#include "winframe/text.h"

namespace engine {
namespace {

// An item passed over with a word to the user; the batch goes on.
void Decline(HWND owner, const std::wstring& message) {
  wf::Prompt(owner, message, captions::kInfo, captions::kInfoFlags);
}

// What names one file however the item spells it: the long form, letters
// compared as the file system compares them.
std::wstring SameFileKey(const std::wstring& item) {
  std::wstring key = paths::ToExtended(item).value_or(item);
  if (!key.empty()) CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
  return key;
}

// Runs RemoveShreddedFile over the `count` items that `itemAt(index)` gives
// and ends the batch. An item named a second time is told and passed over:
// its file is gone, or was declined already. The bar moves on after every
// item reached, but not after the one that stops the batch; the window is
// gone before the result is told; the turn is given back first.
template <typename ItemAt>
void RunBatch(const WorkContext& work, EraseTurn& turn, std::size_t count, ItemAt itemAt) {
  EraseTally tally;
  std::set<std::wstring> seen;
  for (std::size_t index = 0; index < count; ++index) {
    ServeMessages();
    // After a stop no further file is touched.
    if (StopRequested(work)) break;
    const std::wstring item = itemAt(index);
    if (!seen.insert(SameFileKey(item)).second) {
      Decline(work.owner, texts::Quoted(item) + texts::kRepeated);
    } else if (!RemoveShreddedFile(work, item, tally)) {
      break;
    }
    if (work.progress) work.progress->Step();
  }
  if (work.progress) work.progress->Close();
  turn.End();
  wf::Prompt(work.owner, BatchResult(tally), captions::kInfo, captions::kInfoFlags);
}

void OpenProgress(const WorkContext& work) {
  if (work.progress) work.progress->Open(work.stop);
}

void SetProgressTotal(const WorkContext& work, unsigned long long total) {
  if (work.progress) work.progress->SetTotal(total);
}

// The whole block of a clipboard format, as large as its memory.
std::optional<std::string> ClipboardBytes(UINT format) {
  HANDLE block = GetClipboardData(format);
  if (!block) return std::nullopt;
  wf::GlobalLockGuard lock(block);
  if (!lock) return std::nullopt;
  return std::string(static_cast<const char*>(lock.Data()), GlobalSize(block));
}

// Dropped name `index` in full, however long.
std::wstring DroppedName(HDROP drop, UINT index) {
  const UINT length = DragQueryFileW(drop, index, nullptr, 0);
  std::wstring name(length + 1, L'\0');
  name.resize(DragQueryFileW(drop, index, name.data(), length + 1));
  return name;
}

// The hand-off list as it was read, and the clipboard's change count then.
struct HandOff {
  std::vector<std::wstring> items;
  DWORD sequence = 0;
};

// Reads the list and closes the clipboard at once: every other program's copy
// and paste works while the user decides.
std::optional<HandOff> ReadHandOff(HWND owner) {
  const wf::ClipboardSession clipboard(owner);
  if (!clipboard.IsOpen()) return std::nullopt;
  HandOff handOff;
  handOff.sequence = GetClipboardSequenceNumber();
  std::string text = ClipboardBytes(CF_TEXT).value_or(std::string());
  text.resize(std::min(text.size(), text.find('\0')));
  std::optional<std::wstring> wideBlock;
  if (const UINT format = RegisterClipboardFormatW(contract::kHandOffListFormat)) {
    if (const std::optional<std::string> bytes = ClipboardBytes(format)) {
      wideBlock.emplace(bytes->size() / sizeof(wchar_t), L'\0');
      std::copy(bytes->begin(), bytes->begin() + static_cast<std::ptrdiff_t>(wideBlock->size() * sizeof(wchar_t)),
                reinterpret_cast<char*>(wideBlock->data()));
    }
  }
  handOff.items = HandOffItems(text, wideBlock ? &*wideBlock : nullptr);
  return handOff;
}

// Takes the list off the clipboard, unless another program has put something
// there since it was read: that is someone else's, and stays.
void ConsumeHandOff(HWND owner, DWORD sequence) {
  const wf::ClipboardSession clipboard(owner);
  if (clipboard.IsOpen() && GetClipboardSequenceNumber() == sequence) EmptyClipboard();
}

}  // namespace

std::vector<std::wstring> HandOffItems(const std::string& text, const std::wstring* wideBlock) {
  if (wideBlock) {
    if (const auto wide = handoff::ReadWideListBlock(*wideBlock)) {
      // Both came from one writer when the text is the list as this code
      // page spells it.
      std::vector<std::string> spelled;
      for (const std::wstring& path : *wide) spelled.push_back(wf::Narrow(path));
      if (handoff::ListText(spelled) == text) return *wide;
    }
  }
  std::vector<std::wstring> items;
  for (const std::string& piece : handoff::SplitListText(text)) items.push_back(wf::Widen(piece));
  return items;
}

bool RemoveShreddedFile(const WorkContext& work, const std::wstring& item, EraseTally& tally) {
  const HWND owner = work.owner;
  switch (CheckItem(item)) {
    case ItemCheck::TooLong:
      Decline(owner, texts::Quoted(item) + texts::kPathTooLong);
      return true;
    case ItemCheck::NotAbsolute:
      Decline(owner, texts::Quoted(item) + texts::kNotFullPath);
      return true;
    case ItemCheck::Accepted:
      break;
  }
  // Gone (or a folder on its way renamed), a folder, a link or a file with
  // other names: told, and the batch goes on. A file that cannot be opened
  // stops it, with the files after it untouched.
  CheckedFile file(item);
  if (file.Check() != FileCheck::File && file.Check() != FileCheck::InUse) {
    Decline(owner, CheckMessage(file.Check(), item));
    return true;
  }
  const WipeOutcome outcome = WipeFile(work, file, item);
  if (!MayBeRemoved(outcome)) return false;  // it has told the user, or the user stopped the run

  // Removed under a meaningless name in its own folder, as the handle finds
  // it; only a name the system gave out is replaced.
  const RemovalResult removal = RemoveUnderTemporaryName(file, paths::FolderOf(file.ExtendedPath()), L"ms");
  if (removal.removal != Removal::Removed) {
    wf::Prompt(owner, RemovalMessage(removal, item), captions::kError, captions::kErrorFlags);
    // A name that stayed is told, and the batch goes on; one that could not
    // be renamed stops it, as a file that cannot be opened does.
    if (removal.removal == Removal::NotRenamed) return false;
    ++tally.nameStayed;
    return true;
  }
  CountRemoved(tally, outcome);
  return true;
}

void ShredClipboardList(const WorkContext& work) {
  WorkGuard guard(work.busy);
  if (!guard.Acquired()) return;
  ClearStop(work);
  if (!IsClipboardFormatAvailable(CF_TEXT)) return;
  const std::optional<HandOff> handOff = ReadHandOff(work.owner);
  if (!handOff) return;
  // On No, or a wait given up, the list stays for later.
  if (wf::Prompt(work.owner, texts::kConfirmSelected, captions::kConfirm, captions::kConfirmFlags) != IDYES) return;
  EraseTurn turn(work, EraseKind::Files, WhenTaken::Wait);
  if (!turn.Taken()) return;
  ConsumeHandOff(work.owner, handOff->sequence);

  OpenProgress(work);
  const std::vector<std::wstring>& items = handOff->items;
  SetProgressTotal(work, items.size());
  RunBatch(work, turn, items.size(), [&](std::size_t index) { return items[index]; });
}

void ShredCommandLineList(const WorkContext& work, const std::wstring& commandLine) {
  WorkGuard guard(work.busy);
  if (!guard.Acquired()) return;
  ClearStop(work);
  if (wf::Prompt(work.owner, texts::kConfirmSelected, captions::kConfirm, captions::kConfirmFlags) != IDYES) return;
  EraseTurn turn(work, EraseKind::Files, WhenTaken::Wait);
  if (!turn.Taken()) return;

  OpenProgress(work);
  const std::vector<std::wstring> items = CommandLineItems(commandLine);
  SetProgressTotal(work, items.size());
  RunBatch(work, turn, items.size(), [&](std::size_t index) { return items[index]; });
}

void ShredDroppedFiles(const WorkContext& work, HDROP drop) {
  WorkGuard guard(work.busy);
  if (!guard.Acquired()) return;
  ClearStop(work);
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  const std::wstring question = text::FormatCount(texts::kConfirmDroppedFormat, count);
  if (wf::Prompt(work.owner, question, captions::kConfirm, captions::kConfirmFlags) != IDYES) return;
  EraseTurn turn(work, EraseKind::Files, WhenTaken::Wait);
  if (!turn.Taken()) return;

  OpenProgress(work);
  SetProgressTotal(work, count);
  RunBatch(work, turn, count, [&](std::size_t index) { return DroppedName(drop, static_cast<UINT>(index)); });
}

}  // namespace engine
