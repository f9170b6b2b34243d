// Texts of the free-space erase (code page 932 at run time), and the
// composition of those that carry a drive, a size, a speed or a time. In the
// texts, each "%s" takes what the function that composes it puts there, in
// order.
#pragma once

#include <cstdint>
#include <string>

#include "shredder/freespace/free_space_rules.h"

namespace freespace {
namespace texts {

// A drive's root ("D:\").
inline constexpr wchar_t kDrive[] = L"ドライブ %s";
inline constexpr wchar_t kBytes[] = L"%s バイト";
inline constexpr wchar_t kPerSecond[] = L"%s/秒";
inline constexpr wchar_t kWithinAMinute[] = L"1 分以内";
inline constexpr wchar_t kAboutMinutes[] = L"約 %s 分";
inline constexpr wchar_t kAboutHours[] = L"約 %s 時間";
inline constexpr wchar_t kAboutHoursMinutes[] = L"約 %s 時間 %s 分";

// Refusals: the drive.
inline constexpr wchar_t kMissing[] = L"%s が見つかりません。";
inline constexpr wchar_t kNotLocal[] =
    L"%s は空き領域を抹消できる種類のドライブではありません。"
    L"空き領域を抹消できるのは、固定ドライブとリムーバブル ドライブだけです。";
inline constexpr wchar_t kNotReadable[] = L"%s の情報を読み取れません。ディスクが入っているか確認してください。";
inline constexpr wchar_t kNotWritable[] = L"%s に書き込めないため、空き領域を抹消できません。";
inline constexpr wchar_t kNoFreeSpace[] = L"%s には抹消する空き領域がありません。";
inline constexpr wchar_t kChanged[] = L"%s のディスクが入れ替えられたため、空き領域を抹消しませんでした。";

// The question: the drive and its free space; then the speed and the time.
inline constexpr wchar_t kQuestion[] =
    L"%s の空き領域 %s を完全に抹消しますか？\n\n"
    L"空き領域を疑似乱数のファイルで埋めてから、そのファイルを削除します。";
inline constexpr wchar_t kEndsWithin[] = L"1 秒あたり %s の速さで、%sに終わります。";
inline constexpr wchar_t kTakes[] = L"1 秒あたり %s の速さで、%sかかります。";
inline constexpr wchar_t kSpaceGoesMeanwhile[] = L"抹消している間、このドライブの空き領域はなくなります。";
inline constexpr wchar_t kSolidState[] =
    L"\n\nこのドライブは SSD (フラッシュ メモリ) です。フラッシュ メモリでは、"
    L"上書きの届かない予備の領域などに、以前のデータが残ることがあります。";

// Under the bar: done of total; then the speed, then the time left.
inline constexpr wchar_t kFillDetail[] = L"%s / %s";
inline constexpr wchar_t kDetailSpeed[] = L"、%s";
inline constexpr wchar_t kDetailTimeLeft[] = L"、残り %s";
inline constexpr wchar_t kRecordsDetail[] = L"ファイル管理領域の空きを上書き中 (%s 個)";
inline constexpr wchar_t kRemovingDetail[] = L"抹消に使ったファイルを削除中...";

// Results: the drive, and a size or a count.
inline constexpr wchar_t kDone[] = L"%s の空き領域 %s を完全に抹消しました。";
inline constexpr wchar_t kRecordsToo[] = L"ファイル管理領域 (MFT) の空きレコード %s 個も上書きしました。";
inline constexpr wchar_t kStopped[] = L"%s の空き領域の抹消を中止しました。";
inline constexpr wchar_t kWriteFailed[] = L"%s に書き込めなくなったため、空き領域の抹消を中止しました。";
inline constexpr wchar_t kOverwrittenUntilThen[] = L"中止するまでに %s を上書きしました。";
inline constexpr wchar_t kDriveChanged[] = L"%s のディスクが途中で入れ替えられたため、空き領域の抹消を中止しました。";
inline constexpr wchar_t kLeftBehind[] =
    L"\n抹消に使ったファイルの一部を削除できませんでした。次に MORVANE Shredder を起動したときに削除します。";

// The drive list: a drive without a label goes by its kind.
inline constexpr wchar_t kRemovableDisk[] = L"リムーバブル ディスク";
inline constexpr wchar_t kLocalDisk[] = L"ローカル ディスク";
inline constexpr wchar_t kDriveFree[] = L"空き %s / %s";

}  // namespace texts

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
