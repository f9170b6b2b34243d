#include "shredder/freespace/fill_folder.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "common/paths.h"
#include "shredder/engine/handle_place.h"
#include "shredder/engine/held_folder.h"
#include "shredder/freespace/free_space_rules.h"
#include "shredder/freespace/run_records.h"
#include "shredder/freespace/volume.h"
#include "winframe/drives.h"

namespace freespace {
namespace {

// What a removal leaves: everything that stays is counted, the first is named.
struct Staying {
  bool any = false;
  std::wstring first;  // below the fill folder ("records\d0\notes.txt")
  bool foreign = false;
  std::uint64_t bytes = 0;
  DWORD error = NO_ERROR;

  void Add(const std::wstring& below, bool isForeign, std::uint64_t size, DWORD why) {
    bytes += size;
    // A foreign entry is named before one of ours: it is what the user can act on.
    if (!any || (isForeign && !foreign)) {
      first = below;
      foreign = isForeign;
      error = isForeign ? NO_ERROR : why;
    }
    any = true;
  }
};

std::uint64_t SizeOf(const FILE_ID_BOTH_DIR_INFO& entry) {
  return static_cast<std::uint64_t>(entry.EndOfFile.QuadPart);
}

// All the files below a folder that stays hold, never through a link.
std::uint64_t BytesBelow(const std::wstring& extended) {
  std::uint64_t bytes = 0;
  WIN32_FIND_DATAW entry;
  wf::FindHandle search(
      FindFirstFileExW((extended + L"\\*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0));
  if (!search) return 0;
  do {
    const std::wstring_view name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      bytes += BytesBelow(extended + L"\\" + entry.cFileName);
    } else {
      bytes += (std::uint64_t{entry.nFileSizeHigh} << 32) | entry.nFileSizeLow;
    }
  } while (FindNextFileW(search.Get(), &entry));
  return bytes;
}

void RemoveFolder(const std::wstring& extended, const std::wstring& below, bool inRecordTree, Staying& staying);

enum class FileRemoval { Removed, Elsewhere, Failed };

// Deletes a file of ours through a handle that is where its path says. A
// link to a file looks like the file in a folder's listing (under Wine), and
// deleting it by name there deletes what it leads to.
FileRemoval RemoveFile(const std::wstring& extended) {
  wf::UniqueFile file(CreateFileW(extended.c_str(), DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!file || !GetFileInformationByHandle(file.Get(), &info)) return FileRemoval::Failed;
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
      !engine::HandleIsAt(file.Get(), extended, engine::IdOf(info))) {
    return FileRemoval::Elsewhere;
  }
  FILE_DISPOSITION_INFO disposition{TRUE};
  if (!SetFileInformationByHandle(file.Get(), FileDispositionInfo, &disposition, sizeof(disposition))) {
    return FileRemoval::Failed;
  }
  return file.Reset() ? FileRemoval::Removed : FileRemoval::Failed;
}

// Deletes our entries of a held folder, each as it is met, read through its
// handle (a search by path would open it again, which the handle's sharing
// refuses); the others stay.
void RemoveEntries(HANDLE held, const std::wstring& extended, const std::wstring& below, bool inRecordTree,
                   Staying& staying) {
  // FILE_ID_BOTH_DIR_INFO records need 8-byte alignment.
  std::vector<std::uint64_t> buffer(8192);
  const DWORD size = static_cast<DWORD>(buffer.size() * sizeof(buffer[0]));
  for (FILE_INFO_BY_HANDLE_CLASS kind = FileIdBothDirectoryRestartInfo;; kind = FileIdBothDirectoryInfo) {
    if (!GetFileInformationByHandleEx(held, kind, buffer.data(), size)) {
      if (GetLastError() != ERROR_NO_MORE_FILES) staying.Add(below, false, 0, GetLastError());
      return;
    }
    for (auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer.data());;
         entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(reinterpret_cast<const char*>(entry) +
                                                                entry->NextEntryOffset)) {
      const std::wstring name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
      if (name != L"." && name != L"..") {
        const std::wstring path = extended + L"\\" + name;
        const std::wstring nameBelow = below.empty() ? name : below + L"\\" + name;
        const bool isFolder = (entry->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const bool isLink = (entry->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        switch (ClassifyEntry(name, isFolder, isLink, inRecordTree)) {
          case FillEntry::Foreign:
            staying.Add(nameBelow, true, isFolder && !isLink ? BytesBelow(path) : SizeOf(*entry), NO_ERROR);
            break;
          case FillEntry::Marker:
            break;  // the last to go
          case FillEntry::FillFile:
            switch (RemoveFile(path)) {
              case FileRemoval::Removed:
                break;
              case FileRemoval::Elsewhere:
                staying.Add(nameBelow, true, 0, NO_ERROR);
                break;
              case FileRemoval::Failed:
                staying.Add(nameBelow, false, SizeOf(*entry), GetLastError());
                break;
            }
            break;
          case FillEntry::RecordFolder:
            RemoveFolder(path, nameBelow, true, staying);
            break;
        }
      }
      if (entry->NextEntryOffset == 0) break;
    }
  }
}

// Removes a folder of the record tree with what is ours in it.
void RemoveFolder(const std::wstring& extended, const std::wstring& below, bool inRecordTree, Staying& staying) {
  wf::UniqueFile held;
  DWORD error = NO_ERROR;
  switch (engine::HoldFolder(extended, DELETE, held, &error)) {
    case engine::FolderHold::Held:
      break;
    case engine::FolderHold::Missing:
      return;
    case engine::FolderHold::Link:
    case engine::FolderHold::Elsewhere:  // a link put in its place since it was listed
      return staying.Add(below, true, 0, NO_ERROR);
    case engine::FolderHold::InUse:
    case engine::FolderHold::Failed:
      return staying.Add(below, false, 0, error);
  }
  Staying inside;
  RemoveEntries(held.Get(), extended, below, inRecordTree, inside);
  if (inside.any) {
    staying.Add(inside.first, inside.foreign, inside.bytes, inside.error);
    return;
  }
  // Deleted through the handle that was checked, once it is empty.
  FILE_DISPOSITION_INFO disposition{TRUE};
  if (!SetFileInformationByHandle(held.Get(), FileDispositionInfo, &disposition, sizeof(disposition)) ||
      !held.Reset()) {
    staying.Add(below, false, 0, GetLastError());
  }
}

std::wstring MarkerPath(const std::wstring& folder) {
  return folder + L"\\" + kMarkerName;
}

// The marker's content, read only from a file of its own there (never
// through a link); empty when there is none.
std::string ReadMarker(const std::wstring& folder) {
  wf::UniqueFile marker(CreateFileW(MarkerPath(folder).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!marker || !GetFileInformationByHandle(marker.Get(), &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))) {
    return {};
  }
  char content[kRunIdentityDigits + 1] = {};
  DWORD read = 0;
  if (!ReadFile(marker.Get(), content, sizeof(content), &read, nullptr)) return {};
  return std::string(content, read);
}

bool WriteMarker(const std::wstring& folder, const std::wstring& identity) {
  wf::UniqueFile marker(CreateFileW(MarkerPath(folder).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  const std::string content(identity.begin(), identity.end());
  DWORD written = 0;
  return marker && WriteFile(marker.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
         written == content.size() && FlushFileBuffers(marker.Get());
}

// The identity the marker names, when it names a recorded run.
std::optional<std::wstring> OurRun(const std::wstring& folder) {
  const std::string marker = ReadMarker(folder);
  std::vector<std::wstring> runs;
  for (RecordedRun& run : RecordedRuns()) runs.push_back(std::move(run.identity));
  if (!MarkerNamesRun(marker, runs)) return std::nullopt;
  return std::wstring(marker.begin(), marker.end());
}

}  // namespace

std::wstring FillFolderPath(const std::wstring& volumeRoot) {
  return paths::ToExtended(volumeRoot + kFillFolderName).value_or(std::wstring());
}

FolderState RemoveFillFolder(const std::wstring& volumeRoot) {
  const std::wstring folder = FillFolderPath(volumeRoot);
  FolderState state;
  state.leftover.folder = volumeRoot + kFillFolderName;
  if (folder.empty()) return state;
  // Held without sharing deletion: while it is looked at, nobody puts
  // something else in its place.
  wf::UniqueFile held;
  switch (engine::HoldFolder(folder, DELETE, held)) {
    case engine::FolderHold::Held:
      break;
    case engine::FolderHold::Missing:
      return state;
    case engine::FolderHold::InUse:
      state.removal = Removal::InUse;
      return state;
    case engine::FolderHold::Link:
    case engine::FolderHold::Elsewhere:
    case engine::FolderHold::Failed:  // what cannot be looked at is not known to be ours
      state.removal = Removal::NotOurs;
      return state;
  }
  const std::optional<std::wstring> run = OurRun(folder);
  if (!run) {
    state.removal = Removal::NotOurs;
    return state;
  }
  Staying staying;
  RemoveEntries(held.Get(), folder, L"", false, staying);
  if (!staying.any) {
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (!DeleteFileW(MarkerPath(folder).c_str())) {
      staying.Add(kMarkerName, false, 0, GetLastError());
    } else if (!SetFileInformationByHandle(held.Get(), FileDispositionInfo, &disposition, sizeof(disposition)) ||
               !held.Reset()) {
      const DWORD error = GetLastError();
      WriteMarker(folder, *run);  // still ours, for the next start
      staying.Add(L"", false, 0, error);
    }
  }
  if (staying.any) {
    state.removal = Removal::Kept;
    state.leftover.bytes = staying.bytes;
    if (staying.foreign) state.leftover.foreign = staying.first;
    state.error = staying.error;
    return state;
  }
  ForgetRun(*run);
  state.removal = Removal::Removed;
  return state;
}

FillFolder::FillFolder(std::wstring volumeRoot) : root_(std::move(volumeRoot)), path_(FillFolderPath(root_)) {
  if (!Make()) {
    held_.Reset();
    if (!identity_.empty()) ForgetRun(identity_);
  }
}

FillFolder::~FillFolder() {
  if (held_) Remove();
}

bool FillFolder::Make() {
  error_ = ERROR_FILENAME_EXCED_RANGE;
  if (path_.empty()) return false;
  identity_ = NewRunIdentity();
  if (identity_.empty()) {
    error_ = GetLastError();
    return false;
  }
  // Recorded before anything is made: whatever ends the process, what it
  // leaves is known for ours. Without a record the run goes on all the
  // same: its files go with the process, only the empty folder would stay.
  RecordRun({identity_, root_});
  if (!CreateDirectoryW(path_.c_str(), nullptr)) {
    error_ = GetLastError();
    if (error_ != ERROR_ALREADY_EXISTS) return false;
    inTheWay_ = RemoveFillFolder(root_);
    if (inTheWay_.removal != Removal::Removed) return false;
    inTheWay_ = {};
    if (!CreateDirectoryW(path_.c_str(), nullptr)) {
      error_ = GetLastError();
      return false;
    }
  }
  // Held without DELETE, so that a start of the program, which opens it so,
  // finds it in use; and checked, since a link put in its place between the
  // two calls would lead the fill elsewhere.
  if (engine::HoldFolder(path_, 0, held_) != engine::FolderHold::Held) {
    error_ = GetLastError();
    return false;
  }
  if (!WriteMarker(path_, identity_)) {
    error_ = GetLastError();
    held_.Reset();
    RemoveDirectoryW(path_.c_str());
    return false;
  }
  error_ = NO_ERROR;
  return true;
}

FolderState FillFolder::Remove() {
  held_.Reset();
  FolderState state = RemoveFillFolder(root_);
  // Ours is gone (or was replaced by what is not ours): nothing of this run is left to find.
  if (state.removal != Removal::Kept && state.removal != Removal::InUse) ForgetRun(identity_);
  return state;
}

std::vector<FolderState> RemoveLeftoverFillFolders() {
  wf::QuietDriveErrors quiet;
  std::vector<std::wstring> roots;
  for (const std::wstring& drive : LocalDriveRoots()) {
    if (const std::optional<std::wstring> root = VolumeRootOf(drive)) roots.push_back(*root);
  }
  // A volume without a drive of its own, or a removable one under another letter now.
  for (const RecordedRun& run : RecordedRuns()) roots.push_back(run.volumeRoot);
  std::sort(roots.begin(), roots.end());
  roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
  std::vector<FolderState> staying;
  for (const std::wstring& root : roots) {
    FolderState state = RemoveFillFolder(root);
    if (state.removal == Removal::Kept) staying.push_back(std::move(state));
  }
  return staying;
}

}  // namespace freespace
