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

TEST(SettingsPlace, SettingsAndWorkFolderGoWhereTheUserMayWriteWithTheTemporaryFolderLast) {
  const settings::UserFolders all{L"C:\\U\\Roaming", L"C:\\U\\Local\\", L"C:\\T"};
  const struct {
    const char* what;
    bool beside;
    std::wstring program;
    settings::UserFolders folders;
    bool perUser;
    std::wstring settingsFolder;
    std::wstring defaultsFile;
    std::vector<std::wstring> workFolderParents;
  } cases[] = {
      {"a copy of the user's own",
       true,
       L"D:\\Tools\\",
       all,
       false,
       L"D:\\Tools\\",
       L"",
       {L"D:\\Tools\\", L"C:\\T\\MORVANE Shredder\\"}},
      {"an installed copy",
       false,
       L"C:\\Program Files\\MORVANE Shredder\\",
       all,
       true,
       L"C:\\U\\Roaming\\MORVANE Shredder\\",
       L"C:\\Program Files\\MORVANE Shredder\\OPTION.INI",
       {L"C:\\U\\Local\\MORVANE Shredder\\", L"C:\\T\\MORVANE Shredder\\"}},
      // Without the user's folders nothing is made where the user may not
      // write: the settings can only be read where they are.
      {"no user folders but the temporary one",
       false,
       L"E:\\S\\",
       {std::nullopt, std::nullopt, L"C:\\T\\"},
       false,
       L"E:\\S\\",
       L"",
       {L"C:\\T\\MORVANE Shredder\\"}},
      {"no user folders at all", false, L"E:\\S\\", {}, false, L"E:\\S\\", L"", {}},
  };
  for (const auto& c : cases) {
    const settings::Places places = settings::ChoosePlaces(c.beside, c.program, c.folders);
    EXPECT_EQ(places.perUser, c.perUser) << c.what;
    EXPECT_EQ(places.settingsFolder, c.settingsFolder) << c.what;
    EXPECT_EQ(places.defaultsFile, c.defaultsFile) << c.what;
    EXPECT_EQ(places.workFolderParents, c.workFolderParents) << c.what;
  }
}

}  // namespace
