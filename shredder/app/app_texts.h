// Texts and names of the application object and the main window.
#pragma once

namespace app::texts {

// Named mutex of the windowed instance; also the about box's short title.
inline constexpr wchar_t kInstanceMutexName[] = L"MORVANE Shredder version 1.11";
// Title of the running window, by which a second start finds it.
inline constexpr wchar_t kRunningWindowTitle[] = L"Tessaro";

inline constexpr wchar_t kAlreadyRunning[] = L"既に起動しています。";
inline constexpr wchar_t kOutOfMemory[] = L"メモリが不足しています。";
inline constexpr wchar_t kProgramPathTooLong[] =
    L"プログラムのフォルダのパスが長すぎるため、起動できません。\n短いパスのフォルダに移してから起動してください。";

inline constexpr wchar_t kTrayTip[] = L"ごみ箱の中身を完全に抹消";

inline constexpr wchar_t kTipErase[] = L"ごみ箱の中身を完全に抹消する";
inline constexpr wchar_t kTipOption[] = L"オプションを設定する";
inline constexpr wchar_t kTipHide[] = L"タスクトレイにしまう";
inline constexpr wchar_t kTipWeb[] = L"MORVANE Webサイトへ";
inline constexpr wchar_t kTipHelp[] = L"ヘルプを表示する";

// About box.
inline constexpr wchar_t kProductFullName[] = L"MORVANE Shredder(モーヴェインシュレッダー)";
inline constexpr wchar_t kProductVersion[] = L"1.11";
inline constexpr wchar_t kCopyright[] = L"Copyright (C) 2026 MORVANE. All rights reserved.";
inline constexpr wchar_t kNameLinePrefix[] = L"本製品の正式名称は，「";
inline constexpr wchar_t kNameLineSuffix[] = L"」です。";
inline constexpr wchar_t kVersionLinePrefix[] = L"本製品のバージョンは，";
inline constexpr wchar_t kVersionLineSuffix[] = L"です。";

// The tray icon's popup menu.
inline constexpr wchar_t kTrayMenuErase[] = L"ごみ箱の中身を完全に抹消";
inline constexpr wchar_t kTrayMenuFreeSpace[] = L"空き領域の抹消...";
inline constexpr wchar_t kTrayMenuAbout[] = L"バージョン情報";

inline constexpr wchar_t kHelpFileName[] = L"morvane-shredder.chm";
inline constexpr wchar_t kWebPageUrl[] = L"http://www.morvane.example/shredder/";

}  // namespace app::texts
