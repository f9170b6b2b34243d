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

}  // namespace engine::texts
