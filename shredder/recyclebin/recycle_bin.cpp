#include "shredder/recyclebin/recycle_bin.h"

#include <shlwapi.h>

#include "common/text_format.h"
#include "shredder/captions.h"
#include "shredder/engine/file_kind.h"
#include "shredder/engine/file_wipe.h"
#include "shredder/engine/progress_dialog.h"
#include "shredder/recyclebin/recycle_bin_platform.h"
#include "shredder/recyclebin/recycle_bin_rules.h"
#include "shredder/recyclebin/recyclebin_texts.h"
#include "winframe/handles.h"
#include "winframe/prompt.h"

namespace recyclebin {

long long CountRecycleBinItems(HWND owner) {
  Platform& platform = CurrentPlatform();
  long long total = 0;
  for (const std::string& root : platform.DriveRoots()) {
    if (!platform.IsFixedDrive(root)) continue;
    long long items = 0;
    if (platform.QueryRecycleBin(root, items) != S_OK) {
      wf::Prompt(owner, texts::kQueryFailed, captions::kError, captions::kErrorFlags);
      return -1;
    }
    total += items;
  }
  return total;
}

std::string GetRecycleBinFolder(HWND owner, const std::string& root) {
  Platform& platform = CurrentPlatform();
  const std::string fileSystem = platform.FileSystemName(root).value_or("");
  std::string sid;
  if (fileSystem == "NTFS" || fileSystem == "FAT32") {
    const std::string user = platform.UserName();
    const std::string computer = platform.ComputerName();
    if (const auto subAuthorities = platform.LookupSubAuthorities(computer, AccountName(user, computer))) {
      sid = SidText(*subAuthorities);
    }
  }
  const std::optional<std::string> folder = RecycleBinFolder(root, fileSystem, sid, engine::IsFolder);
  if (!folder) {
    wf::Prompt(owner, texts::kUnsupportedFileSystem, captions::kError, captions::kErrorFlags);
    return {};
  }
  return *folder;
}

void ShredRecycleBin(const engine::WorkContext& work, bool interactive, const SilentReport& silentReport) {
  // A second request while one runs (a timer tick during the question, say)
  // is refused without a word.
  engine::WorkGuard guard(work.busy);
  if (!guard.Acquired()) return;

  const HWND owner = work.owner;
  const long long total = CountRecycleBinItems(owner);
  if (total == 0) return;
  if (total == -1) {
    wf::Prompt(owner, texts::kAborted, captions::kError, captions::kErrorFlags);
    return;
  }
  if (interactive) {
    const std::string question = text::FormatCount(texts::kConfirmFormat, static_cast<std::int32_t>(total));
    if (wf::Prompt(owner, question, captions::kConfirm, captions::kConfirmFlags) != IDYES) return;
  }

  int unwiped = 0;
  Platform& platform = CurrentPlatform();
  for (const std::string& root : platform.DriveRoots()) {
    if (!platform.IsFixedDrive(root)) continue;
    const std::string folder = GetRecycleBinFolder(owner, root);
    if (folder.empty()) {
      wf::Prompt(owner, texts::kNoFolder, captions::kError, captions::kErrorFlags);
      return;
    }
    if (!ShredRecycleBinFolder(work, folder, true, interactive, total, unwiped)) {
      if (work.progress) work.progress->Close();
      wf::Prompt(owner, texts::kNotEmptied, captions::kError, captions::kErrorFlags);
      return;
    }
  }
  if (unwiped > 0) {
    // Emptying now would delete those files unwiped; they stay, and the user
    // can try again once whatever held them has let go.
    wf::Prompt(owner, text::FormatCount(texts::kSomeNotWipedFormat, unwiped), captions::kError, captions::kErrorFlags);
    return;
  }
  if (platform.EmptyRecycleBin(GetActiveWindow()) != S_OK) {
    wf::Prompt(owner, texts::kEmptyingFailed, captions::kError, captions::kErrorFlags);
    return;
  }
  if (interactive) {
    wf::Prompt(owner, texts::kDone, captions::kInfo, captions::kInfoFlags);
  } else if (silentReport) {
    silentReport(texts::kBalloonTitle, texts::kDone);
  }
  const std::string& workFolder = work.workFolder;
  if (!workFolder.empty() && PathFileExistsA(workFolder.c_str()) && !RemoveDirectoryA(workFolder.c_str())) {
    wf::Prompt(owner, texts::kWorkFolderNotRemoved, work.appName, MB_ICONERROR);
  }
}

bool ShredRecycleBinFolder(const engine::WorkContext& work, const std::string& folder, bool topLevel, bool interactive,
                           long long itemTotal, int& unwiped) {
  CProgressDialog* const progress = interactive && topLevel ? work.progress : nullptr;
  if (progress) {
    progress->Open();
    progress->SetTotal(static_cast<unsigned long long>(itemTotal));
  }
  WIN32_FIND_DATAA entry;
  wf::FindHandle search(FindFirstFileA((folder + "\\*").c_str(), &entry));
  if (!search) {
    wf::Prompt(work.owner, texts::kCannotSearch, captions::kError, captions::kErrorFlags);
    return false;
  }
  do {
    const std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // A link, to a folder or a file, leads outside the recycle bin: it is
    // neither entered nor overwritten, and the emptying removes the link.
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
      if (progress) progress->Step();
      continue;
    }
    if (isFolder) {
      if (!SubfolderFits(folder.size(), name.size())) {
        wf::Prompt(work.owner, texts::kPathTooLong, captions::kError, captions::kErrorFlags);
        return false;
      }
      if (!ShredRecycleBinFolder(work, folder + "\\" + name, false, interactive, itemTotal, unwiped)) return false;
    } else if (IsSkippedFileName(name)) {
      continue;
    } else {
      const std::string path = folder + "\\" + name;
      // Another name still uses a hard-linked file's content; removing this
      // name loses nothing, so it is left to the emptying.
      if (engine::HardLinkCount(path) <= 1) {
        engine::ClearReadOnly(path);
        if (!engine::WipeRecycledFile(work, path, name)) ++unwiped;
      }
    }
    if (progress) progress->Step();
  } while (FindNextFileA(search.Get(), &entry));
  if (progress) progress->Close();
  return true;
}

}  // namespace recyclebin
