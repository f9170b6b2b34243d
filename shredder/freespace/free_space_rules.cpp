#include "shredder/freespace/free_space_rules.h"

#include <algorithm>

#include "common/text_format.h"

namespace freespace {
namespace {

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
// As the pass writer's pieces: large enough to keep the device busy, small
// enough that a stop takes effect at once; and where the platform copies the
// data (Wine), a piece still in the processor's cache is copied several times
// faster than one of 4 MiB that is not.
constexpr std::uint64_t kFillWriteBytes = kMiB;
constexpr std::uint64_t kFillFileBytes = 1024 * kMiB;
constexpr std::uint64_t kProbeBytes = 64 * kMiB;
constexpr std::uint32_t kProbeMs = 1000;
constexpr unsigned kMostWriters = 32;
// Within a file the writer also flushes every so many bytes: where the
// platform buffers after all (Wine does), the device writes while the
// stream is made, and little is left to write when a stop comes.
constexpr std::uint64_t kFlushEveryBytes = 64 * kMiB;
// A full fill leaves less than a cluster per writer; the free space that
// the account may not write is told from there on.
constexpr std::uint64_t kReachSlackBytes = 1 * kMiB;
// The speed is taken over about this much of the latest run.
constexpr std::uint64_t kRateWindowMs = 5000;

// `bytes` in whole clusters, at least one.
std::uint64_t WholeClusters(std::uint64_t bytes, std::uint64_t clusterBytes) {
  return std::max(clusterBytes, bytes / clusterBytes * clusterBytes);
}

template <typename Char>
bool IsLowerHex(Char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

bool IsFillFileName(std::wstring_view name) {
  constexpr std::wstring_view kPrefix = L"fill-";
  constexpr std::wstring_view kSuffix = L".tmp";
  if (name.size() != kPrefix.size() + 8 + kSuffix.size()) return false;
  if (name.substr(0, kPrefix.size()) != kPrefix || name.substr(name.size() - kSuffix.size()) != kSuffix) return false;
  const std::wstring_view digits = name.substr(kPrefix.size(), 8);
  return std::all_of(digits.begin(), digits.end(), IsLowerHex<wchar_t>);
}

template <std::size_t N>
bool IsOneOf(std::wstring_view name, const wchar_t* const (&names)[N]) {
  return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

}  // namespace

std::wstring FillFileName(std::uint32_t number) {
  return L"fill-" + text::EightHexDigits(number) + L".tmp";
}

std::wstring RunIdentity(const std::uint8_t (&random)[16]) {
  std::wstring identity;
  for (const std::uint8_t byte : random) {
    identity += L"0123456789abcdef"[byte >> 4];
    identity += L"0123456789abcdef"[byte & 0xF];
  }
  return identity;
}

bool MarkerNamesRun(std::string_view markerContent, const std::vector<std::wstring>& runs) {
  if (markerContent.size() != kRunIdentityDigits) return false;
  if (!std::all_of(markerContent.begin(), markerContent.end(), IsLowerHex<char>)) return false;
  const std::wstring identity(markerContent.begin(), markerContent.end());
  return std::find(runs.begin(), runs.end(), identity) != runs.end();
}

FillEntry ClassifyEntry(std::wstring_view name, bool isFolder, bool isLink, bool inRecordTree) {
  if (isLink) return FillEntry::Foreign;
  if (inRecordTree) {
    if (isFolder) return IsOneOf(name, kRecordFolders) ? FillEntry::RecordFolder : FillEntry::Foreign;
    return IsOneOf(name, kRecordFiles) ? FillEntry::FillFile : FillEntry::Foreign;
  }
  if (isFolder) return name == kRecordTreeName ? FillEntry::RecordFolder : FillEntry::Foreign;
  if (name == kMarkerName) return FillEntry::Marker;
  return IsFillFileName(name) ? FillEntry::FillFile : FillEntry::Foreign;
}

bool FillsRecords(std::wstring_view fileSystem) {
  return fileSystem == L"NTFS";
}

FillPlan PlanFill(std::uint64_t clusterBytes) {
  FillPlan plan;
  plan.clusterBytes = std::max<std::uint64_t>(clusterBytes, 1);
  plan.writeBytes = WholeClusters(kFillWriteBytes, plan.clusterBytes);
  plan.fileBytes = std::max(plan.writeBytes, kFillFileBytes / plan.writeBytes * plan.writeBytes);
  return plan;
}

FillPlan PlanProbe(std::uint64_t clusterBytes, std::uint64_t freeBytes, unsigned writers) {
  FillPlan plan = PlanFill(clusterBytes);
  const std::uint64_t share = std::min(kProbeBytes, freeBytes / 8) / std::max(writers, 1u);
  plan.fileBytes = WholeClusters(share, plan.clusterBytes);
  plan.writeBytes = std::min(plan.writeBytes, plan.fileBytes);
  plan.fileBytes = plan.fileBytes / plan.writeBytes * plan.writeBytes;
  plan.filesPerWriter = 1;
  plan.timeLimitMs = kProbeMs;
  return plan;
}

std::uint64_t WriteAfterFull(std::uint64_t failedBytes, std::uint64_t clusterBytes) {
  if (clusterBytes == 0) return 0;
  return failedBytes / 2 / clusterBytes * clusterBytes;
}

FileFill FillOneFile(const FillPlan& plan, FillFileTarget& file) {
  using WriteEnd = FillFileTarget::WriteEnd;
  std::uint64_t write = plan.writeBytes;
  std::uint64_t written = 0;
  std::uint64_t unflushed = 0;
  FileFill end = FileFill::Written;
  while (written < plan.fileBytes) {
    if (file.Ending()) {
      end = FileFill::Ended;
      break;
    }
    write = std::min(write, plan.fileBytes - written);
    const FillFileTarget::Written done = file.Write(write);
    written += done.bytes;
    unflushed += done.bytes;
    if (done.end == WriteEnd::Whole) {
      if (unflushed >= kFlushEveryBytes) {
        if (!file.Flush()) return FileFill::Failed;
        unflushed = 0;
      }
      continue;
    }
    if (done.end == WriteEnd::Refused) {
      end = FileFill::Failed;
      break;
    }
    // A new file would need room in the folder's index that a full volume
    // no longer has: what is left is taken in this one.
    end = FileFill::NoRoom;
    write = WriteAfterFull(write, plan.clusterBytes);
    if (write == 0) break;
  }
  if (!file.Flush()) return FileFill::Failed;
  return end;
}

std::uint64_t BeyondReach(std::uint64_t volumeFree, std::uint64_t callerFree) {
  return volumeFree > callerFree + kReachSlackBytes ? volumeFree - callerFree : 0;
}

Outcome OutcomeOf(const RunEnds& ends) {
  if (!ends.sameDisk) return Outcome::DriveChanged;
  if (ends.data == FillEnd::Failed || ends.records == FillEnd::Failed) return Outcome::WriteFailed;
  if (ends.data == FillEnd::Stopped || ends.records == FillEnd::Stopped) return Outcome::Stopped;
  if (ends.beyondReach > 0) return Outcome::Reached;
  if (ends.bytesWritten == 0) return Outcome::NothingToWrite;
  return Outcome::Done;
}

unsigned WriterCount(unsigned cores) {
  return std::clamp(2 * cores, 2u, kMostWriters);
}

std::uint64_t BytesPerSecond(std::uint64_t bytes, std::uint64_t milliseconds) {
  if (milliseconds == 0) return 0;
  // In two steps, so that no product overflows for any size a disk has.
  return bytes / milliseconds * 1000 + bytes % milliseconds * 1000 / milliseconds;
}

std::optional<std::uint64_t> SecondsFor(std::uint64_t bytes, std::uint64_t bytesPerSecond) {
  if (bytesPerSecond == 0) return std::nullopt;
  return bytes / bytesPerSecond + (bytes % bytesPerSecond != 0 ? 1 : 0);
}

void RateMeter::Add(std::uint64_t milliseconds, std::uint64_t totalBytes) {
  samples_.push_back({milliseconds, totalBytes});
  // Keep one sample at or before the window's start, so that the window is full.
  while (samples_.size() > 2 && milliseconds - samples_[1].milliseconds >= kRateWindowMs) samples_.pop_front();
}

std::uint64_t RateMeter::BytesPerSecond() const {
  if (samples_.size() < 2) return 0;
  const Sample& first = samples_.front();
  const Sample& last = samples_.back();
  if (last.totalBytes < first.totalBytes) return 0;
  return freespace::BytesPerSecond(last.totalBytes - first.totalBytes, last.milliseconds - first.milliseconds);
}

}  // namespace freespace
