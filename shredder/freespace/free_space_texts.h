// Texts of the free-space erase (code page 932 at run time), and the
// composition of those that carry a drive, a size, a speed or a time. In the
// texts, each "%s" takes what the function that composes it puts there, in
// order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "shredder/freespace/free_space_rules.h"

namespace freespace {
namespace texts {

// A drive's root ("D:\"); a volume that has no drive of its own, by the
// folder where it is mounted.
inline constexpr wchar_t kDrive[] = L"ドライブ %s";
inline constexpr wchar_t kMountedVolume[] = L"フォルダ \"%s\" にマウントされたボリューム";
// A drive letter for a folder of another volume (subst): the drive, its volume.
inline constexpr wchar_t kSubstitutedDrive[] = L"%s は、%s にあるフォルダを割り当てたドライブです。";
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
// The volume, its free space.
inline constexpr wchar_t kNoReach[] =
    L"%s の空き領域 %s は、ディスク クォータなどの制限により、このアカウントからは書き込めないため、抹消できません。";
inline constexpr wchar_t kChanged[] = L"%s のディスクが入れ替えられたため、空き領域を抹消しませんでした。";

// The fill folder's place holds something that is not a fill folder of ours:
// the volume, the folder.
inline constexpr wchar_t kFolderNotOurs[] =
    L"%s には、MORVANE Shredder が作ったものではないフォルダ \"%s\" があるため、空き領域を抹消できません。"
    L"このフォルダには手を付けません。中身を確かめて、名前を変えるか別の場所に移してから、もう一度実行してください。";
// The volume.
inline constexpr wchar_t kFolderInUse[] =
    L"%s では、ほかの空き領域の抹消を実行中です。終わってから、もう一度実行してください。";
// A folder of an earlier run that stays: the folder, what it holds, and (for
// the first two) the first entry that is not ours.
inline constexpr wchar_t kLeftoverHoldsForeign[] =
    L"以前の空き領域の抹消で残ったフォルダ \"%s\" (%s) には、MORVANE Shredder が作ったものではない \"%s\" "
    L"があるため、このフォルダを削除できません。";
inline constexpr wchar_t kMoveForeignThenAgain[] = L"\"%s\" を別の場所に移してから、もう一度実行してください。";
inline constexpr wchar_t kMoveForeignThenNextStart[] =
    L"\"%s\" を別の場所に移せば、次に MORVANE Shredder を起動したときに、このフォルダを削除します。";
inline constexpr wchar_t kLeftoverNotRemovedBeforeRun[] =
    L"以前の空き領域の抹消で残ったフォルダ \"%s\" (%s) を削除できないため、空き領域を抹消できません。";
inline constexpr wchar_t kLeftoverNotRemoved[] =
    L"以前の空き領域の抹消で残ったフォルダ \"%s\" (%s) を削除できませんでした。"
    L"次に MORVANE Shredder を起動したときに、もう一度削除します。";

// The question: the drive and its free space; then the speed and the time.
inline constexpr wchar_t kQuestion[] =
    L"%s の空き領域 %s を完全に抹消しますか？\n\n"
    L"空き領域を疑似乱数のファイルで埋めてから、そのファイルを削除します。";
inline constexpr wchar_t kEndsWithin[] = L"1 秒あたり %s の速さで、%sに終わります。";
inline constexpr wchar_t kTakes[] = L"1 秒あたり %s の速さで、%sかかります。";
// What the account may write of the free space, and the rest.
inline constexpr wchar_t kReachLimited[] =
    L"ディスク クォータなどの制限により、このアカウントが書き込めるのは、そのうち %s だけです。"
    L"残りの %s は上書きできません。";
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
// The volume, its free space, what was overwritten and what was beyond reach.
inline constexpr wchar_t kReached[] =
    L"%s の空き領域 %s のうち %s を上書きしました。"
    L"残りの %s は、このアカウントからは書き込めないため、上書きできませんでした。";
inline constexpr wchar_t kStopped[] = L"%s の空き領域の抹消を中止しました。";
inline constexpr wchar_t kWriteFailed[] = L"%s に書き込めなくなったため、空き領域の抹消を中止しました。";
inline constexpr wchar_t kOverwrittenUntilThen[] = L"中止するまでに %s を上書きしました。";
inline constexpr wchar_t kDriveChanged[] = L"%s のディスクが途中で入れ替えられたため、空き領域の抹消を中止しました。";
// The folder and what stays of it.
inline constexpr wchar_t kLeftBehind[] =
    L"抹消に使ったフォルダ \"%s\" (%s) の一部を削除できませんでした。次に MORVANE Shredder "
    L"を起動したときに削除します。";
inline constexpr wchar_t kLeftBehindHoldsForeign[] =
    L"抹消に使ったフォルダ \"%s\" (%s) には、MORVANE Shredder が作ったものではない \"%s\" があるため、"
    L"このフォルダを削除できませんでした。";

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

// The volume at `root` as the texts name it: "ドライブ D:\\" for a drive's
// root, by its folder otherwise ("C:\\mnt\\data\\").
std::wstring VolumeName(const std::wstring& root);

// Why a drive is not erased; told before anything is written.
enum class Refusal {
  Missing,      // no such drive
  NotLocal,     // a network, CD or RAM drive
  NotReadable,  // its volume cannot be read (no disk in it)
  NotWritable,  // read-only, or the fill folder cannot be made
  NoFreeSpace,  // less than one cluster free
  NoReach,      // free space, but none that this account may write (a quota, a reserve)
  Changed,      // another disk is in the drive than the one asked about
};
// `root` is the volume's root; the drive the user chose when it is only a
// letter for a folder of that volume (`chosenRoot`, which the text then
// names too).
// `freeBytes`: the volume's, for NoReach.
std::wstring RefusalText(Refusal refusal, const std::wstring& root, const std::wstring& chosenRoot = {},
                         std::uint64_t freeBytes = 0);

// A fill folder of an earlier run that stays, as the texts tell it.
struct Leftover {
  std::wstring folder;      // its path as the user knows it ("D:\\MORVANE-Shredder-FreeSpaceFill")
  std::uint64_t bytes = 0;  // what stays of it
  std::wstring foreign;     // the first entry in it that is not ours (kept); empty when ours could not be deleted
};
enum class LeftoverSeen {
  BeforeRun,  // in the way of a new run, which is not made
  AfterRun,   // what a run could not take away
  AtStart,    // what the clean-up at a start could not take away
};
std::wstring LeftoverText(const Leftover& leftover, LeftoverSeen seen);
// A folder of the fill folder's name that is not ours, on the volume at `root`.
std::wstring FolderNotOursText(const std::wstring& root, const std::wstring& folder);
std::wstring FolderInUseText(const std::wstring& root);

struct Question {
  std::wstring root;            // the volume's root
  std::uint64_t freeBytes = 0;  // all the volume has free
  std::uint64_t bytesPerSecond = 0;
  bool solidState = false;
  std::uint64_t beyondReach = 0;  // of freeBytes, what the account may not write (BeyondReach)
  std::wstring chosenRoot = {};   // the drive chosen, when it is only a letter for a folder of the volume
};
std::wstring QuestionText(const Question& question);

// The line under the bar while the fill runs: done of total, speed, time left.
std::wstring FillDetail(std::uint64_t doneBytes, std::uint64_t totalBytes, std::uint64_t bytesPerSecond);
std::wstring RecordsDetail(std::uint64_t records);
std::wstring RemovingDetail();

struct Result {
  std::wstring root;  // the volume's root
  Outcome outcome = Outcome::Done;
  std::uint64_t bytesWritten = 0;
  std::uint64_t records = 0;
  std::optional<Leftover> leftBehind;  // what of the fill could not be removed now
  std::uint64_t beyondReach = 0;       // for Reached: what stayed free beyond the account's reach
};
std::wstring ResultText(const Result& result);

// A line of the drive list: root, label (for a drive without one, what the
// system calls its kind) and free of total, apart by tabs.
std::wstring DriveLine(const std::wstring& root, const std::wstring& label, bool removable, std::uint64_t freeBytes,
                       std::uint64_t totalBytes);

}  // namespace freespace
