// The complete erase of the recycle bin: every file of every fixed drive's
// recycle-bin folder is wiped and removed, then the platform empties what is
// left (index files, folder skeletons, links).
#include <shlwapi.h>

#include "common/text_format.h"
#include "shredder/app/main_dialog.h"
#include "shredder/app/tray_icon.h"
#include "shredder/captions.h"
#include "shredder/engine/file_kind.h"
#include "shredder/recyclebin/recycle_bin_platform.h"
#include "shredder/recyclebin/recycle_bin_rules.h"
#include "shredder/recyclebin/recyclebin_texts.h"
#include "winframe/app.h"
#include "winframe/handles.h"
#include "winframe/prompt.h"

namespace texts = recyclebin::texts;

long long CMainDialog::CountRecycleBinItems() {
  recyclebin::Platform& platform = recyclebin::CurrentPlatform();
  long long total = 0;
  for (const std::string& root : platform.DriveRoots()) {
    if (!platform.IsFixedDrive(root)) continue;
    long long items = 0;
    if (platform.QueryRecycleBin(root, items) != S_OK) {
      wf::Prompt(Hwnd(), texts::kQueryFailed, captions::kError, captions::kErrorFlags);
      return -1;
    }
    total += items;
  }
  return total;
}

std::string CMainDialog::GetRecycleBinFolder(const std::string& root) {
  recyclebin::Platform& platform = recyclebin::CurrentPlatform();
  const std::string fileSystem = platform.FileSystemName(root).value_or("");
  std::string sid;
  if (fileSystem == "NTFS" || fileSystem == "FAT32") {
    const std::string user = platform.UserName();
    const std::string computer = platform.ComputerName();
    if (const auto subAuthorities =
            platform.LookupSubAuthorities(computer, recyclebin::AccountName(user, computer))) {
      sid = recyclebin::SidText(*subAuthorities);
    }
  }
  const auto isFolder = [this](const std::string& path) { return IsFolder(path); };
  const std::optional<std::string> folder = recyclebin::RecycleBinFolder(root, fileSystem, sid, isFolder);
  if (!folder) {
    wf::Prompt(Hwnd(), texts::kUnsupportedFileSystem, captions::kError, captions::kErrorFlags);
    return {};
  }
  return *folder;
}

void CMainDialog::ShredRecycleBin(bool interactive) {
  // A second request while one runs (a timer tick during the question, say)
  // is refused without a word.
  WorkGuard guard(*this);
  if (!guard.Acquired()) return;

  const long long total = CountRecycleBinItems();
  if (total == 0) return;
  if (total == -1) {
    wf::Prompt(Hwnd(), texts::kAborted, captions::kError, captions::kErrorFlags);
    return;
  }
  if (interactive) {
    const std::string question = text::FormatCount(texts::kConfirmFormat, static_cast<std::int32_t>(total));
    if (wf::Prompt(Hwnd(), question, captions::kConfirm, captions::kConfirmFlags) != IDYES) return;
  }

  unwipedFiles_ = 0;
  recyclebin::Platform& platform = recyclebin::CurrentPlatform();
  for (const std::string& root : platform.DriveRoots()) {
    if (!platform.IsFixedDrive(root)) continue;
    const std::string folder = GetRecycleBinFolder(root);
    if (folder.empty()) {
      wf::Prompt(Hwnd(), texts::kNoFolder, captions::kError, captions::kErrorFlags);
      return;
    }
    if (!ShredRecycleBinFolder(folder, true, interactive, total)) {
      progress_.Close();
      wf::Prompt(Hwnd(), texts::kNotEmptied, captions::kError, captions::kErrorFlags);
      return;
    }
  }
  if (unwipedFiles_ > 0) {
    // Emptying now would delete those files unwiped; they stay, and the user
    // can try again once whatever held them has let go.
    wf::Prompt(Hwnd(), text::FormatCount(texts::kSomeNotWipedFormat, unwipedFiles_), captions::kError,
               captions::kErrorFlags);
    return;
  }
  if (platform.EmptyRecycleBin(GetActiveWindow()) != S_OK) {
    wf::Prompt(Hwnd(), texts::kEmptyingFailed, captions::kError, captions::kErrorFlags);
    return;
  }
  if (interactive) {
    wf::Prompt(Hwnd(), texts::kDone, captions::kInfo, captions::kInfoFlags);
  } else {
    ShowErasedBalloon();
  }
  if (!workFolder_.empty() && PathFileExistsA(workFolder_.c_str()) && !RemoveDirectoryA(workFolder_.c_str())) {
    wf::App::Current()->MessageBox(texts::kWorkFolderNotRemoved, MB_ICONERROR);
  }
}

bool CMainDialog::ShredRecycleBinFolder(const std::string& folder, bool topLevel, bool interactive,
                                        long long itemTotal) {
  const bool showProgress = interactive && topLevel;
  if (showProgress) {
    progress_.Open();
    progress_.SetTotal(static_cast<unsigned long long>(itemTotal));
  }
  WIN32_FIND_DATAA entry;
  wf::FindHandle search(FindFirstFileA((folder + "\\*").c_str(), &entry));
  if (!search) {
    wf::Prompt(Hwnd(), texts::kCannotSearch, captions::kError, captions::kErrorFlags);
    return false;
  }
  do {
    const std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // A link, to a folder or a file, leads outside the recycle bin: it is
    // neither entered nor overwritten, and the emptying removes the link.
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
      if (showProgress) progress_.Step();
      continue;
    }
    if (isFolder) {
      if (!recyclebin::SubfolderFits(folder.size(), name.size())) {
        wf::Prompt(Hwnd(), texts::kPathTooLong, captions::kError, captions::kErrorFlags);
        return false;
      }
      if (!ShredRecycleBinFolder(folder + "\\" + name, false, interactive, itemTotal)) return false;
    } else if (recyclebin::IsSkippedFileName(name)) {
      continue;
    } else {
      const std::string path = folder + "\\" + name;
      // Another name still uses a hard-linked file's content; removing this
      // name loses nothing, so it is left to the emptying.
      if (engine::HardLinkCount(path) <= 1) {
        ClearReadOnly(path);
        if (!WipeRecycledFile(path, name)) ++unwipedFiles_;
      }
    }
    if (showProgress) progress_.Step();
  } while (FindNextFileA(search.Get(), &entry));
  if (showProgress) progress_.Close();
  return true;
}

void CMainDialog::ShowErasedBalloon() {
  tray_.uTimeout = 30000;
  tray_.uFlags |= NIF_INFO;
  lstrcpynA(tray_.szInfoTitle, texts::kBalloonTitle, sizeof(tray_.szInfoTitle));
  lstrcpynA(tray_.szInfo, texts::kDone, sizeof(tray_.szInfo));
  app::NotifyTray(NIM_MODIFY, &tray_);
  tray_.szInfoTitle[0] = '\0';
  tray_.szInfo[0] = '\0';
  tray_.uFlags &= ~static_cast<UINT>(NIF_INFO);
  app::NotifyTray(NIM_MODIFY, &tray_);
}
