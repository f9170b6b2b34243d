#include "shredder/freespace/fill_folder.h"

#include <cstdint>
#include <vector>

#include "common/paths.h"
#include "shredder/engine/held_folder.h"
#include "shredder/freespace/free_space_rules.h"
#include "shredder/freespace/volume.h"
#include "winframe/drives.h"

namespace freespace {
namespace {

enum class Walk { Ours, InUse, Foreign, Failed };

// A folder of the fill, held while it is looked at (engine::HoldFolder). Held
// with DELETE, so that a folder another process holds so (a running erase)
// is found in use.
Walk OpenHeld(const std::wstring& extended, DWORD access, wf::UniqueFile& held) {
  switch (engine::HoldFolder(extended, access, held)) {
    case engine::FolderHold::Held:
      return Walk::Ours;
    case engine::FolderHold::InUse:
      return Walk::InUse;
    case engine::FolderHold::Elsewhere:
      return Walk::Foreign;
    case engine::FolderHold::Missing:
    case engine::FolderHold::Failed:
      break;
  }
  return Walk::Failed;
}

Walk Folder(const std::wstring& extended, bool inRecordTree, bool remove);

// The entries of a held folder, read through its handle (a search by path
// would open it again, which the handle's sharing refuses): all ours, or the
// first thing that is not. With `remove`, each is deleted as it is met.
Walk Entries(HANDLE held, const std::wstring& extended, bool inRecordTree, bool remove) {
  // FILE_ID_BOTH_DIR_INFO records need 8-byte alignment.
  std::vector<std::uint64_t> buffer(8192);
  const DWORD size = static_cast<DWORD>(buffer.size() * sizeof(buffer[0]));
  Walk walk = Walk::Ours;
  for (FILE_INFO_BY_HANDLE_CLASS kind = FileIdBothDirectoryRestartInfo;; kind = FileIdBothDirectoryInfo) {
    if (!GetFileInformationByHandleEx(held, kind, buffer.data(), size)) {
      return GetLastError() == ERROR_NO_MORE_FILES ? walk : Walk::Failed;
    }
    for (auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer.data());;
         entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(reinterpret_cast<const char*>(entry) +
                                                                entry->NextEntryOffset)) {
      const std::wstring name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
      if (name != L"." && name != L"..") {
        const std::wstring path = extended + L"\\" + name;
        const bool isFolder = (entry->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const bool isLink = (entry->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        switch (ClassifyEntry(name, isFolder, isLink, inRecordTree)) {
          case FillEntry::Foreign:
            return Walk::Foreign;
          case FillEntry::FillFile:
            // A fill file goes on failing; the rest is still removed.
            if (remove && !DeleteFileW(path.c_str())) walk = Walk::Failed;
            break;
          case FillEntry::RecordFolder:
            if (const Walk below = Folder(path, true, remove); below != Walk::Ours) {
              if (below == Walk::Foreign || !remove) return below;
              walk = below;
            }
            break;
        }
      }
      if (entry->NextEntryOffset == 0) break;
    }
  }
}

Walk Folder(const std::wstring& extended, bool inRecordTree, bool remove) {
  wf::UniqueFile held;
  if (const Walk opened = OpenHeld(extended, DELETE, held); opened != Walk::Ours) return opened;
  const Walk walk = Entries(held.Get(), extended, inRecordTree, remove);
  if (!remove || walk != Walk::Ours) return walk;
  // Deleted through the handle that was checked, once it is empty.
  FILE_DISPOSITION_INFO disposition{TRUE};
  if (!SetFileInformationByHandle(held.Get(), FileDispositionInfo, &disposition, sizeof(disposition))) {
    return Walk::Failed;
  }
  return held.Reset() ? Walk::Ours : Walk::Failed;
}

}  // namespace

std::wstring FillFolderPath(const std::wstring& root) {
  return paths::ToExtended(root + kFillFolderName).value_or(std::wstring());
}

wf::UniqueFile CreateFillFolder(const std::wstring& root) {
  const std::wstring folder = FillFolderPath(root);
  if (folder.empty()) return {};
  if (!CreateDirectoryW(folder.c_str(), nullptr)) {
    if (GetLastError() != ERROR_ALREADY_EXISTS || RemoveFillFolder(root) != Removal::Removed ||
        !CreateDirectoryW(folder.c_str(), nullptr)) {
      return {};
    }
  }
  wf::UniqueFile held;
  // A link put in its place between the two calls would lead the fill elsewhere.
  if (OpenHeld(folder, 0, held) != Walk::Ours) return {};
  return held;
}

Removal RemoveFillFolder(const std::wstring& root) {
  const std::wstring folder = FillFolderPath(root);
  if (folder.empty() || GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) return Removal::Absent;
  // Looked at whole before anything is deleted: a folder with anything
  // foreign in it is not ours.
  Walk walk = Folder(folder, false, false);
  if (walk == Walk::Ours) walk = Folder(folder, false, true);
  switch (walk) {
    case Walk::Ours:
      return Removal::Removed;
    case Walk::InUse:
      return Removal::InUse;
    case Walk::Foreign:
    case Walk::Failed:
      break;
  }
  return Removal::Kept;
}

void RemoveLeftoverFillFolders() {
  wf::QuietDriveErrors quiet;
  for (const std::wstring& root : LocalDriveRoots()) RemoveFillFolder(root);
}

}  // namespace freespace
