#include "contextmenu/menu_choice.h"

#include <algorithm>
#include <string_view>

namespace shellext {
namespace {

// Only the plain form: "C:" is the current folder of drive C, and the
// "\\?\" form is not how Explorer names a drive, nor what -F takes.
bool IsDriveRoot(std::wstring_view path) {
  if (path.size() != 3 || path[1] != L':' || path[2] != L'\\') return false;
  const wchar_t letter = path[0];
  return (letter >= L'A' && letter <= L'Z') || (letter >= L'a' && letter <= L'z');
}

}  // namespace

MenuChoice ChooseMenu(const std::vector<std::wstring>& selection, const DriveTypeOf& driveTypeOf) {
  if (selection.empty()) return {};
  if (selection.size() != 1 || !IsDriveRoot(selection.front())) return {MenuCommand::ShredFiles, {}};
  std::wstring root = selection.front();
  if (root[0] >= L'a') root[0] = static_cast<wchar_t>(root[0] - L'a' + L'A');
  const DriveType type = driveTypeOf(root);
  if (type != DriveType::Fixed && type != DriveType::Removable) return {};
  return {MenuCommand::EraseFreeSpace, std::move(root)};
}

unsigned CommandOffset(MenuCommand command) {
  return command == MenuCommand::EraseFreeSpace ? kEraseFreeSpaceOffset : kShredFilesOffset;
}

bool ClassicMenuStepsAside(const std::vector<std::wstring>& selection, unsigned windowsBuild, bool packageRegistered) {
  if (!packageRegistered || windowsBuild < kFirstWindows11Build) return false;
  if (windowsBuild >= kFirstBuildWithDriveCommands) return true;
  return std::none_of(selection.begin(), selection.end(), [](const std::wstring& path) { return IsDriveRoot(path); });
}

}  // namespace shellext
