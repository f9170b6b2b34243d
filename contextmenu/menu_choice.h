// Which command the "MORVANE Shredder" popup offers for a selection, and the
// command offsets the handler reports to Explorer. The drive's type comes
// from the caller (GetDriveTypeW on Windows), so the decision runs on the
// host too.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace shellext {

// The kinds GetDriveTypeW tells apart.
enum class DriveType { Unknown, NoRootDirectory, Removable, Fixed, Remote, CdRom, RamDisk };

enum class MenuCommand {
  None,            // no popup: the program could only refuse the selection
  ShredFiles,      // "ファイルを完全に抹消する": the hand-off with -D
  EraseFreeSpace,  // "空き領域を完全抹消": the program started with -F and the root
};

struct MenuChoice {
  MenuCommand command = MenuCommand::None;
  std::wstring driveRoot;  // "X:\" with a capital letter, for EraseFreeSpace
};

// Explorer is told that five command identifiers are used: the file command
// sits at offset 0 and the drive's command at 1, whichever one the popup
// shows; the other offsets are accepted and do nothing.
inline constexpr unsigned kCommandIdsUsed = 5;
inline constexpr unsigned kShredFilesOffset = 0;
inline constexpr unsigned kEraseFreeSpaceOffset = 1;

using DriveTypeOf = std::function<DriveType(const std::wstring& root)>;

// One drive root ("X:\", as Explorer names a drive of This PC) of a fixed or
// removable drive gets the free-space command alone: handed off as a file,
// the root would only be declined as a folder. A root of any other drive
// (network, CD, RAM disk, gone) gets no popup, and neither does an empty
// selection. Any other selection, several drives among them, gets the file
// command as before. `driveTypeOf` is asked only about a single root, which
// asks the system's drive table, not the disk.
MenuChoice ChooseMenu(const std::vector<std::wstring>& selection, const DriveTypeOf& driveTypeOf);

// The offset of the command's item; the free-space command's for
// EraseFreeSpace, the file command's otherwise.
unsigned CommandOffset(MenuCommand command);

// Windows 11 lists the command of our package (explorer_command.h) in its
// first menu and again under "Show more options"; the classic popup then
// stays out, so that no menu holds the command twice. Builds before 22621
// do not know the package's drive entry: there a selection with a drive
// root keeps the classic popup, which is then its only command.
inline constexpr unsigned kFirstWindows11Build = 22000;
inline constexpr unsigned kFirstBuildWithDriveCommands = 22621;
bool ClassicMenuStepsAside(const std::vector<std::wstring>& selection, unsigned windowsBuild, bool packageRegistered);

}  // namespace shellext
