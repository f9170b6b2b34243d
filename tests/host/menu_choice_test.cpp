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
      {{}, MenuCommand::ShredFiles, L""},
  };
  for (const auto& c : cases) {
    const shellext::MenuChoice choice = shellext::ChooseMenu(c.selection, machineDrive);
    EXPECT_EQ(choice.command, c.command) << ::testing::PrintToString(c.selection);
    EXPECT_EQ(choice.driveRoot, c.root) << ::testing::PrintToString(c.selection);
  }
}

}  // namespace
