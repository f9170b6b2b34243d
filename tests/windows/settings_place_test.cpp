// Where a start keeps its settings, as the platform answers: the folder's
// security asked with the token the user has without elevation, the probe of
// the settings file, and the first per-user start from the folder's defaults.
#include "shredder/settings/settings_place.h"

#include <gtest/gtest.h>

#include "shredder/settings/settings_store.h"
#include "tests/support/system_state.h"
#include "tests/support/temp_folder.h"
#include "winframe/app.h"

namespace {

class SettingsPlaceTest : public ::testing::Test {
 protected:
  void TearDown() override { ChangeUnixMode(program_.WidePath(), "755"); }

  std::wstring ProgramFolder() const { return program_.WidePath() + L"\\"; }
  settings::Places PerUser() const {
    return settings::ChoosePlaces(false, ProgramFolder(), {user_.WidePath(), std::nullopt, std::nullopt});
  }
  std::wstring UserFile() const { return user_ / L"MORVANE Shredder\\OPTION.INI"; }

  TempFolder program_;
  TempFolder user_;
};

// Wine runs every program as one administrator, elevated, whose linked
// token is the unelevated one: the folder's own security decides.
TEST_F(SettingsPlaceTest, AFolderTheUserMayNotWriteIsSoForBothTokensAndSendsTheSettingsToTheUser) {
  const settings::ProgramFolderFacts writable = settings::FolderFacts(ProgramFolder());
  EXPECT_EQ(writable.ownTokenMayWrite, true);
  EXPECT_FALSE(writable.readOnlyVolume);
  EXPECT_TRUE(settings::UserMayWriteWithoutElevation(writable));

  ASSERT_TRUE(ChangeUnixMode(program_.WidePath(), "555"));
  const settings::ProgramFolderFacts readOnly = settings::FolderFacts(ProgramFolder());
  EXPECT_EQ(readOnly.ownTokenMayWrite, false);
  if (readOnly.token != settings::TokenKind::Plain) {
    EXPECT_EQ(readOnly.linkedTokenMayWrite, false);
  }
  EXPECT_FALSE(settings::UserMayWriteWithoutElevation(readOnly));
  EXPECT_TRUE(settings::LocatePlaces(ProgramFolder()).perUser);
  EXPECT_FALSE(FileExists(program_ / L"OPTION.INI")) << "nothing was tried beside the program";
}

TEST_F(SettingsPlaceTest, OnlyASettingsFileThatRefusesWritesMovesTheSettingsAndTheProbeLeavesNothing) {
  EXPECT_TRUE(settings::SettingsFileWritable(ProgramFolder()));
  EXPECT_FALSE(FileExists(program_ / L"OPTION.INI"));

  // Held by another program for a moment: still the place of the settings.
  const std::wstring ini = program_.WriteFile(L"OPTION.INI", "[ProgramData]\r\n");
  {
    const HANDLE held = CreateFileW(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(settings::SettingsFileWritable(ProgramFolder()));
    CloseHandle(held);
  }
  // Refused (under Wine, which lets its one account write any file, by a
  // folder of that name; on Windows a read-only file or share does it too).
  ASSERT_TRUE(DeleteFileW(ini.c_str()));
  ASSERT_TRUE(CreateDirectoryW(ini.c_str(), nullptr));
  EXPECT_FALSE(settings::SettingsFileWritable(ProgramFolder()));
  EXPECT_TRUE(settings::LocatePlaces(ProgramFolder()).perUser);
}

TEST_F(SettingsPlaceTest, TheFirstPerUserStartCopiesTheFoldersDefaultsAsAPlainFileAndNeverAgain) {
  const std::string defaults = "[ProgramData]\r\nOverWriteTimes=7\r\n; left by the administrator\r\n";
  const std::wstring folderIni = program_.WriteFile(L"OPTION.INI", defaults);
  ASSERT_TRUE(SetFileAttributesW(folderIni.c_str(), FILE_ATTRIBUTE_READONLY));

  settings::PreparePerUserSettings(PerUser());
  EXPECT_EQ(ReadWholeFile(UserFile()), defaults);
  EXPECT_EQ(GetFileAttributesW(UserFile().c_str()) & FILE_ATTRIBUTE_READONLY, 0u) << "the user's copy takes writes";
  wf::App app(GetModuleHandleW(nullptr));
  app.SetProfilePath(UserFile());
  settings::WriteFirstStartSettings(UserFile());
  EXPECT_EQ(ReadWholeFile(UserFile()), defaults) << "a copied file is the first start's";
  EXPECT_TRUE(settings::WriteInt(L"OverWriteTimes", 9));
  EXPECT_EQ(settings::ReadOptions().overWriteTimes, 9);

  // The user's own settings stay the user's.
  settings::PreparePerUserSettings(PerUser());
  EXPECT_EQ(GetPrivateProfileIntW(L"ProgramData", L"OverWriteTimes", 0, UserFile().c_str()), 9);
  EXPECT_EQ(ReadWholeFile(folderIni), defaults);
  SetFileAttributesW(folderIni.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
