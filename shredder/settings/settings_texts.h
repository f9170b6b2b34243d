// Texts shown by the settings subsystem (code page 932 at run time).
#pragma once

namespace settings::texts {

inline constexpr char kRegistryNotCreated[] = "レジストリは作成できませんでした。";
inline constexpr char kRegistryNotClosed[] = "レジストリのハンドルをクローズできませんでした。";
inline constexpr char kRegistryNotDeleted[] = "レジストリが削除できませんでした。";
inline constexpr char kRegistryInconsistent[] = "レジストリが不正です。(一旦，すべて削除します)";
inline constexpr char kOldRegistryFound[] = "過去のレジストリが残っているので削除します。";

// The recycle bin's right-click menu entry.
inline constexpr char kRBVerbMenuText[] = "ごみ箱の中身を完全に抹消";

inline constexpr char kOptionCaption[] = "オプション設定";
// "%d" stands for the largest pass count. The lone closing parenthesis is
// part of the text users know; keep it.
inline constexpr char kPassCountFormat[] = "上書き回数には 1 回以上 %d 以下の整数を入力してください)";
inline constexpr char kIntervalTooShort[] = "自動抹消タイマには 30 分以上の値を入力してください";

}  // namespace settings::texts
