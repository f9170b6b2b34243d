// Texts shown by the shredding engine (code page 932 at run time).
#pragma once

namespace engine::texts {

inline constexpr char kWorkFolderName[] = "work_temp";
inline constexpr char kWorkFolderNotCreated[] = "作業用フォルダを作成することができませんでした。";
inline constexpr char kWorkFolderPathTooLong[] =
    "作業用フォルダのパスが長すぎるため、作業用フォルダを作成することができませんでした。";

}  // namespace engine::texts
