// Texts shown by the recycle-bin erase (code page 932 at run time).
#pragma once

namespace recyclebin::texts {

inline constexpr wchar_t kQueryFailed[] = L"ごみ箱の情報を取得できません";
inline constexpr wchar_t kAborted[] = L"処理を中断します";
inline constexpr wchar_t kConfirmFormat[] = L"ごみ箱の中の %d 個のファイルを完全に抹消しますか？";
inline constexpr wchar_t kCannotSearch[] = L"ごみ箱にアクセスできません。(can't search)";
inline constexpr wchar_t kPathTooLong[] = L"ごみ箱にアクセスできません。(path name is too long)";
inline constexpr wchar_t kNotEmptied[] = L"ごみ箱の中を空にできませんでした。";
inline constexpr wchar_t kEmptyingFailed[] = L"ごみ箱の中身を空にできません。";
inline constexpr wchar_t kDone[] = L"ごみ箱の中身を完全に抹消しました。";
// Followed by the lines on the files removed without being overwritten in place.
inline constexpr wchar_t kEmptiedNotAllInPlace[] = L"ごみ箱を空にしました。";
inline constexpr wchar_t kWorkFolderNotRemoved[] = L"作業用フォルダを削除することができませんでした。";
// Files that could not be overwritten stay in the recycle bin, which is then
// not emptied, so that nothing is deleted unwiped; the lines after the first
// say what to do about each cause there was.
inline constexpr wchar_t kNotWipedFormat[] = L"%d 個のファイルを上書きできなかったため、ごみ箱を空にしませんでした。";
inline constexpr wchar_t kNameStayedFormat[] =
    L"%d 個のファイルは上書きしましたが、ほかのプログラムが開いているため削除できず、ごみ箱を空にしませんでした。";
// Entries where a link led elsewhere, each told by its path before.
inline constexpr wchar_t kThroughLinkFormat[] =
    L"%d 個の項目はリンクを経由した場所にあるため上書きせず、ごみ箱を空にしませんでした。";
inline constexpr wchar_t kAdviceHeld[] = L"ファイルを使っているプログラムを終了してから、もう一度実行してください。";
inline constexpr wchar_t kAdviceNoSpace[] = L"ディスクの空き領域を増やしてから、もう一度実行してください。";
inline constexpr wchar_t kAdviceNotWritten[] =
    L"ディスクに書き込めなかったファイルがあります。ディスクの状態を確かめてください。";
inline constexpr wchar_t kAdviceThroughLink[] =
    L"お知らせした項目を確かめてください。ふつうにごみ箱を空にすると、上書きされないまま削除されます。";

// After the stop button: what was done stays done, nothing is emptied.
inline constexpr wchar_t kStopped[] = L"ごみ箱の中身の抹消を中止しました。ごみ箱は空にしていません。";

inline constexpr wchar_t kBalloonTitle[] = L"MORVANE Shredder";

}  // namespace recyclebin::texts
