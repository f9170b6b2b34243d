// The three captions of the program's message boxes, with their icons.
#pragma once

#include <windows.h>

namespace captions {

inline constexpr wchar_t kError[] = L"エラー";
inline constexpr wchar_t kInfo[] = L"情報";
inline constexpr wchar_t kConfirm[] = L"確認";

inline constexpr UINT kErrorFlags = MB_ICONWARNING;                // 0x30
inline constexpr UINT kInfoFlags = MB_ICONINFORMATION;             // 0x40
inline constexpr UINT kConfirmFlags = MB_YESNO | MB_ICONQUESTION;  // 0x24, No declines

}  // namespace captions
