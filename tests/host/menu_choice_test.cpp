#include "contextmenu/menu_choice.h"

#include <gtest/gtest.h>

namespace {

using shellext::DriveType;
using shellext::MenuCommand;

TEST(MenuChoice, OnlyOneRootOfALocalDriveGetsTheFreeSpaceCommandAndNothingThatCanOnlyBeRefused) {
  // C: fixed, E: removable, N: network, Q: CD, R: RAM disk; no other letter in use.
  const auto machineDrive = [](const std::wstring& root) {
    const std::wstring letters = L"CENQR";
    const DriveType types[] = {DriveType::Fixed, DriveType::Removable, DriveType::Remote, DriveType::CdRom,
                               DriveType::RamDisk};
    const std::size_t at = letters.find(root.at(0));
    return at == std::wstring::npos ? DriveType::NoRootDirectory : types[at];
  };
  const struct {
    std::vector<std::wstring> selection;
    MenuCommand command;
    const wchar_t* root;
  } cases[] = {
      {{L"C:\\"}, MenuCommand::EraseFreeSpace, L"C:\\"},
      {{L"E:\\"}, MenuCommand::EraseFreeSpace, L"E:\\"},
      {{L"c:\\"}, MenuCommand::EraseFreeSpace, L"C:\\"},  // -F always gets the capital
      {{L"N:\\"}, MenuCommand::None, L""},
      {{L"Q:\\"}, MenuCommand::None, L""},
      {{L"R:\\"}, MenuCommand::None, L""},
      {{L"K:\\"}, MenuCommand::None, L""},  // gone since the right-click
      {{L"C:\\", L"C:\\a.txt"}, MenuCommand::ShredFiles, L""},
      {{L"C:\\", L"E:\\"}, MenuCommand::ShredFiles, L""},
      {{L"C:"}, MenuCommand::ShredFiles, L""},  // drive C's current folder
      {{L"C:\\Windows"}, MenuCommand::ShredFiles, L""},
      {{L"\\\\server\\share\\"}, MenuCommand::ShredFiles, L""},
      {{L"\\\\?\\C:\\"}, MenuCommand::ShredFiles, L""},
      {{L"Ｃ:\\"}, MenuCommand::ShredFiles, L""},  // a full-width letter names no drive
      {{}, MenuCommand::None, L""},                // nothing chosen: nothing to offer
  };
  for (const auto& c : cases) {
    const shellext::MenuChoice choice = shellext::ChooseMenu(c.selection, machineDrive);
    EXPECT_EQ(choice.command, c.command) << ::testing::PrintToString(c.selection);
    EXPECT_EQ(choice.driveRoot, c.root) << ::testing::PrintToString(c.selection);
  }
}

// Windows 11 shows the packaged command in both of its menus; the classic
// popup keeps out of them only where the package has the command for the
// selection, so that no menu holds it twice and none loses it.
TEST(MenuChoice, TheClassicPopupStepsAsideOnlyWhereThePackagedCommandCoversTheSelection) {
  const std::vector<std::wstring> files = {L"C:\\a.txt", L"C:\\folder"};
  const std::vector<std::wstring> drive = {L"D:\\"};
  const std::vector<std::wstring> driveAndFile = {L"D:\\", L"C:\\a.txt"};
  const struct {
    const std::vector<std::wstring>& selection;
    unsigned build;
    bool registered;
    bool stepsAside;
  } cases[] = {
      {files, 19045, true, false},  // Windows 10 never lists packaged commands
      {files, 21999, true, false},  {files, 22000, true, true},
      {files, 22000, false, false},  // the package failed, or another account registered it
      {files, 26100, false, false}, {drive, 22000, true, false},  // the first releases of 11 have no drive entry
      {drive, 22620, true, false},  {driveAndFile, 22620, true, false},
      {drive, 22621, true, true},   {driveAndFile, 26100, true, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(shellext::ClassicMenuStepsAside(c.selection, c.build, c.registered), c.stepsAside)
        << ::testing::PrintToString(c.selection) << " build " << c.build << " registered " << c.registered;
  }
}

}  // namespace
