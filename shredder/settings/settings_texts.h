// Texts shown by the settings subsystem (code page 932 at run time).
#pragma once

namespace settings::texts {

inline constexpr wchar_t kRegistryNotCreated[] = L"レジストリは作成できませんでした。";
inline constexpr wchar_t kRegistryNotClosed[] = L"レジストリのハンドルをクローズできませんでした。";
inline constexpr wchar_t kRegistryNotDeleted[] = L"レジストリが削除できませんでした。";
inline constexpr wchar_t kRegistryInconsistent[] = L"レジストリが不正です。(一旦，すべて削除します)";
inline constexpr wchar_t kOldRegistryFound[] = L"過去のレジストリが残っているので削除します。";

// The recycle bin's right-click menu entry.
inline constexpr wchar_t kRBVerbMenuText[] = L"ごみ箱の中身を完全に抹消";

inline constexpr wchar_t kOptionCaption[] = L"オプション設定";
// "%d" stands for the largest pass count. The lone closing parenthesis is
// part of the text users know; keep it.
inline constexpr wchar_t kPassCountFormat[] = L"上書き回数には 1 回以上 %d 以下の整数を入力してください)";
inline constexpr wchar_t kIntervalTooShort[] = L"自動抹消タイマには 30 分以上の値を入力してください";
// Shown after the settings file's path in double quotes.
inline constexpr wchar_t kSettingsNotSaved[] = L" に設定を保存できませんでした。";

}  // namespace settings::texts
