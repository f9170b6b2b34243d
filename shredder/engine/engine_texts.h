// Texts shown by the shredding engine (code page 932 at run time).
#pragma once

namespace engine::texts {

inline constexpr char kWorkFolderName[] = "work_temp";
inline constexpr char kWorkFolderNotCreated[] = "作業用フォルダを作成することができませんでした。";
inline constexpr char kWorkFolderPathTooLong[] =
    "作業用フォルダのパスが長すぎるため、作業用フォルダを作成することができませんでした。";

// Wiping a file; caption "エラー".
inline constexpr char kCannotOpen[] = "ファイルが開けません";
inline constexpr char kNotOverwritten[] = "ファイルを上書きできませんでした";
inline constexpr char kStatusNotRead[] = "ファイルの属性を読み取れません";
inline constexpr char kStatusNotWritten[] = "ファイルの属性を変更できません";
// Shown after the path in double quotes.
inline constexpr char kHardLinkedNotOverwritten[] = " は他の名前（ハードリンク）からも使われているため上書きしません。";
inline constexpr char kLinkNotOverwritten[] = " はリンクのため上書きしません。";

// Shredding selected files.
inline constexpr char kConfirmSelected[] = "選択されたファイルを完全に抹消しますか？";
inline constexpr char kConfirmDroppedFormat[] = "%d 個のファイルを完全に抹消しますか？";
inline constexpr char kErasedFormat[] = "%d 個のファイルを完全に抹消しました。";
inline constexpr char kNothingErased[] = "ファイル削除は行なわれませんでした。";
inline constexpr char kNotRemoved[] = "ファイルが削除できませんでした";
// Shown after the item in double quotes; the batch goes on.
inline constexpr char kFolderNotProcessed[] = " はフォルダのため処理しません。";
inline constexpr char kNotFullPath[] = " は完全なパスではないため処理しません。";
inline constexpr char kPathTooLong[] = " はパスが長すぎるため処理しません。";
inline constexpr char kNameNotSpelled[] = " は名前にこのシステムで扱えない文字を含むため処理しません。";

}  // namespace engine::texts
