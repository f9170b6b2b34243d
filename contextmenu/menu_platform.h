// The platform's side of the menu decisions, shared by the classic popup
// (shell_ext.h) and the command of Windows 11's first menu
// (explorer_command.h): the drive types menu_choice.h asks about, each
// command's texts, carrying a command out, and whether our package lists the
// command in this account's menus.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "contextmenu/menu_choice.h"

namespace shellext {

// ChooseMenu with the system's drive types.
MenuChoice PlatformChoice(const std::vector<std::wstring>& selection);

const wchar_t* CommandText(MenuCommand command);
const wchar_t* CommandHelpText(MenuCommand command);

// The hand-off to binshredder for ShredFiles, the drive's free-space erase
// for EraseFreeSpace; nothing for None.
void CarryOut(const MenuChoice& choice, HWND owner, const std::vector<std::wstring>& selection);

// The build number of the running Windows, as the kernel has it: what
// GetVersionEx reports depends on the host process's manifest.
unsigned WindowsBuild();

// Whether the package the installer registered (its family name is under
// kMenuPackageKey) is registered for the current account.
bool MenuPackageRegistered();

}  // namespace shellext
