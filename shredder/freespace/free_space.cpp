#include "shredder/freespace/free_space.h"

#include <atomic>
#include <optional>
#include <thread>

#include "shredder/captions.h"
#include "shredder/engine/erase_turn.h"
#include "shredder/engine/progress_dialog.h"
#include "shredder/freespace/fill_folder.h"
#include "shredder/freespace/fill_run.h"
#include "shredder/freespace/free_space_rules.h"
#include "shredder/freespace/free_space_texts.h"
#include "shredder/freespace/volume.h"
#include "winframe/drives.h"
#include "winframe/prompt.h"
#include "winframe/system_error.h"
#include "winframe/worker_thread.h"

namespace freespace {
namespace {

// The progress window is brought up to date this often.
constexpr DWORD kTickMs = 250;
// A run shorter than this says little about the drive's speed.
constexpr std::uint64_t kShortestTimedRunMs = 1000;

// Set while this process has no fill folder on any drive; never closed.
HANDLE CleanEvent() {
  static const HANDLE event = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  return event;
}

// Clears CleanEvent while a fill folder of this process may be on a drive.
class Unclean {
 public:
  Unclean() { ResetEvent(CleanEvent()); }
  ~Unclean() { SetEvent(CleanEvent()); }
  Unclean(const Unclean&) = delete;
  Unclean& operator=(const Unclean&) = delete;
};

void Tell(const engine::WorkContext& work, const std::wstring& text, bool error) {
  wf::Prompt(work.owner, text, error ? captions::kError : captions::kInfo,
             error ? captions::kErrorFlags : captions::kInfoFlags);
}

// The drive the user chose, as the erase sees it: the volume it is on, read now.
struct Target {
  std::wstring root;        // the drive chosen ("S:\")
  std::wstring volumeRoot;  // the root of its volume, where the fill goes
  Volume volume;
};

// Reads the drive; the refusal's text when it is not to be erased.
std::optional<std::wstring> Check(const std::wstring& root, Target& target) {
  target.root = root;
  const std::optional<std::wstring> volumeRoot = VolumeRootOf(root);
  if (!volumeRoot) return RefusalText(Refusal::Missing, root);
  target.volumeRoot = *volumeRoot;
  const auto refused = [&](Refusal refusal) { return RefusalText(refusal, target.volumeRoot, root); };
  switch (GetDriveTypeW(target.volumeRoot.c_str())) {
    case DRIVE_FIXED:
    case DRIVE_REMOVABLE:
      break;
    case DRIVE_UNKNOWN:
    case DRIVE_NO_ROOT_DIR:
      return RefusalText(Refusal::Missing, root);
    default:  // a share's disk is the server's; a CD is not written so; a RAM disk keeps nothing past power-off
      return refused(Refusal::NotLocal);
  }
  const std::optional<Volume> volume = ReadVolume(target.volumeRoot);
  if (!volume) return refused(Refusal::NotReadable);
  target.volume = *volume;
  if (volume->readOnly) return refused(Refusal::NotWritable);
  if (volume->space.freeBytes < volume->clusterBytes) return refused(Refusal::NoFreeSpace);
  if (volume->space.callerFreeBytes < volume->clusterBytes) {
    return RefusalText(Refusal::NoReach, target.volumeRoot, root, volume->space.freeBytes);
  }
  return std::nullopt;
}

// Why the fill folder could not be made.
std::wstring FolderRefusal(const FillFolder& folder, const Target& target) {
  const FolderState& inTheWay = folder.InTheWay();
  switch (inTheWay.removal) {
    case Removal::NotOurs:
      return FolderNotOursText(target.volumeRoot, inTheWay.leftover.folder);
    case Removal::InUse:
      return FolderInUseText(target.volumeRoot);
    case Removal::Kept:
      return wf::WithReason(LeftoverText(inTheWay.leftover, LeftoverSeen::BeforeRun), inTheWay.error);
    case Removal::Removed:
    case Removal::Absent:
      break;
  }
  return wf::WithReason(RefusalText(Refusal::NotWritable, target.volumeRoot, target.root), folder.Error());
}

std::optional<Leftover> LeftBehind(const FolderState& state) {
  if (state.removal != Removal::Kept) return std::nullopt;
  return state.leftover;
}

// The drive's speed from a short timed write into the fill folder: 0 when
// too little was written to tell; the reason when the drive refused it.
struct Measured {
  std::uint64_t bytesPerSecond = 0;
  DWORD error = NO_ERROR;
};
Measured MeasureSpeed(const engine::WorkContext& work, const Target& target, const FillFolder& folder) {
  engine::WorkContext measuring = work;
  measuring.stop = nullptr;  // no progress window, nothing to stop: it takes a second
  const unsigned writers = WriterCount(std::thread::hardware_concurrency());
  FillRun probe(folder.Path(), PlanProbe(target.volume.clusterBytes, target.volume.space.callerFreeBytes, writers),
                measuring);
  const DWORD start = GetTickCount();
  FillEnd end = FillEnd::Failed;
  if (const DWORD error = wf::WhileServing([&] { end = probe.FillData(writers); }); error != NO_ERROR) {
    return {0, error};
  }
  if (end == FillEnd::Failed) return {0, probe.Error()};
  return {BytesPerSecond(probe.BytesWritten(), std::max<DWORD>(GetTickCount() - start, 1)), NO_ERROR};
}

struct RunReport {
  FillEnd fill = FillEnd::Failed;
  std::optional<FillEnd> records;
  DWORD error = NO_ERROR;
  std::uint64_t bytes = 0;
  std::uint64_t recordCount = 0;
  std::uint64_t fillMs = 0;
  std::uint64_t beyondReach = 0;
  FolderState removal;
};

enum class Phase { Filling, Records, Removing };

// The fill behind the progress window, then the removal of all it made,
// whatever ended it.
RunReport Run(const engine::WorkContext& work, const Target& target, FillFolder& folder) {
  const Volume& volume = target.volume;
  FillRun fill(folder.Path(), PlanFill(volume.clusterBytes), work);
  const bool records = FillsRecords(volume.fileSystem) && fill.PrepareRecords();
  // What the account may write is what the bar goes by; never 0 (Check).
  const std::uint64_t reachable = std::max<std::uint64_t>(volume.space.callerFreeBytes, 1);
  CProgressDialog* const progress = work.progress;
  if (progress) {
    progress->Open(work.stop);
    progress->SetTotal(1);
  }
  RunReport report;
  std::atomic<Phase> phase{Phase::Filling};
  RateMeter meter;
  const DWORD start = GetTickCount();
  const DWORD error = wf::WhileServing(
      [&] {
        report.fill = fill.FillData(WriterCount(std::thread::hardware_concurrency()));
        report.fillMs = GetTickCount() - start;
        const bool filled = report.fill == FillEnd::Full || report.fill == FillEnd::Share;
        if (records && filled) {
          phase = Phase::Records;
          report.records = fill.FillRecords();
        }
        fill.FlushFolders();
        // Read while the fill still holds its space: what is free now was
        // never written by this run.
        if (const std::optional<Space> left = ReadSpace(target.volumeRoot); left && filled) {
          report.beyondReach = BeyondReach(left->freeBytes, left->callerFreeBytes) > 0 ? left->freeBytes : 0;
        }
        phase = Phase::Removing;
        fill.LetGo();
        report.removal = folder.Remove();
      },
      [&] {
        if (!progress) return;
        const std::uint64_t bytes = fill.BytesWritten();
        meter.Add(GetTickCount() - start, bytes);
        progress->ShowWithinItem(static_cast<double>(bytes) / static_cast<double>(reachable));
        switch (phase.load()) {
          case Phase::Filling:
            progress->SetDetail(FillDetail(bytes, reachable, meter.BytesPerSecond()));
            break;
          case Phase::Records:
            progress->SetDetail(RecordsDetail(fill.Records()));
            break;
          case Phase::Removing:
            progress->SetDetail(RemovingDetail());
            break;
        }
      },
      kTickMs);
  if (error != NO_ERROR) {
    // No thread to fill with: nothing was written, and the folder goes at once.
    report.fill = FillEnd::Failed;
    report.error = error;
    report.removal = folder.Remove();
  } else if (report.fill == FillEnd::Failed) {
    report.error = fill.Error();
  }
  report.bytes = fill.BytesWritten();
  report.recordCount = fill.Records();
  if (progress) {
    progress->Step();
    progress->Close();
  }
  return report;
}

}  // namespace

void EraseFreeSpace(const engine::WorkContext& work, const std::wstring& root, const SpeedMemory& memory) {
  // The guard every erase runs under: a second one is refused without a word.
  engine::WorkGuard guard(work.busy);
  if (!guard.Acquired()) return;
  engine::ClearStop(work);
  wf::QuietDriveErrors quiet;

  Target target;
  if (const std::optional<std::wstring> refusal = Check(root, target)) return Tell(work, *refusal, true);
  // Before the question the fill folder is made and taken away again: it
  // shows that the volume's root can be written, and without a kept speed a
  // short write into it measures the drive. Nothing stays for a No.
  std::uint64_t speed = memory.recall ? memory.recall(target.volume.serial) : 0;
  {
    // The measuring write writes too: not beside another erase, which it
    // would slow down and be slowed by. It waits before the question, which
    // names the time it gives.
    std::optional<engine::EraseTurn> measuring;
    if (speed == 0) {
      measuring.emplace(work, engine::EraseKind::FreeSpace, engine::WhenTaken::Wait);
      if (!measuring->Taken()) return;
    }
    const Unclean unclean;
    FillFolder folder(target.volumeRoot);
    if (!folder.Made()) return Tell(work, FolderRefusal(folder, target), true);
    if (speed == 0) {
      const Measured measured = MeasureSpeed(work, target, folder);
      if (measured.error != NO_ERROR) {
        return Tell(work, wf::WithReason(RefusalText(Refusal::NotWritable, target.volumeRoot, root), measured.error),
                    true);
      }
      speed = measured.bytesPerSecond;
    }
  }

  Question question{.root = target.volumeRoot,
                    .freeBytes = target.volume.space.freeBytes,
                    .bytesPerSecond = speed,
                    .solidState = IsSolidState(target.volumeRoot)};
  question.beyondReach = BeyondReach(target.volume.space.freeBytes, target.volume.space.callerFreeBytes);
  question.chosenRoot = root;
  if (wf::Prompt(work.owner, QuestionText(question), captions::kConfirm, captions::kConfirmFlags) != IDYES) return;
  // Nor beside an erase of another process: the fill would leave it no room.
  engine::EraseTurn turn(work, engine::EraseKind::FreeSpace, engine::WhenTaken::Wait);
  if (!turn.Taken()) return;

  // Read again: while the question was open (or the erase waited its turn)
  // another disk may have been put in, or the space filled or freed.
  Target now;
  if (const std::optional<std::wstring> refusal = Check(root, now)) {
    turn.End();
    return Tell(work, *refusal, true);
  }
  if (now.volumeRoot != target.volumeRoot || now.volume.serial != target.volume.serial) {
    turn.End();
    return Tell(work, RefusalText(Refusal::Changed, target.volumeRoot, root), true);
  }
  RunReport report;
  {
    const Unclean unclean;
    FillFolder folder(now.volumeRoot);
    if (!folder.Made()) {
      turn.End();
      return Tell(work, FolderRefusal(folder, now), true);
    }
    report = Run(work, now, folder);
  }
  turn.End();

  const Outcome outcome = OutcomeOf({report.fill, report.records, VolumeSerial(now.volumeRoot) == now.volume.serial,
                                     report.bytes, report.beyondReach});
  const bool timed = outcome == Outcome::Done || outcome == Outcome::Reached || outcome == Outcome::Stopped;
  if (timed && report.fillMs >= kShortestTimedRunMs && memory.keep) {
    memory.keep(now.volume.serial, BytesPerSecond(report.bytes, report.fillMs));
  }
  Result result{now.volumeRoot,    outcome, report.bytes, report.recordCount, LeftBehind(report.removal),
                report.beyondReach};
  std::wstring text = ResultText(result);
  if (outcome == Outcome::WriteFailed) text = wf::WithReason(text, report.error);
  if (result.leftBehind && result.leftBehind->foreign.empty()) text = wf::WithReason(text, report.removal.error);
  Tell(work, text, outcome == Outcome::WriteFailed || outcome == Outcome::DriveChanged);
}

void CleanUpLeftovers(const engine::WorkContext& work) {
  std::wstring text;
  DWORD error = NO_ERROR;
  for (const FolderState& state : RemoveLeftoverFillFolders()) {
    if (!text.empty()) text += L"\n\n";
    text += LeftoverText(state.leftover, LeftoverSeen::AtStart);
    if (state.leftover.foreign.empty() && error == NO_ERROR) error = state.error;
  }
  if (!text.empty()) Tell(work, wf::WithReason(text, error), true);
}

bool WaitForCleanUp(DWORD timeoutMs) {
  return WaitForSingleObject(CleanEvent(), timeoutMs) == WAIT_OBJECT_0;
}

}  // namespace freespace
