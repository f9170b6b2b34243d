#include "shredder/freespace/free_space_texts.h"

#include "shredder/freespace/free_space_rules.h"

namespace freespace {
namespace {

std::wstring Drive(const std::wstring& root) {
  return L"ドライブ " + root;
}

std::wstring Overwritten(std::uint64_t bytes) {
  return L"中止するまでに " + FormatBytes(bytes) + L" を上書きしました。";
}

std::wstring Speed(std::uint64_t bytesPerSecond) {
  return FormatBytes(bytesPerSecond) + L"/秒";
}

}  // namespace

std::wstring FormatBytes(std::uint64_t bytes) {
  constexpr const wchar_t* kUnits[] = {L"KB", L"MB", L"GB", L"TB", L"PB"};
  if (bytes < 1024) return std::to_wstring(bytes) + L" バイト";
  std::size_t unit = 0;
  std::uint64_t size = 1024;
  while (unit + 1 < std::size(kUnits) && bytes / size >= 1024) {
    size *= 1024;
    ++unit;
  }
  const std::uint64_t whole = bytes / size;
  const std::uint64_t rest = bytes % size;
  std::wstring text = std::to_wstring(whole);
  // Three figures in all: the remainder is below `size` (at most 2^50), so
  // the products fit.
  if (whole < 10) {
    const std::uint64_t hundredths = rest * 100 / size;
    text += L"." + std::to_wstring(hundredths / 10) + std::to_wstring(hundredths % 10);
  } else if (whole < 100) {
    text += L"." + std::to_wstring(rest * 10 / size);
  }
  return text + L" " + kUnits[unit];
}

std::wstring FormatDuration(std::uint64_t seconds) {
  if (seconds <= 60) return L"1 分以内";
  const std::uint64_t minutes = (seconds + 59) / 60;
  if (minutes < 60) return L"約 " + std::to_wstring(minutes) + L" 分";
  std::wstring text = L"約 " + std::to_wstring(minutes / 60) + L" 時間";
  if (minutes % 60 != 0) text += L" " + std::to_wstring(minutes % 60) + L" 分";
  return text;
}

std::wstring RefusalText(Refusal refusal, const std::wstring& root) {
  switch (refusal) {
    case Refusal::Missing:
      return Drive(root) + L" が見つかりません。";
    case Refusal::NotLocal:
      return Drive(root) +
             L" は空き領域を抹消できる種類のドライブではありません。"
             L"空き領域を抹消できるのは、固定ドライブとリムーバブル ドライブだけです。";
    case Refusal::NotReadable:
      return Drive(root) + L" の情報を読み取れません。ディスクが入っているか確認してください。";
    case Refusal::NotWritable:
      return Drive(root) + L" に書き込めないため、空き領域を抹消できません。";
    case Refusal::NoFreeSpace:
      return Drive(root) + L" には抹消する空き領域がありません。";
    case Refusal::Changed:
      return Drive(root) + L" のディスクが入れ替えられたため、空き領域を抹消しませんでした。";
  }
  return {};
}

std::wstring QuestionText(const Question& question) {
  std::wstring text = Drive(question.root) + L" の空き領域 " + FormatBytes(question.freeBytes) +
                      L" を完全に抹消しますか？\n\n"
                      L"空き領域を疑似乱数のファイルで埋めてから、そのファイルを削除します。";
  if (const std::optional<std::uint64_t> seconds = SecondsFor(question.freeBytes, question.bytesPerSecond)) {
    text += L"1 秒あたり " + FormatBytes(question.bytesPerSecond) + L" の速さで、" + FormatDuration(*seconds) +
            (*seconds <= 60 ? L"に終わります。" : L"かかります。");
  }
  text += L"抹消している間、このドライブの空き領域はなくなります。";
  if (question.solidState) {
    text +=
        L"\n\nこのドライブは SSD (フラッシュ メモリ) です。フラッシュ メモリでは、"
        L"上書きの届かない予備の領域などに、以前のデータが残ることがあります。";
  }
  return text;
}

std::wstring FillDetail(std::uint64_t doneBytes, std::uint64_t totalBytes, std::uint64_t bytesPerSecond) {
  std::wstring text = FormatBytes(doneBytes) + L" / " + FormatBytes(totalBytes);
  if (bytesPerSecond == 0) return text;
  text += L"、" + Speed(bytesPerSecond);
  const std::uint64_t left = totalBytes > doneBytes ? totalBytes - doneBytes : 0;
  if (const std::optional<std::uint64_t> seconds = SecondsFor(left, bytesPerSecond)) {
    text += L"、残り " + FormatDuration(*seconds);
  }
  return text;
}

std::wstring RecordsDetail(std::uint64_t records) {
  return L"ファイル管理領域の空きを上書き中 (" + std::to_wstring(records) + L" 個)";
}

std::wstring RemovingDetail() {
  return L"抹消に使ったファイルを削除中...";
}

std::wstring ResultText(const Result& result) {
  std::wstring text;
  switch (result.outcome) {
    case Outcome::Done:
      text = Drive(result.root) + L" の空き領域 " + FormatBytes(result.bytesWritten) + L" を完全に抹消しました。";
      if (result.records > 0) {
        text += L"ファイル管理領域 (MFT) の空きレコード " + std::to_wstring(result.records) + L" 個も上書きしました。";
      }
      break;
    case Outcome::Stopped:
      text = Drive(result.root) + L" の空き領域の抹消を中止しました。" + Overwritten(result.bytesWritten);
      break;
    case Outcome::WriteFailed:
      text = Drive(result.root) + L" に書き込めなくなったため、空き領域の抹消を中止しました。" +
             Overwritten(result.bytesWritten);
      break;
    case Outcome::DriveChanged:
      text = Drive(result.root) + L" のディスクが途中で入れ替えられたため、空き領域の抹消を中止しました。";
      break;
  }
  if (result.leftBehind) {
    text += L"\n抹消に使ったファイルの一部を削除できませんでした。次に MORVANE Shredder を起動したときに削除します。";
  }
  return text;
}

std::wstring DriveLine(const std::wstring& root, const std::wstring& label, bool removable, std::uint64_t freeBytes,
                       std::uint64_t totalBytes) {
  const std::wstring name = !label.empty() ? label : removable ? L"リムーバブル ディスク" : L"ローカル ディスク";
  return root + L"\t" + name + L"\t空き " + FormatBytes(freeBytes) + L" / " + FormatBytes(totalBytes);
}

}  // namespace freespace
