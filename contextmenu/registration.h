// What shredmenu.dll writes to the registry to be found by COM and Explorer,
// stated as data: one table, walked by one loop that registers or removes.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "contextmenu/shellext_ids.h"

namespace shellext {

enum class KeyMark {
  None,         // written at registration, deleted with its subkeys at removal
  ForceRemove,  // deleted with its subkeys before it is written, and at removal
  NoRemove,     // shared with others: written when missing, never deleted
};

struct RegistryEntry {
  const char* key;  // under HKEY_CLASSES_ROOT
  KeyMark mark;
  const char* defaultValue;  // nullptr: none; kModuleToken: the DLL's full path
  const char* valueName;     // one named value, or nullptr
  const char* value;
};

inline constexpr char kModuleToken[] = "%MODULE%";

#define SHREDMENU_CLSID_KEY "CLSID\\" SHREDMENU_CLSID_TEXT
#define SHREDMENU_COMMAND_CLSID_KEY "CLSID\\" SHREDMENU_COMMAND_CLSID_TEXT

// Parents come before their children, so that a ForceRemove key is emptied
// before its subkeys are written again.
inline constexpr RegistryEntry kRegistryEntries[] = {
    {SHREDMENU_PROGID, KeyMark::None, kClassDescription, nullptr, nullptr},
    {SHREDMENU_PROGID "\\CLSID", KeyMark::None, SHREDMENU_CLSID_TEXT, nullptr, nullptr},
    {SHREDMENU_VERSION_INDEPENDENT_PROGID, KeyMark::None, kClassDescription, nullptr, nullptr},
    {SHREDMENU_VERSION_INDEPENDENT_PROGID "\\CLSID", KeyMark::None, SHREDMENU_CLSID_TEXT, nullptr, nullptr},
    {SHREDMENU_VERSION_INDEPENDENT_PROGID "\\CurVer", KeyMark::None, SHREDMENU_PROGID, nullptr, nullptr},
    {"CLSID", KeyMark::NoRemove, nullptr, nullptr, nullptr},
    {SHREDMENU_CLSID_KEY, KeyMark::ForceRemove, kClassDescription, nullptr, nullptr},
    {SHREDMENU_CLSID_KEY "\\ProgID", KeyMark::None, SHREDMENU_PROGID, nullptr, nullptr},
    {SHREDMENU_CLSID_KEY "\\VersionIndependentProgID", KeyMark::None, SHREDMENU_VERSION_INDEPENDENT_PROGID, nullptr,
     nullptr},
    {SHREDMENU_CLSID_KEY "\\Programmable", KeyMark::ForceRemove, nullptr, nullptr, nullptr},
    {SHREDMENU_CLSID_KEY "\\InprocServer32", KeyMark::None, kModuleToken, "ThreadingModel", kThreadingModel},
    {SHREDMENU_CLSID_KEY "\\TypeLib", KeyMark::None, SHREDMENU_LIBID_TEXT, nullptr, nullptr},
    // The command of Windows 11's first menu, for in-process callers. No
    // item type names it here: only our package's registration puts it in
    // a menu, so Windows 10 goes on showing the classic popup alone.
    {SHREDMENU_COMMAND_CLSID_KEY, KeyMark::ForceRemove, kCommandClassDescription, nullptr, nullptr},
    {SHREDMENU_COMMAND_CLSID_KEY "\\InprocServer32", KeyMark::None, kModuleToken, "ThreadingModel", kThreadingModel},
    {"*", KeyMark::NoRemove, nullptr, nullptr, nullptr},
    {"*\\ShellEx", KeyMark::NoRemove, nullptr, nullptr, nullptr},
    {"*\\ShellEx\\ContextMenuHandlers", KeyMark::NoRemove, nullptr, nullptr, nullptr},
    {"*\\ShellEx\\ContextMenuHandlers\\RuzeVoriduruShlExt", KeyMark::ForceRemove, SHREDMENU_CLSID_TEXT, nullptr,
     nullptr},
    {"Folder", KeyMark::NoRemove, nullptr, nullptr, nullptr},
    {"Folder\\ShellEx", KeyMark::NoRemove, nullptr, nullptr, nullptr},
    {"Folder\\ShellEx\\ContextMenuHandlers", KeyMark::NoRemove, nullptr, nullptr, nullptr},
    {"Folder\\ShellEx\\ContextMenuHandlers\\RuzeVoriduruShlExt", KeyMark::ForceRemove, SHREDMENU_CLSID_TEXT, nullptr,
     nullptr},
    // The drives of This PC, where the free-space command is offered. A drive
    // is a shell folder too, so Folder may bring the handler already; Drive
    // is the class the shell documents for drives, so the command does not
    // hang on how widely a given Explorer reads Folder. Explorer gathers the
    // handlers of all of an item's classes and creates a class identifier
    // once, so a drive still gets one popup.
    {"Drive", KeyMark::NoRemove, nullptr, nullptr, nullptr},
    {"Drive\\ShellEx", KeyMark::NoRemove, nullptr, nullptr, nullptr},
    {"Drive\\ShellEx\\ContextMenuHandlers", KeyMark::NoRemove, nullptr, nullptr, nullptr},
    {"Drive\\ShellEx\\ContextMenuHandlers\\RuzeVoriduruShlExt", KeyMark::ForceRemove, SHREDMENU_CLSID_TEXT, nullptr,
     nullptr},
};

enum class RegistryAction { Register, Unregister };

// Walks the table. Registering stops at the first failed write and returns
// it; what was written stays. Removing goes on past failures, treats missing
// keys as removed (so it can run twice) and returns the first failure.
HRESULT UpdateRegistry(RegistryAction action, const std::wstring& modulePath);

// Opens the Approved key for setting values. A test replaces it to play a
// user who may not write there; nullptr restores the real one.
using ApprovedKeyOpener = LSTATUS (*)(HKEY* key);
void SetApprovedKeyOpener(ApprovedKeyOpener opener);

// The whole registration of the module at `module`: the approval on NT
// (E_ACCESSDENIED and nothing else when it cannot be written), the table,
// and the type library under its LIBID.
HRESULT RegisterServer(HMODULE module);
// Removes the approval (failures ignored), the table and the type library.
HRESULT UnregisterServer(HMODULE module);

}  // namespace shellext
