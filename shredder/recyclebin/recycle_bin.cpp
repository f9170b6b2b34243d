#include "shredder/recyclebin/recycle_bin.h"

#include <memory>
#include <optional>

#include "common/paths.h"
#include "common/text_format.h"
#include "shredder/captions.h"
#include "shredder/engine/engine_texts.h"
#include "shredder/engine/erase_tally.h"
#include "shredder/engine/erase_turn.h"
#include "shredder/engine/file_facts.h"
#include "shredder/engine/file_wipe.h"
#include "shredder/engine/held_folder.h"
#include "shredder/engine/pass_writer.h"
#include "shredder/engine/progress_dialog.h"
#include "shredder/recyclebin/recycle_bin_platform.h"
#include "shredder/recyclebin/recycle_bin_rules.h"
#include "shredder/recyclebin/recyclebin_texts.h"
#include "winframe/handles.h"
#include "winframe/prompt.h"
#include "winframe/system_error.h"

namespace recyclebin {
namespace {

using engine::CheckedFile;
using engine::FileCheck;

// With the system's reason on a line of its own, where it gave one.
void TellError(HWND owner, const std::wstring& text, DWORD error = 0) {
  wf::Prompt(owner, wf::WithReason(text, error), captions::kError, captions::kErrorFlags);
}

// The system's code of a failed call that answers with an HRESULT; none for
// an answer that is no failure, only not S_OK.
DWORD ErrorOf(HRESULT result) {
  return FAILED(result) ? static_cast<DWORD>(result) : 0;
}

// Nothing is emptied after a stop: files not yet reached would go unwiped.
void TellStopped(HWND owner) {
  wf::Prompt(owner, texts::kStopped, captions::kInfo, captions::kInfoFlags);
}

// A file the wiper gave up on: the user stopped the run, or it could not be
// overwritten, which then keeps the recycle bin from being emptied.
void CountNotWiped(const engine::WorkContext& work, engine::WipeOutcome outcome, EraseRun& run) {
  if (outcome == engine::WipeOutcome::Stopped || engine::StopRequested(work)) {
    run.stopped = true;
    return;
  }
  ++run.left.unwiped;
  if (outcome == engine::WipeOutcome::CannotOpen) ++run.left.held;
  if (outcome == engine::WipeOutcome::NoSpace) ++run.left.noSpace;
}

// An entry or folder where a link led elsewhere is not overwritten, and the
// bin is not emptied over it: whatever it holds would go unwiped. The user is
// told which.
void CountThroughLink(const engine::WorkContext& work, const std::wstring& path, EraseRun& run) {
  ++run.left.throughLink;
  TellError(work.owner, engine::texts::Quoted(path) + engine::texts::kReachedThroughLink);
}

struct VolumeItems {
  std::wstring root;
  long long items = 0;
};

// The items of every fixed volume's recycle bin; nothing after a failure has
// been told.
std::optional<std::vector<VolumeItems>> CountByVolume(HWND owner) {
  Platform& platform = CurrentPlatform();
  std::vector<VolumeItems> volumes;
  for (const std::wstring& root : platform.VolumeRoots()) {
    if (!platform.IsFixedDrive(root)) continue;
    long long items = 0;
    if (const HRESULT queried = platform.QueryRecycleBin(root, items); queried != S_OK) {
      TellError(owner, texts::kQueryFailed, ErrorOf(queried));
      return std::nullopt;
    }
    volumes.push_back({root, items});
  }
  return volumes;
}

wf::FindHandle FindFirst(const std::wstring& pattern, WIN32_FIND_DATAW& entry) {
  wf::FindHandle search(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                                         FIND_FIRST_EX_LARGE_FETCH));
  if (!search && GetLastError() == ERROR_INVALID_PARAMETER) {
    search.Reset(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0));
  }
  return search;
}

// Counts a file the wiper overwrote by what became of its name; a name that
// stayed keeps the recycle bin from being emptied, as an unwiped file does.
bool CountRemoval(const engine::WorkContext& work, const engine::RemovalResult& removal, const std::wstring& path,
                  EraseRun& run) {
  if (removal.removal == engine::Removal::Removed) return true;
  ++run.left.nameStayed;
  TellError(work.owner, engine::RemovalMessage(removal, path));
  return false;
}

bool RemoveName(const engine::WorkContext& work, CheckedFile& file, const std::wstring& path, EraseRun& run) {
  return CountRemoval(work, engine::RemoveRecycledFile(work, file), path, run);
}

void RemoveWiped(const engine::WorkContext& work, CheckedFile& file, engine::WipeOutcome outcome,
                 const std::wstring& path, EraseRun& run) {
  if (RemoveName(work, file, path, run)) engine::CountRemoved(run.tally, outcome);
}

// What became of one file of a recycle-bin folder: found by whichever thread
// wiped it, counted by the walk's.
struct EntryResult {
  bool reached = false;  // not, when a stop came first: the file is untouched
  FileCheck check = FileCheck::Missing;
  engine::FileId id;
  DWORD names = 0;
  engine::WipeOutcome outcome = engine::WipeOutcome::Declined;
  engine::RemovalResult removal;
};

// Opens and checks one file of a recycle-bin folder. Side by side, another
// worker may hold the same file under another of its names for the moment
// it takes to look at it (it wipes none with several names during the
// walk): a refusal to share is asked again a few times before it counts.
CheckedFile CheckEntry(const std::wstring& path, bool sideBySide) {
  CheckedFile file(path, true);
  for (DWORD waitMs = 1; sideBySide && waitMs <= 256; waitMs *= 2) {
    if (file.Check() != FileCheck::InUse || file.Error() != ERROR_SHARING_VIOLATION) break;
    Sleep(waitMs);
    file = CheckedFile(path, true);
  }
  return file;
}

// Wipes and removes one file of a recycle-bin folder, unless it has several
// names (those wait for the end of the walk) or is no file of its own.
EntryResult WipeEntry(const engine::WorkContext& work, const std::wstring& path, bool sideBySide) {
  EntryResult result;
  result.reached = true;
  CheckedFile file = CheckEntry(path, sideBySide);
  result.check = file.Check();
  if (result.check == FileCheck::File && file.Names() > 1) {
    result.id = file.Id();
    result.names = file.Names();
  } else if (result.check == FileCheck::File || result.check == FileCheck::InUse) {
    result.outcome = engine::WipeFile(work, file, path);
    if (engine::MayBeRemoved(result.outcome)) result.removal = engine::RemoveRecycledFile(work, file);
  }
  return result;
}

void CountEntry(const engine::WorkContext& work, const std::wstring& path, const EntryResult& result, EraseRun& run) {
  if (!result.reached) {
    run.stopped = true;
    return;
  }
  switch (result.check) {
    case FileCheck::File:
      if (result.names > 1) {
        EraseRun::SharedFile& shared = run.shared[result.id];
        shared.names = result.names;
        shared.found.push_back(path);
        return;
      }
      [[fallthrough]];
    case FileCheck::InUse:
      // A file that cannot be wiped keeps the recycle bin from being emptied.
      if (!engine::MayBeRemoved(result.outcome)) {
        CountNotWiped(work, result.outcome, run);
      } else if (CountRemoval(work, result.removal, path, run)) {
        engine::CountRemoved(run.tally, result.outcome);
      }
      return;
    case FileCheck::ThroughLink:
      CountThroughLink(work, path, run);
      return;
    case FileCheck::Link:
      // It holds no content: not overwritten; the emptying removes the link.
    case FileCheck::Missing:
    case FileCheck::Folder:
    case FileCheck::HardLinked:
      return;
  }
}

// One file of a recycle-bin folder: wiped and removed, or, with several
// names, noted for the end of the walk. Given to a worker while the walk has
// them, and counted in its turn.
void ShredEntry(const engine::WorkContext& work, const std::wstring& path, EraseRun& run) {
  if (!run.workers) {
    CountEntry(work, path, WipeEntry(work, path, false), run);
    return;
  }
  auto result = std::make_shared<EntryResult>();
  run.workers->Add([path, result](const engine::WorkContext& worker) { *result = WipeEntry(worker, path, true); },
                   [&work, path, result, &run] { CountEntry(work, path, *result, run); });
}

// What the walk itself tells comes after what it has told of the files
// before.
void InTurn(EraseRun& run) {
  if (run.workers) run.workers->FinishAll();
}

void StepInTurn(CProgressDialog* progress, EraseRun& run) {
  if (!progress) return;
  if (run.workers) {
    run.workers->Then([progress] { progress->Step(); });
  } else {
    progress->Step();
  }
}

// The workers of a walk, from the folder it starts at to its end by any way
// out, where whatever they still have is finished.
class SideBySide {
 public:
  SideBySide(const engine::WorkContext& work, const std::wstring& folder, bool topLevel, EraseRun& run) : run_(run) {
    if (!topLevel || run.workers) return;
    Platform& platform = CurrentPlatform();
    const unsigned count = EraseWorkers(platform.Cores(), platform.SeekPenalty(folder));
    if (count < 2) return;  // one: the walk's own thread wipes, as it always has
    workers_.emplace(work, count);
    if (workers_->Started() == 0) {
      workers_.reset();
      return;
    }
    run.workers = &*workers_;
  }
  ~SideBySide() {
    if (!workers_) return;
    workers_.reset();
    run_.workers = nullptr;
  }
  SideBySide(const SideBySide&) = delete;
  SideBySide& operator=(const SideBySide&) = delete;

 private:
  EraseRun& run_;
  std::optional<engine::OrderedWorkers> workers_;
};

}  // namespace

long long CountRecycleBinItems(HWND owner) {
  const std::optional<std::vector<VolumeItems>> volumes = CountByVolume(owner);
  if (!volumes) return -1;
  long long total = 0;
  for (const VolumeItems& volume : *volumes) total += volume.items;
  return total;
}

std::vector<std::wstring> GetRecycleBinFolders(const std::wstring& root, const std::wstring& sidText) {
  // Each that exists is erased; a leftover of an earlier Windows hides no
  // other, and a volume with none holds nothing of this user's.
  std::vector<std::wstring> folders;
  for (const std::wstring& candidate : RecycleBinFolders(root, sidText)) {
    const DWORD attributes = GetFileAttributesW(paths::ToExtended(candidate).value_or(candidate).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;  // a link put in its place is not entered
    folders.push_back(candidate);
  }
  return folders;
}

void ShredRecycleBin(const engine::WorkContext& work, bool interactive, const SilentReport& silentReport,
                     engine::WhenTaken whenTaken) {
  // A second request of this window while one runs (a timer tick during the
  // question, say) is refused without a word.
  engine::WorkGuard guard(work.busy);
  if (!guard.Acquired()) return;
  engine::ClearStop(work);

  const HWND owner = work.owner;
  std::optional<std::vector<VolumeItems>> volumes = CountByVolume(owner);
  if (!volumes) {
    TellError(owner, texts::kAborted);
    return;
  }
  long long total = 0;
  for (const VolumeItems& volume : *volumes) total += volume.items;
  if (total == 0) return;
  if (interactive) {
    const std::wstring question = text::FormatCount(texts::kConfirmFormat, static_cast<std::int32_t>(total));
    if (wf::Prompt(owner, question, captions::kConfirm, captions::kConfirmFlags) != IDYES) return;
  }
  engine::EraseTurn turn(work, engine::EraseKind::RecycleBin, whenTaken);
  if (!turn.Taken()) return;
  if (turn.Waited()) {
    // The erase before may have taken some of it, or all: the walk and the
    // emptying go by what is there now.
    volumes = CountByVolume(owner);
    if (!volumes) {
      turn.End();
      TellError(owner, texts::kAborted);
      return;
    }
    total = 0;
    for (const VolumeItems& volume : *volumes) total += volume.items;
    if (total == 0) return;
  }

  Platform& platform = CurrentPlatform();
  // Without the SID this user's folders cannot be found, and emptying would
  // delete what is in them unwiped.
  DWORD sidError = 0;
  const std::optional<std::wstring> sid = platform.UserSid(sidError);
  if (!sid) {
    turn.End();
    TellError(owner, texts::kCannotSearch, sidError);
    TellError(owner, texts::kNotEmptied);
    return;
  }
  EraseRun run;
  for (const VolumeItems& volume : *volumes) {
    for (const std::wstring& folder : GetRecycleBinFolders(volume.root, *sid)) {
      if (!ShredRecycleBinFolder(work, folder, true, interactive, total, run)) {
        if (work.progress) work.progress->Close();
        turn.End();
        if (run.stopped) {
          TellStopped(owner);
        } else {
          TellError(owner, texts::kNotEmptied);
        }
        return;
      }
    }
  }
  // A stop pressed at any moment before the result ends the run as one.
  if (!engine::StopRequested(work)) ShredSharedFiles(work, interactive, run);
  if (run.stopped || engine::StopRequested(work)) {
    turn.End();
    TellStopped(owner);
    return;
  }
  if (run.left.Any()) {
    // Emptying now would delete those files unwiped, or could not take the
    // names that stayed; they stay, and the user can try again once whatever
    // kept them is gone.
    turn.End();
    TellError(owner, NotWipedMessage(run.left));
    return;
  }
  // Only the volumes that were walked: the platform's emptying of all of
  // them would also remove, unwiped, what lies in a bin that was not.
  for (const VolumeItems& volume : *volumes) {
    if (volume.items == 0) continue;  // nothing to empty, and the platform calls that a failure
    if (const HRESULT emptied = platform.EmptyRecycleBin(GetActiveWindow(), volume.root); emptied != S_OK) {
      turn.End();
      TellError(owner, texts::kEmptyingFailed, ErrorOf(emptied));
      return;
    }
  }
  // Files removed without being overwritten where they lie are no part of
  // "completely erased".
  const std::wstring notInPlace = engine::NotInPlaceLines(run.tally);
  const std::wstring done = notInPlace.empty() ? std::wstring(texts::kDone) : texts::kEmptiedNotAllInPlace + notInPlace;
  turn.End();
  if (interactive) {
    wf::Prompt(owner, done, captions::kInfo, captions::kInfoFlags);
  } else if (silentReport) {
    silentReport(texts::kBalloonTitle, done);
  }
  if (const std::optional<std::wstring> workFolder = paths::ToExtended(work.workFolder)) {
    if (GetFileAttributesW(workFolder->c_str()) != INVALID_FILE_ATTRIBUTES && !RemoveDirectoryW(workFolder->c_str())) {
      const DWORD error = GetLastError();
      wf::Prompt(owner, wf::WithReason(texts::kWorkFolderNotRemoved, error), work.appName, MB_ICONERROR);
    }
  }
}

bool ShredRecycleBinFolder(const engine::WorkContext& work, const std::wstring& folder, bool topLevel, bool interactive,
                           long long itemTotal, EraseRun& run) {
  CProgressDialog* const progress = interactive && topLevel ? work.progress : nullptr;
  if (progress) {
    progress->Open(work.stop);
    progress->SetTotal(static_cast<unsigned long long>(itemTotal));
  }
  const std::optional<std::wstring> extended = paths::ToExtended(folder);
  wf::UniqueFile held;
  DWORD error = ERROR_FILENAME_EXCED_RANGE;
  switch (extended ? engine::HoldFolder(*extended, 0, held, &error) : engine::FolderHold::Failed) {
    case engine::FolderHold::Held:
      break;
    case engine::FolderHold::Elsewhere:
      // Where a link led, not the bin's own folder: not entered, and the bin
      // is not emptied over what it holds.
      InTurn(run);
      CountThroughLink(work, folder, run);
      if (progress) progress->Close();
      return true;
    case engine::FolderHold::Missing:
    case engine::FolderHold::Link:
      // Gone since it was listed, or a link put in its place: nothing of the
      // recycle bin to wipe there; the emptying removes a link.
      if (progress) progress->Close();
      return true;
    case engine::FolderHold::InUse:
    case engine::FolderHold::Failed:
      InTurn(run);
      TellError(work.owner, texts::kCannotSearch, error);
      return false;
  }
  WIN32_FIND_DATAW entry;
  wf::FindHandle search = FindFirst(*extended + L"\\*", entry);
  if (!search) {
    const DWORD searchError = GetLastError();
    InTurn(run);
    TellError(work.owner, texts::kCannotSearch, searchError);
    return false;
  }
  const SideBySide sideBySide(work, folder, topLevel, run);
  do {
    const std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    engine::ServeMessages();
    if (engine::StopRequested(work)) run.stopped = true;
    if (run.stopped) return false;
    // A link, to a folder or a file, leads outside the recycle bin: it is
    // neither entered nor overwritten, and the emptying removes the link.
    // Other reparse points are files and folders whose content lies
    // elsewhere, and are erased as well as the platform allows.
    if (engine::IsLink(entry.dwFileAttributes, entry.dwReserved0)) {
      StepInTurn(progress, run);
      continue;
    }
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (!SubfolderFits(extended->size(), name.size())) {
        InTurn(run);
        TellError(work.owner, texts::kPathTooLong);
        return false;
      }
      if (!ShredRecycleBinFolder(work, folder + L"\\" + name, false, interactive, itemTotal, run)) return false;
    } else if (IsSkippedFileName(name)) {
      continue;
    } else {
      ShredEntry(work, folder + L"\\" + name, run);
      if (run.stopped) return false;
    }
    StepInTurn(progress, run);
  } while (FindNextFileW(search.Get(), &entry));
  InTurn(run);
  if (progress) progress->Close();
  return true;
}

void ShredSharedFiles(const engine::WorkContext& work, bool interactive, EraseRun& run) {
  std::vector<std::pair<engine::FileId, const EraseRun::SharedFile*>> wholly;
  for (const auto& [id, shared] : run.shared) {
    // A name outside the recycle bin still uses the content: the emptying
    // removes the names inside and leaves that one whole.
    if (shared.found.size() >= shared.names) wholly.emplace_back(id, &shared);
  }
  if (wholly.empty()) return;
  CProgressDialog* const progress = interactive ? work.progress : nullptr;
  if (progress) {
    progress->Open(work.stop);
    progress->SetTotal(wholly.size());
  }
  for (const auto& [id, shared] : wholly) {
    engine::ServeMessages();
    if (engine::StopRequested(work)) run.stopped = true;
    if (run.stopped) break;
    CheckedFile first(shared->found.front(), true);
    if (first.Check() == FileCheck::ThroughLink) CountThroughLink(work, shared->found.front(), run);
    if (first.IsFile() && first.Id() == id) {
      const engine::WipeOutcome outcome = engine::WipeFile(work, first, shared->found.front());
      if (!engine::MayBeRemoved(outcome)) {
        CountNotWiped(work, outcome, run);
      } else {
        RemoveWiped(work, first, outcome, shared->found.front(), run);
        for (std::size_t i = 1; i < shared->found.size(); ++i) {
          CheckedFile other(shared->found[i], true);
          if (other.Check() == FileCheck::ThroughLink) CountThroughLink(work, shared->found[i], run);
          if (other.IsFile() && other.Id() == id) RemoveName(work, other, shared->found[i], run);
        }
      }
    }
    if (progress) progress->Step();
  }
  if (progress) progress->Close();
}

}  // namespace recyclebin
