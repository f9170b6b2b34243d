#include "shredder/freespace/free_space_texts.h"

#include <algorithm>

#include "common/text_format.h"
#include "shredder/freespace/free_space_rules.h"

namespace freespace {
namespace {

using text::FormatTexts;

std::wstring Drive(const std::wstring& root) {
  return VolumeName(root);
}

// The sentence that says which volume a substituted drive is on, or nothing.
std::wstring SubstitutedDrive(const std::wstring& chosenRoot, const std::wstring& volumeRoot) {
  if (chosenRoot.empty() || chosenRoot == volumeRoot) return {};
  return FormatTexts(texts::kSubstitutedDrive, {FormatTexts(texts::kDrive, {chosenRoot}), VolumeName(volumeRoot)});
}

std::wstring Number(std::uint64_t value) {
  return std::to_wstring(value);
}

}  // namespace

std::wstring FormatBytes(std::uint64_t bytes) {
  constexpr const wchar_t* kUnits[] = {L"KB", L"MB", L"GB", L"TB", L"PB"};
  if (bytes < 1024) return FormatTexts(texts::kBytes, {Number(bytes)});
  std::size_t unit = 0;
  std::uint64_t size = 1024;
  while (unit + 1 < std::size(kUnits) && bytes / size >= 1024) {
    size *= 1024;
    ++unit;
  }
  const std::uint64_t whole = bytes / size;
  const std::uint64_t rest = bytes % size;
  std::wstring text = Number(whole);
  // Three figures in all: the remainder is below `size` (at most 2^50), so
  // the products fit.
  if (whole < 10) {
    const std::uint64_t hundredths = rest * 100 / size;
    text += L"." + Number(hundredths / 10) + Number(hundredths % 10);
  } else if (whole < 100) {
    text += L"." + Number(rest * 10 / size);
  }
  return text + L" " + kUnits[unit];
}

std::wstring FormatDuration(std::uint64_t seconds) {
  if (seconds <= 60) return texts::kWithinAMinute;
  const std::uint64_t minutes = (seconds + 59) / 60;
  if (minutes < 60) return FormatTexts(texts::kAboutMinutes, {Number(minutes)});
  if (minutes % 60 == 0) return FormatTexts(texts::kAboutHours, {Number(minutes / 60)});
  return FormatTexts(texts::kAboutHoursMinutes, {Number(minutes / 60), Number(minutes % 60)});
}

std::wstring VolumeName(const std::wstring& root) {
  // "D:\" and nothing more is a drive; any longer root is a folder.
  if (root.size() == 3 && root[1] == L':') return FormatTexts(texts::kDrive, {root});
  return FormatTexts(texts::kMountedVolume, {root});
}

std::wstring RefusalText(Refusal refusal, const std::wstring& root, const std::wstring& chosenRoot,
                         std::uint64_t freeBytes) {
  return SubstitutedDrive(chosenRoot, root) + [&]() -> std::wstring {
    switch (refusal) {
      case Refusal::Missing:
        return FormatTexts(texts::kMissing, {Drive(root)});
      case Refusal::NotLocal:
        return FormatTexts(texts::kNotLocal, {Drive(root)});
      case Refusal::NotReadable:
        return FormatTexts(texts::kNotReadable, {Drive(root)});
      case Refusal::NotWritable:
        return FormatTexts(texts::kNotWritable, {Drive(root)});
      case Refusal::NoFreeSpace:
        return FormatTexts(texts::kNoFreeSpace, {Drive(root)});
      case Refusal::NoReach:
        return FormatTexts(texts::kNoReach, {Drive(root), FormatBytes(freeBytes)});
      case Refusal::Changed:
        return FormatTexts(texts::kChanged, {Drive(root)});
    }
    return {};
  }();
}

std::wstring LeftoverText(const Leftover& leftover, LeftoverSeen seen) {
  const std::wstring size = FormatBytes(leftover.bytes);
  if (!leftover.foreign.empty()) {
    const wchar_t* const holds =
        seen == LeftoverSeen::AfterRun ? texts::kLeftBehindHoldsForeign : texts::kLeftoverHoldsForeign;
    return FormatTexts(holds, {leftover.folder, size, leftover.foreign}) +
           FormatTexts(
               seen == LeftoverSeen::BeforeRun ? texts::kMoveForeignThenAgain : texts::kMoveForeignThenNextStart,
               {leftover.foreign});
  }
  switch (seen) {
    case LeftoverSeen::BeforeRun:
      return FormatTexts(texts::kLeftoverNotRemovedBeforeRun, {leftover.folder, size});
    case LeftoverSeen::AfterRun:
      return FormatTexts(texts::kLeftBehind, {leftover.folder, size});
    case LeftoverSeen::AtStart:
      break;
  }
  return FormatTexts(texts::kLeftoverNotRemoved, {leftover.folder, size});
}

std::wstring FolderNotOursText(const std::wstring& root, const std::wstring& folder) {
  return FormatTexts(texts::kFolderNotOurs, {Drive(root), folder});
}

std::wstring FolderInUseText(const std::wstring& root) {
  return FormatTexts(texts::kFolderInUse, {Drive(root)});
}

std::wstring QuestionText(const Question& question) {
  std::wstring text = SubstitutedDrive(question.chosenRoot, question.root) +
                      FormatTexts(texts::kQuestion, {Drive(question.root), FormatBytes(question.freeBytes)});
  const std::uint64_t beyond = std::min(question.beyondReach, question.freeBytes);
  const std::uint64_t reachable = question.freeBytes - beyond;
  if (beyond > 0) text += FormatTexts(texts::kReachLimited, {FormatBytes(reachable), FormatBytes(beyond)});
  if (const std::optional<std::uint64_t> seconds = SecondsFor(reachable, question.bytesPerSecond)) {
    text += FormatTexts(*seconds <= 60 ? texts::kEndsWithin : texts::kTakes,
                        {FormatBytes(question.bytesPerSecond), FormatDuration(*seconds)});
  }
  text += texts::kSpaceGoesMeanwhile;
  if (question.solidState) text += texts::kSolidState;
  return text;
}

std::wstring FillDetail(std::uint64_t doneBytes, std::uint64_t totalBytes, std::uint64_t bytesPerSecond) {
  std::wstring text = FormatTexts(texts::kFillDetail, {FormatBytes(doneBytes), FormatBytes(totalBytes)});
  if (bytesPerSecond == 0) return text;
  text += FormatTexts(texts::kDetailSpeed, {FormatTexts(texts::kPerSecond, {FormatBytes(bytesPerSecond)})});
  const std::uint64_t left = totalBytes > doneBytes ? totalBytes - doneBytes : 0;
  if (const std::optional<std::uint64_t> seconds = SecondsFor(left, bytesPerSecond)) {
    text += FormatTexts(texts::kDetailTimeLeft, {FormatDuration(*seconds)});
  }
  return text;
}

std::wstring RecordsDetail(std::uint64_t records) {
  return FormatTexts(texts::kRecordsDetail, {Number(records)});
}

std::wstring RemovingDetail() {
  return texts::kRemovingDetail;
}

std::wstring ResultText(const Result& result) {
  const std::wstring drive = Drive(result.root);
  const std::wstring overwritten = FormatTexts(texts::kOverwrittenUntilThen, {FormatBytes(result.bytesWritten)});
  std::wstring text;
  switch (result.outcome) {
    case Outcome::Done:
      text = FormatTexts(texts::kDone, {drive, FormatBytes(result.bytesWritten)});
      if (result.records > 0) text += FormatTexts(texts::kRecordsToo, {Number(result.records)});
      break;
    case Outcome::Reached:
      text = FormatTexts(texts::kReached, {drive, FormatBytes(result.bytesWritten + result.beyondReach),
                                           FormatBytes(result.bytesWritten), FormatBytes(result.beyondReach)});
      if (result.records > 0) text += FormatTexts(texts::kRecordsToo, {Number(result.records)});
      break;
    case Outcome::NothingToWrite:
      text = FormatTexts(texts::kNoFreeSpace, {drive});
      break;
    case Outcome::Stopped:
      text = FormatTexts(texts::kStopped, {drive}) + overwritten;
      break;
    case Outcome::WriteFailed:
      text = FormatTexts(texts::kWriteFailed, {drive}) + overwritten;
      break;
    case Outcome::DriveChanged:
      text = FormatTexts(texts::kDriveChanged, {drive});
      break;
  }
  if (result.leftBehind) text += L"\n" + LeftoverText(*result.leftBehind, LeftoverSeen::AfterRun);
  return text;
}

std::wstring DriveLine(const std::wstring& root, const std::wstring& label, bool removable, std::uint64_t freeBytes,
                       std::uint64_t totalBytes) {
  const std::wstring name = !label.empty() ? label : removable ? texts::kRemovableDisk : texts::kLocalDisk;
  return root + L"\t" + name + L"\t" +
         FormatTexts(texts::kDriveFree, {FormatBytes(freeBytes), FormatBytes(totalBytes)});
}

}  // namespace freespace
