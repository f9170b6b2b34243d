// Texts and names of the application object and the main window.
#pragma once

namespace app::texts {

// Named mutex of the windowed instance; also the about box's short title.
inline constexpr char kInstanceMutexName[] = "MORVANE Shredder version 1.11";
// Title of the running window, by which a second start finds it.
inline constexpr char kRunningWindowTitle[] = "Tessaro";

inline constexpr char kAlreadyRunning[] = "既に起動しています。";
inline constexpr char kOutOfMemory[] = "メモリが不足しています。";
inline constexpr char kProgramPathTooLong[] =
    "プログラムのフォルダのパスが長すぎるため、起動できません。\n短いパスのフォルダに移してから起動してください。";

inline constexpr char kTrayTip[] = "ごみ箱の中身を完全に抹消";

inline constexpr char kTipErase[] = "ごみ箱の中身を完全に抹消する";
inline constexpr char kTipOption[] = "オプションを設定する";
inline constexpr char kTipHide[] = "タスクトレイにしまう";
inline constexpr char kTipWeb[] = "MORVANE Webサイトへ";
inline constexpr char kTipHelp[] = "ヘルプを表示する";

// About box.
inline constexpr char kProductFullName[] = "MORVANE Shredder(モーヴェインシュレッダー)";
inline constexpr char kProductVersion[] = "1.11";
inline constexpr char kCopyright[] = "Copyright (C) 2026 MORVANE. All rights reserved.";
inline constexpr char kNameLinePrefix[] = "本製品の正式名称は，「";
inline constexpr char kNameLineSuffix[] = "」です。";
inline constexpr char kVersionLinePrefix[] = "本製品のバージョンは，";
inline constexpr char kVersionLineSuffix[] = "です。";

// The tray icon's popup menu.
inline constexpr char kTrayMenuErase[] = "ごみ箱の中身を完全に抹消";
inline constexpr char kTrayMenuAbout[] = "バージョン情報";

inline constexpr char kHelpFileName[] = "morvane-shredder.chm";
inline constexpr char kWebPageUrl[] = "http://www.morvane.example/shredder/";

}  // namespace app::texts
