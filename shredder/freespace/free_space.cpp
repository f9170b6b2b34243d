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
#include "winframe/handles.h"
#include "winframe/message_pump.h"
#include "winframe/prompt.h"

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

void Tell(const engine::WorkContext& work, const std::wstring& text, bool error) {
  wf::Prompt(work.owner, text, error ? captions::kError : captions::kInfo,
             error ? captions::kErrorFlags : captions::kInfoFlags);
}

// Runs `job` on a thread of its own while this thread serves its windows,
// calling `tick` here every kTickMs meanwhile.
template <typename Job, typename Tick>
void RunServing(Job job, Tick tick) {
  wf::UniqueHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!done) return job();
  std::thread worker([&] {
    job();
    SetEvent(done.Get());
  });
  {
    wf::MessagePump pump;
    while (!pump.Wait(done.Get(), kTickMs)) tick();
  }
  worker.join();
}

std::optional<Refusal> CheckDrive(const std::wstring& root, std::optional<Volume>& volume) {
  switch (GetDriveTypeW(root.c_str())) {
    case DRIVE_FIXED:
    case DRIVE_REMOVABLE:
      break;
    case DRIVE_UNKNOWN:
    case DRIVE_NO_ROOT_DIR:
      return Refusal::Missing;
    default:  // a share's disk is the server's; a CD is not written so; a RAM disk keeps nothing past power-off
      return Refusal::NotLocal;
  }
  volume = ReadVolume(root);
  if (!volume) return Refusal::NotReadable;
  if (volume->readOnly) return Refusal::NotWritable;
  if (volume->freeBytes < volume->clusterBytes) return Refusal::NoFreeSpace;
  return std::nullopt;
}

// The drive's speed from a short timed write into the fill folder; 0 when
// nothing could be written.
std::uint64_t MeasureSpeed(const engine::WorkContext& work, const Volume& volume, const std::wstring& root) {
  engine::WorkContext measuring = work;
  measuring.stop = nullptr;  // no progress window, nothing to stop: it takes a second
  const unsigned writers = WriterCount(std::thread::hardware_concurrency());
  FillRun probe(FillFolderPath(root), PlanProbe(volume.clusterBytes, volume.freeBytes, writers), measuring);
  const DWORD start = GetTickCount();
  FillRun::End end = FillRun::End::Failed;
  RunServing([&] { end = probe.FillData(writers); }, [] {});
  if (end == FillRun::End::Failed) return 0;
  return BytesPerSecond(probe.BytesWritten(), std::max<DWORD>(GetTickCount() - start, 1));
}

struct RunReport {
  FillRun::End fill = FillRun::End::Failed;
  FillRun::End records = FillRun::End::Full;
  std::uint64_t bytes = 0;
  std::uint64_t recordCount = 0;
  std::uint64_t fillMs = 0;
  Removal removal = Removal::Kept;
};

enum class Phase { Filling, Records, Removing };

// The fill behind the progress window, then the removal of all it made,
// whatever ended it.
RunReport Run(const engine::WorkContext& work, const std::wstring& root, const Volume& volume, wf::UniqueFile held) {
  FillRun fill(FillFolderPath(root), PlanFill(volume.clusterBytes), work);
  const bool records = FillsRecords(volume.fileSystem) && fill.PrepareRecords();
  CProgressDialog* const progress = work.progress;
  if (progress) {
    progress->Open(work.stop);
    progress->SetTotal(1);
  }
  RunReport report;
  std::atomic<Phase> phase{Phase::Filling};
  RateMeter meter;
  const DWORD start = GetTickCount();
  RunServing(
      [&] {
        report.fill = fill.FillData(WriterCount(std::thread::hardware_concurrency()));
        report.fillMs = GetTickCount() - start;
        if (records && report.fill == FillRun::End::Full) {
          phase = Phase::Records;
          report.records = fill.FillRecords();
        }
        fill.FlushFolders();
        phase = Phase::Removing;
        held.Reset();
        report.removal = RemoveFillFolder(root);
        SetEvent(CleanEvent());
      },
      [&] {
        if (!progress) return;
        const std::uint64_t bytes = fill.BytesWritten();
        meter.Add(GetTickCount() - start, bytes);
        progress->ShowWithinItem(static_cast<double>(bytes) / static_cast<double>(volume.freeBytes));
        switch (phase.load()) {
          case Phase::Filling:
            progress->SetDetail(FillDetail(bytes, volume.freeBytes, meter.BytesPerSecond()));
            break;
          case Phase::Records:
            progress->SetDetail(RecordsDetail(fill.Records()));
            break;
          case Phase::Removing:
            progress->SetDetail(RemovingDetail());
            break;
        }
      });
  report.bytes = fill.BytesWritten();
  report.recordCount = fill.Records();
  if (progress) {
    progress->Step();
    progress->Close();
  }
  return report;
}

Outcome OutcomeOf(const RunReport& report, bool sameDisk) {
  if (!sameDisk) return Outcome::DriveChanged;
  if (report.fill == FillRun::End::Failed) return Outcome::WriteFailed;
  if (report.fill == FillRun::End::Stopped || report.records == FillRun::End::Stopped) return Outcome::Stopped;
  return Outcome::Done;
}

}  // namespace

void EraseFreeSpace(const engine::WorkContext& work, const std::wstring& root, const SpeedMemory& memory) {
  // The guard every erase runs under: a second one is refused without a word.
  engine::WorkGuard guard(work.busy);
  if (!guard.Acquired()) return;
  engine::ClearStop(work);
  QuietDriveErrors quiet;

  std::optional<Volume> volume;
  if (const std::optional<Refusal> refusal = CheckDrive(root, volume)) {
    return Tell(work, RefusalText(*refusal, root), true);
  }
  // Before the question the fill folder is made and taken away again: it
  // shows that the drive can be written, and without a kept speed a short
  // write into it measures the drive. Nothing stays for a No.
  std::uint64_t speed = memory.recall ? memory.recall(volume->serial) : 0;
  // The measuring write writes too: not beside another erase, which it would
  // slow down and be slowed by. It waits before the question, which names
  // the time it gives.
  std::optional<engine::EraseTurn> measuring;
  if (speed == 0) {
    measuring.emplace(work, engine::EraseKind::FreeSpace, engine::WhenTaken::Wait);
    if (!measuring->Taken()) return;
  }
  ResetEvent(CleanEvent());
  wf::UniqueFile held = CreateFillFolder(root);
  const bool writable = static_cast<bool>(held);
  if (writable && speed == 0) speed = MeasureSpeed(work, *volume, root);
  held.Reset();
  RemoveFillFolder(root);
  SetEvent(CleanEvent());
  measuring.reset();
  if (!writable || speed == 0) return Tell(work, RefusalText(Refusal::NotWritable, root), true);

  const Question question{root, volume->freeBytes, speed, IsSolidState(root)};
  if (wf::Prompt(work.owner, QuestionText(question), captions::kConfirm, captions::kConfirmFlags) != IDYES) return;
  // Nor beside an erase of another process: the fill would leave it no room.
  engine::EraseTurn turn(work, engine::EraseKind::FreeSpace, engine::WhenTaken::Wait);
  if (!turn.Taken()) return;

  // Another disk put in while the question was open is not the one the user
  // chose; the one that is there may have more or less free space by now.
  const std::optional<Volume> now = ReadVolume(root);
  if (!now || now->serial != volume->serial) {
    turn.End();
    return Tell(work, RefusalText(Refusal::Changed, root), true);
  }
  ResetEvent(CleanEvent());
  held = CreateFillFolder(root);
  if (!held) {
    SetEvent(CleanEvent());
    turn.End();
    return Tell(work, RefusalText(Refusal::NotWritable, root), true);
  }
  const RunReport report = Run(work, root, *now, std::move(held));
  turn.End();

  const Outcome outcome = OutcomeOf(report, VolumeSerial(root) == volume->serial);
  if ((outcome == Outcome::Done || outcome == Outcome::Stopped) && report.fillMs >= kShortestTimedRunMs &&
      memory.keep) {
    memory.keep(volume->serial, BytesPerSecond(report.bytes, report.fillMs));
  }
  // A swapped disk keeps its fill files until it is back at a start.
  const bool leftBehind =
      report.removal == Removal::Kept || report.removal == Removal::InUse || outcome == Outcome::DriveChanged;
  const Result result{root, outcome, report.bytes, report.recordCount, leftBehind};
  Tell(work, ResultText(result), outcome == Outcome::WriteFailed || outcome == Outcome::DriveChanged);
}

bool WaitForCleanUp(DWORD timeoutMs) {
  return WaitForSingleObject(CleanEvent(), timeoutMs) == WAIT_OBJECT_0;
}

}  // namespace freespace
