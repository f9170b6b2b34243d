// Identifiers and texts of shredmenu.dll in one place: the class, its type
// library and interface, the registry names it uses, and what Explorer shows.
#pragma once

#include <windows.h>

// As text, for the registry keys built from them.
#define SHREDMENU_CLSID_TEXT "{B7847D3E-09F3-11D4-8F6D-0080AD87DD41}"
#define SHREDMENU_LIBID_TEXT "{B7847D31-09F3-11D4-8F6D-0080AD87DD41}"
#define SHREDMENU_PROGID "RuzeVoriduru.RuzeVoriduruShlExt.1"
#define SHREDMENU_VERSION_INDEPENDENT_PROGID "RuzeVoriduru.RuzeVoriduruShlExt"

namespace shellext {

// GCC has no __uuidof for our own classes, so the identifiers are constants.
inline constexpr CLSID kClsid = {0xB7847D3E, 0x09F3, 0x11D4, {0x8F, 0x6D, 0x00, 0x80, 0xAD, 0x87, 0xDD, 0x41}};
inline constexpr GUID kLibid = {0xB7847D31, 0x09F3, 0x11D4, {0x8F, 0x6D, 0x00, 0x80, 0xAD, 0x87, 0xDD, 0x41}};
inline constexpr IID kIidRuzeVoriduruShl = {
    0xB7847D3D, 0x09F3, 0x11D4, {0x8F, 0x6D, 0x00, 0x80, 0xAD, 0x87, 0xDD, 0x41}};

inline constexpr char kClsidText[] = SHREDMENU_CLSID_TEXT;
inline constexpr char kLibidText[] = SHREDMENU_LIBID_TEXT;
inline constexpr char kProgId[] = SHREDMENU_PROGID;
inline constexpr char kVersionIndependentProgId[] = SHREDMENU_VERSION_INDEPENDENT_PROGID;
inline constexpr char kClassDescription[] = "RuzeVoriduruShlExt Class";
inline constexpr char kThreadingModel[] = "Apartment";

// The list of extensions an administrator allows, under HKEY_LOCAL_MACHINE.
inline constexpr char kApprovedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
inline constexpr char kApprovedText[] = "RuzeVoriduruShlExt extension";

// Menu texts; the help texts are spelled in the system's code page when
// Explorer asks for them in ANSI.
inline constexpr wchar_t kMenuPopupText[] = L"MORVANE Shredder";
inline constexpr wchar_t kMenuCommandText[] = L"ファイルを完全に抹消する";
inline constexpr wchar_t kHelpText[] = L"MORVANE Shredderでファイルを完全に抹消します";
// On a drive.
inline constexpr wchar_t kFreeSpaceCommandText[] = L"空き領域を完全抹消";
inline constexpr wchar_t kFreeSpaceHelpText[] = L"MORVANE Shredderでドライブの空き領域を完全に抹消します。";

}  // namespace shellext
