// Texts of the free-space erase (code page 932 at run time), and the
// composition of those that carry a drive, a size, a speed or a time.
#pragma once

#include <cstdint>
#include <string>

namespace freespace {

// A size as the system shows one: "512 バイト", "1.50 KB", "12.3 GB", "512 MB"
// (units of 1,024, three figures, cut rather than rounded up).
std::wstring FormatBytes(std::uint64_t bytes);
// A time to come: "1 分以内", "約 4 分", "約 1 時間 5 分", "約 2 時間" (minutes
// rounded up).
std::wstring FormatDuration(std::uint64_t seconds);

// Why a drive is not erased; told before anything is written.
enum class Refusal {
  Missing,      // no such drive
  NotLocal,     // a network, CD or RAM drive
  NotReadable,  // its volume cannot be read (no disk in it)
  NotWritable,  // read-only, or the fill folder cannot be made
  NoFreeSpace,  // less than one cluster free
  Changed,      // another disk is in the drive than the one asked about
};
std::wstring RefusalText(Refusal refusal, const std::wstring& root);

struct Question {
  std::wstring root;
  std::uint64_t freeBytes = 0;
  std::uint64_t bytesPerSecond = 0;
  bool solidState = false;
};
std::wstring QuestionText(const Question& question);

// The line under the bar while the fill runs: done of total, speed, time left.
std::wstring FillDetail(std::uint64_t doneBytes, std::uint64_t totalBytes, std::uint64_t bytesPerSecond);
std::wstring RecordsDetail(std::uint64_t records);
std::wstring RemovingDetail();

enum class Outcome {
  Done,          // filled to the last cluster (and every free record taken)
  Stopped,       // the user stopped it, or the session ended
  WriteFailed,   // the drive stopped taking writes for another reason than being full
  DriveChanged,  // another disk was in the drive at the end
};
struct Result {
  std::wstring root;
  Outcome outcome = Outcome::Done;
  std::uint64_t bytesWritten = 0;
  std::uint64_t records = 0;
  bool leftBehind = false;  // fill files that could not be removed now
};
std::wstring ResultText(const Result& result);

// A line of the drive list: root, label (for a drive without one, what the
// system calls its kind) and free of total, apart by tabs.
std::wstring DriveLine(const std::wstring& root, const std::wstring& label, bool removable, std::uint64_t freeBytes,
                       std::uint64_t totalBytes);

}  // namespace freespace
