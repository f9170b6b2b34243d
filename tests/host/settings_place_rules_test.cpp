#include "shredder/settings/settings_place_rules.h"

#include <gtest/gtest.h>

namespace {

using settings::ProgramFolderFacts;
using settings::TokenKind;

constexpr std::optional<bool> kUnknown = std::nullopt;

TEST(SettingsPlace, TheUnelevatedTokenDecidesSoThatBothStartsOfOneAdministratorAgree) {
  const struct {
    const char* who;
    ProgramFolderFacts facts;
    bool writable;
  } cases[] = {
      // Program Files: the administrator's elevated token may write, its
      // unelevated half may not, and a standard user may not.
      {"elevated administrator, Program Files", {TokenKind::Elevated, true, false, false}, false},
      {"same administrator unelevated, Program Files", {TokenKind::Limited, false, true, false}, false},
      {"standard user, Program Files", {TokenKind::Plain, false, kUnknown, false}, false},
      // A folder of the user's own.
      {"elevated administrator, own folder", {TokenKind::Elevated, true, true, false}, true},
      {"same administrator unelevated, own folder", {TokenKind::Limited, true, true, false}, true},
      {"standard user, own folder", {TokenKind::Plain, true, kUnknown, false}, true},
      // No split token (the prompt switched off, the built-in administrator).
      {"administrator without the prompt, Program Files", {TokenKind::Plain, true, kUnknown, false}, true},
      // Security that cannot be read (FAT) is no security: as before, beside.
      {"no security to ask", {TokenKind::Limited, kUnknown, kUnknown, false}, true},
      {"elevated, unelevated half unknown", {TokenKind::Elevated, true, kUnknown, false}, false},
      // A CD or a write-protected volume, whatever its security says.
      {"read-only volume", {TokenKind::Plain, true, kUnknown, true}, false},
      {"read-only volume, elevated", {TokenKind::Elevated, true, true, true}, false},
  };
  for (const auto& c : cases) EXPECT_EQ(settings::UserMayWriteWithoutElevation(c.facts), c.writable) << c.who;
}

TEST(SettingsPlace, AWritableFolderKeepsEverythingBesideTheProgramWithTheTemporaryFolderAsFallback) {
  const settings::Places places =
      settings::ChoosePlaces(true, L"D:\\Tools\\Shredder\\",
                             {L"C:\\Users\\u\\AppData\\Roaming", L"C:\\Users\\u\\AppData\\Local\\", L"C:\\T\\"});
  EXPECT_FALSE(places.perUser);
  EXPECT_EQ(places.settingsFolder, L"D:\\Tools\\Shredder\\");
  EXPECT_EQ(places.defaultsFile, L"");
  EXPECT_EQ(places.workFolderParents,
            (std::vector<std::wstring>{L"D:\\Tools\\Shredder\\", L"C:\\T\\MORVANE Shredder\\"}));
}

TEST(SettingsPlace, AFolderTheUserMayNotWriteSendsSettingsAndWorkFolderToTheUsersOwnFolders) {
  const settings::Places places =
      settings::ChoosePlaces(false, L"C:\\Program Files\\MORVANE Shredder\\",
                             {L"C:\\Users\\u\\AppData\\Roaming", L"C:\\Users\\u\\AppData\\Local", L"C:\\T"});
  EXPECT_TRUE(places.perUser);
  EXPECT_EQ(places.settingsFolder, L"C:\\Users\\u\\AppData\\Roaming\\MORVANE Shredder\\");
  EXPECT_EQ(places.defaultsFile, L"C:\\Program Files\\MORVANE Shredder\\OPTION.INI");
  EXPECT_EQ(places.workFolderParents, (std::vector<std::wstring>{L"C:\\Users\\u\\AppData\\Local\\MORVANE Shredder\\",
                                                                 L"C:\\T\\MORVANE Shredder\\"}));
}

TEST(SettingsPlace, WithoutTheUsersFoldersNothingIsMadeWhereTheUserMayNotWrite) {
  // No roaming folder: the settings can only be read where they are.
  const settings::Places places =
      settings::ChoosePlaces(false, L"E:\\Shredder\\", {std::nullopt, std::nullopt, L"C:\\T"});
  EXPECT_FALSE(places.perUser);
  EXPECT_EQ(places.settingsFolder, L"E:\\Shredder\\");
  EXPECT_EQ(places.workFolderParents, std::vector<std::wstring>{L"C:\\T\\MORVANE Shredder\\"});
  EXPECT_TRUE(settings::ChoosePlaces(false, L"E:\\Shredder\\", {}).workFolderParents.empty());
}

}  // namespace
