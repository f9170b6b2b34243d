// Texts shown by the recycle-bin erase (code page 932 at run time).
#pragma once

namespace recyclebin::texts {

inline constexpr char kQueryFailed[] = "ごみ箱の情報を取得できません";
inline constexpr char kAborted[] = "処理を中断します";
inline constexpr char kUnsupportedFileSystem[] = "このファイルシステムはサポートしていません。";
inline constexpr char kNoFolder[] = "ごみ箱へのパスを取得できませんでした。";
inline constexpr char kConfirmFormat[] = "ごみ箱の中の %d 個のファイルを完全に抹消しますか？";
inline constexpr char kCannotSearch[] = "ごみ箱にアクセスできません。(can't search)";
inline constexpr char kPathTooLong[] = "ごみ箱にアクセスできません。(path name is too long)";
inline constexpr char kNotEmptied[] = "ごみ箱の中を空にできませんでした。";
inline constexpr char kEmptyingFailed[] = "ごみ箱の中身を空にできません。";
inline constexpr char kDone[] = "ごみ箱の中身を完全に抹消しました。";
inline constexpr char kWorkFolderNotRemoved[] = "作業用フォルダを削除することができませんでした。";
// Files that could not be overwritten stay in the recycle bin, which is then
// not emptied, so that nothing is deleted unwiped.
inline constexpr char kSomeNotWipedFormat[] =
    "%d 個のファイルを上書きできなかったため、ごみ箱を空にしませんでした。\n"
    "ファイルを使っているプログラムを終了してから、もう一度実行してください。";

inline constexpr char kBalloonTitle[] = "MORVANE Shredder";

}  // namespace recyclebin::texts
