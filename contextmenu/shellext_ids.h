// Identifiers and texts of shredmenu.dll in one place: the classes, the type
// library and interface, the registry names it uses, and what Explorer shows.
#pragma once

#include <windows.h>

#include "contextmenu/resource.h"

// As text, for the registry keys built from them.
#define SHREDMENU_CLSID_TEXT "{B7847D3E-09F3-11D4-8F6D-0080AD87DD41}"
#define SHREDMENU_LIBID_TEXT "{B7847D31-09F3-11D4-8F6D-0080AD87DD41}"
#define SHREDMENU_PROGID "RuzeVoriduru.RuzeVoriduruShlExt.1"
#define SHREDMENU_VERSION_INDEPENDENT_PROGID "RuzeVoriduru.RuzeVoriduruShlExt"
// The command of Windows 11's first right-click menu (IExplorerCommand). The
// package manifest names it too (installer/package/AppxManifest.xml.in).
#define SHREDMENU_COMMAND_CLSID_TEXT "{5B3B85C7-E5CE-4320-9A57-8D321105CA9E}"

namespace shellext {

// GCC has no __uuidof for our own classes, so the identifiers are constants.
inline constexpr CLSID kClsid = {0xB7847D3E, 0x09F3, 0x11D4, {0x8F, 0x6D, 0x00, 0x80, 0xAD, 0x87, 0xDD, 0x41}};
inline constexpr GUID kLibid = {0xB7847D31, 0x09F3, 0x11D4, {0x8F, 0x6D, 0x00, 0x80, 0xAD, 0x87, 0xDD, 0x41}};
inline constexpr IID kIidRuzeVoriduruShl = {
    0xB7847D3D, 0x09F3, 0x11D4, {0x8F, 0x6D, 0x00, 0x80, 0xAD, 0x87, 0xDD, 0x41}};
inline constexpr CLSID kCommandClsid = {0x5B3B85C7, 0xE5CE, 0x4320, {0x9A, 0x57, 0x8D, 0x32, 0x11, 0x05, 0xCA, 0x9E}};

inline constexpr char kClsidText[] = SHREDMENU_CLSID_TEXT;
inline constexpr char kLibidText[] = SHREDMENU_LIBID_TEXT;
inline constexpr char kProgId[] = SHREDMENU_PROGID;
inline constexpr char kVersionIndependentProgId[] = SHREDMENU_VERSION_INDEPENDENT_PROGID;
inline constexpr char kClassDescription[] = "RuzeVoriduruShlExt Class";
inline constexpr char kThreadingModel[] = "Apartment";
inline constexpr char kCommandClassDescription[] = "MORVANE Shredder Explorer command";

// The list of extensions an administrator allows, under HKEY_LOCAL_MACHINE.
inline constexpr char kApprovedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
inline constexpr char kApprovedText[] = "RuzeVoriduruShlExt extension";

// Under HKEY_LOCAL_MACHINE, in both registry views: the family name of the
// package that lists the command in Windows 11's first menu, written by the
// installer once the package is registered.
inline constexpr wchar_t kMenuPackageKey[] = L"Software\\Brinmoor\\M-Shredder";
inline constexpr wchar_t kMenuPackageFamilyValue[] = L"MenuPackageFamily";

// Menu texts; the help texts are spelled in the system's code page when
// Explorer asks for them in ANSI.
inline constexpr wchar_t kMenuPopupText[] = L"MORVANE Shredder";
inline constexpr wchar_t kMenuCommandText[] = L"ファイルを完全に抹消する";
inline constexpr wchar_t kHelpText[] = L"MORVANE Shredderでファイルを完全に抹消します";
// On a drive.
inline constexpr wchar_t kFreeSpaceCommandText[] = L"空き領域を完全抹消";
inline constexpr wchar_t kFreeSpaceHelpText[] = L"MORVANE Shredderでドライブの空き領域を完全に抹消します。";

}  // namespace shellext
