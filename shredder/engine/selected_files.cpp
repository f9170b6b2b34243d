#include "shredder/engine/selected_files.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "common/handoff_list.h"
#include "common/paths.h"
#include "common/text_format.h"
#include "shredder/captions.h"
#include "shredder/engine/engine_texts.h"
#include "shredder/engine/file_kind.h"
#include "shredder/engine/file_wipe.h"
#include "shredder/engine/path_lists.h"
#include "shredder/engine/progress_dialog.h"
#include "winframe/handles.h"
#include "winframe/prompt.h"

namespace engine {
namespace {

// An item passed over with a word to the user; the batch goes on.
void Decline(HWND owner, const std::string& item, const char* reason) {
  wf::Prompt(owner, "\"" + item + "\"" + reason, captions::kInfo, captions::kInfoFlags);
}

// Runs `remove(index, erased)` over `count` items and ends the batch. The bar
// moves on after every item reached, but not after the one that stops the
// batch; the window is gone before the result is told.
template <typename Remove>
void RunBatch(const WorkContext& work, std::size_t count, Remove remove) {
  int erased = 0;
  for (std::size_t index = 0; index < count && remove(index, erased); ++index) {
    if (work.progress) work.progress->Step();
  }
  if (work.progress) work.progress->Close();
  const std::string result = erased == 0 ? texts::kNothingErased : text::FormatCount(texts::kErasedFormat, erased);
  wf::Prompt(work.owner, result, captions::kInfo, captions::kInfoFlags);
}

void OpenProgress(const WorkContext& work) {
  if (work.progress) work.progress->Open();
}

void SetProgressTotal(const WorkContext& work, unsigned long long total) {
  if (work.progress) work.progress->SetTotal(total);
}

// The whole block of a clipboard format, as large as its memory.
std::optional<std::string> ClipboardBlock(UINT format) {
  HANDLE block = GetClipboardData(format);
  if (!block) return std::nullopt;
  wf::GlobalLockGuard lock(block);
  if (!lock) return std::nullopt;
  return std::string(static_cast<const char*>(lock.Data()), GlobalSize(block));
}

struct DroppedName {
  std::string ansi;    // when not exact, a spelling for the message only
  bool exact = false;  // false: the ANSI name is not the dropped one
};

// Dropped name `index` in full, however long: a name cut to a buffer could
// name another file. The ANSI name is checked against the UTF-16 one: for a
// character the code page lacks the conversion puts a look-alike ("foö.txt"
// came out as "foo.txt" under Wine), which may be a file nobody dropped.
DroppedName ReadDroppedName(HDROP drop, UINT index) {
  DroppedName name;
  const UINT length = DragQueryFileA(drop, index, nullptr, 0);
  name.ansi.assign(length + 1, '\0');
  name.ansi.resize(DragQueryFileA(drop, index, name.ansi.data(), length + 1));
  const UINT wideLength = DragQueryFileW(drop, index, nullptr, 0);
  std::wstring wide(wideLength + 1, L'\0');
  wide.resize(DragQueryFileW(drop, index, wide.data(), wideLength + 1));

  std::wstring back(name.ansi.size(), L'\0');
  back.resize(static_cast<std::size_t>(MultiByteToWideChar(
      CP_ACP, 0, name.ansi.data(), static_cast<int>(name.ansi.size()), back.data(), static_cast<int>(back.size()))));
  name.exact = !name.ansi.empty() && back == wide;
  if (!name.exact) {
    // Shown with '?' for what cannot be spelled, not as the look-alike.
    const int wideSize = static_cast<int>(wide.size());
    const int size =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
    name.ansi.assign(static_cast<std::size_t>(std::max(size, 0)), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, name.ansi.data(), size, nullptr, nullptr);
  }
  return name;
}

}  // namespace

bool RemoveShreddedFile(const WorkContext& work, const std::string& item, int& erased) {
  const HWND owner = work.owner;
  switch (CheckItem(item)) {
    case ItemCheck::TooLong:
      Decline(owner, item, texts::kPathTooLong);
      return true;
    case ItemCheck::NotAbsolute:
      Decline(owner, item, texts::kNotFullPath);
      return true;
    case ItemCheck::Accepted:
      break;
  }
  // Before the folder test: a link to a folder looks like one, but the link
  // itself is what was chosen.
  if (IsReparsePoint(item)) {
    Decline(owner, item, texts::kLinkNotOverwritten);
    return true;
  }
  if (IsFolder(item)) {
    Decline(owner, item, texts::kFolderNotProcessed);
    return true;
  }
  if (HardLinkCount(item) > 1) {
    Decline(owner, item, texts::kHardLinkedNotOverwritten);
    return true;
  }
  ClearReadOnly(item);
  if (!WipeFile(work, item)) return false;  // it has told the user

  // Removed under a meaningless name in its own folder ("C:\" for a file in
  // a root, not "C:", which would be the drive's current folder). Only a
  // name the system gave out is used.
  char temporary[paths::kMaxPath] = {};
  if (GetTempFileNameA(paths::FolderWithSeparator(item).c_str(), "ms", 0, temporary) == 0) {
    wf::Prompt(owner, texts::kNotRemoved, captions::kError, captions::kErrorFlags);
    return false;
  }
  DeleteFileA(temporary);
  if (!MoveFileA(item.c_str(), temporary)) {
    wf::Prompt(owner, texts::kNotRemoved, captions::kError, captions::kErrorFlags);
    return false;
  }
  if (DeleteFileA(temporary)) ++erased;
  return true;
}

void ShredClipboardList(const WorkContext& work) {
  WorkGuard guard(work.busy);
  if (!guard.Acquired()) return;
  if (!IsClipboardFormatAvailable(CF_TEXT)) return;
  // Open while the user decides, so that nobody changes the list meanwhile;
  // on No it is closed with the list left as it was.
  wf::ClipboardSession clipboard(work.owner);
  if (!clipboard.IsOpen()) return;
  if (wf::Prompt(work.owner, texts::kConfirmSelected, captions::kConfirm, captions::kConfirmFlags) != IDYES) return;

  OpenProgress(work);
  std::string text = ClipboardBlock(CF_TEXT).value_or(std::string());
  text.resize(std::min(text.size(), text.find('\0')));
  std::optional<std::vector<std::string>> dropList;
  if (const std::optional<std::string> block = ClipboardBlock(CF_HDROP)) dropList = handoff::ReadDropFilesBlock(*block);
  EmptyClipboard();
  clipboard.Close();

  const std::vector<std::string> items = handoff::HandOffItems(text, dropList);
  SetProgressTotal(work, items.size());
  RunBatch(work, items.size(),
           [&](std::size_t index, int& erased) { return RemoveShreddedFile(work, items[index], erased); });
}

void ShredCommandLineList(const WorkContext& work, const std::string& commandLine) {
  WorkGuard guard(work.busy);
  if (!guard.Acquired()) return;
  if (wf::Prompt(work.owner, texts::kConfirmSelected, captions::kConfirm, captions::kConfirmFlags) != IDYES) return;

  OpenProgress(work);
  const std::vector<std::string> items = CommandLineItems(commandLine);
  SetProgressTotal(work, items.size());
  RunBatch(work, items.size(),
           [&](std::size_t index, int& erased) { return RemoveShreddedFile(work, items[index], erased); });
}

void ShredDroppedFiles(const WorkContext& work, HDROP drop) {
  WorkGuard guard(work.busy);
  if (!guard.Acquired()) return;
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  const std::string question = text::FormatCount(texts::kConfirmDroppedFormat, count);
  if (wf::Prompt(work.owner, question, captions::kConfirm, captions::kConfirmFlags) != IDYES) return;

  OpenProgress(work);
  SetProgressTotal(work, count);
  RunBatch(work, count, [&](std::size_t index, int& erased) {
    const DroppedName name = ReadDroppedName(drop, static_cast<UINT>(index));
    if (!name.exact) {
      Decline(work.owner, name.ansi, texts::kNameNotSpelled);
      return true;
    }
    return RemoveShreddedFile(work, name.ansi, erased);
  });
}

}  // namespace engine
