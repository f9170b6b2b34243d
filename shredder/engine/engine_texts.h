// Texts shown by the shredding engine (code page 932 at run time).
#pragma once

#include <string>
#include <string_view>

namespace engine::texts {

inline constexpr wchar_t kWorkFolderName[] = L"work_temp";
inline constexpr wchar_t kWorkFolderNotCreated[] = L"作業用フォルダを作成することができませんでした。";
inline constexpr wchar_t kWorkFolderPathTooLong[] =
    L"作業用フォルダのパスが長すぎるため、作業用フォルダを作成することができませんでした。";

// One erase writes at a time, in whichever process; the one that writes says
// what it erases in the shared record, for the waiting windows of the others.
inline constexpr wchar_t kEraseMutexName[] = L"Local\\MORVANE Shredder erase";
inline constexpr wchar_t kEraseHolderName[] = L"Local\\MORVANE Shredder erase holder";

// Shown by Windows when the session is to end while an erase writes.
inline constexpr wchar_t kEndSessionBlocked[] = L"ファイルを抹消しています。終わるまでお待ちください。";

// The waiting window, while another erase writes.
inline constexpr wchar_t kWaitingCaption[] = L"待機中...";
inline constexpr wchar_t kWaitingForAnother[] = L"ほかの抹消処理が終わるのを待っています...";
// Around the kind of erase that writes: "ほかの抹消処理 (ごみ箱の抹消) が…".
inline constexpr wchar_t kWaitingForKindBefore[] = L"ほかの抹消処理 (";
inline constexpr wchar_t kWaitingForKindAfter[] = L") が終わるのを待っています...";
inline constexpr wchar_t kWaitingThen[] = L"終わりしだい、抹消を始めます。";
inline constexpr wchar_t kKindRecycleBin[] = L"ごみ箱の抹消";
inline constexpr wchar_t kKindFiles[] = L"ファイルの抹消";
inline constexpr wchar_t kKindFreeSpace[] = L"空き領域の抹消";

// A path as every text shows one: in double quotes.
inline std::wstring Quoted(std::wstring_view path) {
  return L"\"" + std::wstring(path) + L"\"";
}

// Wiping a file; caption "エラー". "%s" is the file's path; the system's
// reason follows on the next line.
inline constexpr wchar_t kCannotOpenFormat[] = L"ファイル \"%s\" が開けません";
inline constexpr wchar_t kNotOverwrittenFormat[] = L"ファイル \"%s\" を上書きできませんでした";
inline constexpr wchar_t kNotOverwrittenNoSpaceFormat[] =
    L"ディスクの空き領域が足りないため、ファイル \"%s\" を上書きできませんでした";
inline constexpr wchar_t kStatusNotWrittenFormat[] = L"ファイル \"%s\" の属性を変更できません";
// Shown after the path in double quotes.
inline constexpr wchar_t kHardLinkedNotOverwritten[] =
    L" は他の名前（ハードリンク）からも使われているため上書きしません。";
inline constexpr wchar_t kLinkNotOverwritten[] = L" はリンクのため上書きしません。";
inline constexpr wchar_t kReachedThroughLink[] = L" はリンクを経由した場所にあるため上書きしません。";

// Shredding selected files.
inline constexpr wchar_t kConfirmSelected[] = L"選択されたファイルを完全に抹消しますか？";
inline constexpr wchar_t kConfirmDroppedFormat[] = L"%d 個のファイルを完全に抹消しますか？";
inline constexpr wchar_t kErasedFormat[] = L"%d 個のファイルを完全に抹消しました。";
inline constexpr wchar_t kNothingErased[] = L"ファイル削除は行なわれませんでした。";
inline constexpr wchar_t kNotRemovedFormat[] = L"ファイル \"%s\" が削除できませんでした";
// Removed, but not overwritten where their content lies.
inline constexpr wchar_t kRemovedElsewhereFormat[] =
    L"%d 個のファイルは圧縮・暗号化されているか内容がほかの場所にあるため、元の場所を上書きしないまま削除しました。";
inline constexpr wchar_t kRemovedStreamsLeftFormat[] =
    L"%d 個のファイルは付属するデータ(代替データストリーム)を上書きできないまま削除しました。";
// Shown after the item in double quotes; the batch goes on.
inline constexpr wchar_t kFolderNotProcessed[] = L" はフォルダのため処理しません。";
inline constexpr wchar_t kNotFullPath[] = L" は完全なパスではないため処理しません。";
inline constexpr wchar_t kPathTooLong[] = L" はパスが長すぎるため処理しません。";
inline constexpr wchar_t kMissing[] = L" は見つからないため処理しません。";
// The same file named again in one list: told once, done once.
inline constexpr wchar_t kRepeated[] = L" は前にも指定されているため処理しません。";
inline constexpr wchar_t kNameStayed[] = L" は上書きしましたが、ほかのプログラムが開いているため削除できませんでした。";
// Nor could it have its own name back: "%s" is where it is now.
inline constexpr wchar_t kTemporaryNameStayedFormat[] =
    L" は上書きしましたが、ほかのプログラムが開いているため削除できず、\"%s\" という名前で残っています。";

}  // namespace engine::texts
