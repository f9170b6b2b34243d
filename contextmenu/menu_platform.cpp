#include "contextmenu/menu_platform.h"

#include <cstdint>

#include "contextmenu/handoff_writer.h"
#include "contextmenu/shellext_ids.h"

namespace shellext {
namespace {

DriveType PlatformDriveType(const std::wstring& root) {
  switch (GetDriveTypeW(root.c_str())) {
    case DRIVE_NO_ROOT_DIR:
      return DriveType::NoRootDirectory;
    case DRIVE_REMOVABLE:
      return DriveType::Removable;
    case DRIVE_FIXED:
      return DriveType::Fixed;
    case DRIVE_REMOTE:
      return DriveType::Remote;
    case DRIVE_CDROM:
      return DriveType::CdRom;
    case DRIVE_RAMDISK:
      return DriveType::RamDisk;
    default:
      return DriveType::Unknown;
  }
}

// Looked up at run time: kernel32 has them from Windows 8.1 (packages) and
// the start (RtlGetVersion), but neither is in every SDK's headers.
template <typename Function>
Function SystemFunction(const wchar_t* module, const char* name) {
  const HMODULE loaded = GetModuleHandleW(module);
  return loaded ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(loaded, name))) : nullptr;
}

}  // namespace

MenuChoice PlatformChoice(const std::vector<std::wstring>& selection) {
  return ChooseMenu(selection, &PlatformDriveType);
}

const wchar_t* CommandText(MenuCommand command) {
  return command == MenuCommand::EraseFreeSpace ? kFreeSpaceCommandText : kMenuCommandText;
}

const wchar_t* CommandHelpText(MenuCommand command) {
  return command == MenuCommand::EraseFreeSpace ? kFreeSpaceHelpText : kHelpText;
}

void CarryOut(const MenuChoice& choice, HWND owner, const std::vector<std::wstring>& selection) {
  if (choice.command == MenuCommand::EraseFreeSpace) {
    StartFreeSpaceErase(choice.driveRoot);
  } else if (choice.command == MenuCommand::ShredFiles) {
    HandOff(owner, selection);
  }
}

unsigned WindowsBuild() {
  using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto getVersion = SystemFunction<GetVersion>(L"ntdll.dll", "RtlGetVersion");
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
  if (!getVersion || getVersion(&version) != 0) return 0;
  return version.dwBuildNumber;
}

bool MenuPackageRegistered() {
  wchar_t family[256];
  DWORD size = sizeof(family);
  if (RegGetValueW(HKEY_LOCAL_MACHINE, kMenuPackageKey, kMenuPackageFamilyValue, RRF_RT_REG_SZ, nullptr, family,
                   &size) != ERROR_SUCCESS ||
      family[0] == L'\0') {
    return false;
  }
  using GetPackages = LONG(WINAPI*)(const wchar_t*, std::uint32_t*, wchar_t**, std::uint32_t*, wchar_t*);
  const auto getPackages = SystemFunction<GetPackages>(L"kernel32.dll", "GetPackagesByPackageFamily");
  if (!getPackages) return false;
  // Asked for the count alone: a registered package does not fit the empty
  // buffer, none leaves the count at 0.
  std::uint32_t count = 0;
  std::uint32_t length = 0;
  const LONG status = getPackages(family, &count, nullptr, &length, nullptr);
  return (status == ERROR_SUCCESS || status == ERROR_INSUFFICIENT_BUFFER) && count > 0;
}

}  // namespace shellext
