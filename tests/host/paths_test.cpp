#include "common/paths.h"

#include <gtest/gtest.h>

#include "common/cp932.h"
#include "common/text_format.h"

namespace {

using paths::ToExtended;

TEST(Paths, JoinRefusesOnlyWhatTheSystemCannotTake) {
  const std::wstring folder(32760, L'a');
  EXPECT_TRUE(paths::Join(folder, L"OPTION"));  // 32766 and the terminator
  EXPECT_FALSE(paths::Join(folder, L"OPTION.INI"));
  EXPECT_EQ(*paths::Join(L"C:\\Tools\\", L"OPTION.INI"), L"C:\\Tools\\OPTION.INI");
}

TEST(Paths, FolderAndNameSplitAtTheLastBackslash) {
  EXPECT_EQ(paths::FolderWithSeparator(L"C:\\表示\\a¥b.exe"), L"C:\\表示\\");
  EXPECT_EQ(paths::FolderOf(L"C:\\表示\\a¥b.exe"), L"C:\\表示");
  EXPECT_EQ(paths::NameOf(L"C:\\表示\\a¥b.exe"), L"a¥b.exe");  // "¥" is no separator
  EXPECT_EQ(paths::FolderWithSeparator(L"noslash"), L"");
  EXPECT_EQ(paths::NameOf(L"noslash"), L"noslash");
}

TEST(Paths, OnlyDrivePathsAndSharesAreAbsolute) {
  for (const wchar_t* path :
       {L"C:\\a.txt", L"z:\\", L"C:\\表", L"C:/a.txt", L"\\\\server\\share", L"\\\\server\\share\\a.txt",
        L"\\\\表\\share\\a", L"\\\\?\\C:\\a.txt", L"\\\\?\\UNC\\server\\share\\a"}) {
    EXPECT_TRUE(paths::IsAbsolutePath(path)) << ::testing::PrintToString(std::wstring(path));
  }
  for (const wchar_t* path :
       {L"", L"a.txt", L"C:", L"C:a.txt", L"1:\\a", L"\\a.txt", L"\\\\", L"\\\\server", L"\\\\server\\",
        L"\\\\server\\\\share", L"\\\\\\share\\a", L"\\\\.\\C:", L"\\\\.\\PhysicalDrive0",
        L"\\\\?\\GLOBALROOT\\Device\\x", L"\\\\?\\Volume{1}\\a", L"..\\a.txt", L"Ａ:\\a"}) {
    EXPECT_FALSE(paths::IsAbsolutePath(path)) << ::testing::PrintToString(std::wstring(path));
  }
}

// The long form names exactly the file the short one does on the platform,
// and keeps every name as it is.
TEST(Paths, TheLongFormOfEveryKindOfAbsolutePath) {
  const struct {
    const wchar_t* path;
    const wchar_t* extended;
  } cases[] = {
      {L"C:\\a\\b.txt", L"\\\\?\\C:\\a\\b.txt"},
      {L"c:\\", L"\\\\?\\c:\\"},
      {L"C:/a//b\\.\\c.txt", L"\\\\?\\C:\\a\\b\\c.txt"},
      {L"C:\\a\\..\\b.txt", L"\\\\?\\C:\\b.txt"},
      {L"C:\\..\\..\\b.txt", L"\\\\?\\C:\\b.txt"},    // never above the drive
      {L"C:\\x.\\y .txt", L"\\\\?\\C:\\x.\\y .txt"},  // trailing dots and blanks are names
      {L"C:\\..¥..¥x\\a.txt", L"\\\\?\\C:\\..¥..¥x\\a.txt"},
      {L"\\\\server\\share\\a.txt", L"\\\\?\\UNC\\server\\share\\a.txt"},
      {L"\\\\server\\share\\..\\a.txt", L"\\\\?\\UNC\\server\\share\\a.txt"},  // never above the share
      {L"\\\\?\\C:\\a.txt", L"\\\\?\\C:\\a.txt"},
      {L"\\\\?\\unc\\server\\share\\a", L"\\\\?\\UNC\\server\\share\\a"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToExtended(c.path), std::optional<std::wstring>(c.extended))
        << ::testing::PrintToString(std::wstring(c.path));
  }
  EXPECT_FALSE(ToExtended(L"a.txt"));
  EXPECT_TRUE(ToExtended(L"C:\\" + std::wstring(32000, L'x')));
  EXPECT_FALSE(ToExtended(L"C:\\" + std::wstring(32767, L'x')));
}

TEST(TextFormat, CountsAndAsciiNames) {
  EXPECT_EQ(text::FormatCount(L"%d 個", 70000), L"70000 個");
  EXPECT_EQ(text::FormatCount(L"no count", 3), L"no count");
  EXPECT_EQ(text::FormatCount(L"%d and %d", -1), L"-1 and %d");
  EXPECT_TRUE(text::EqualsIgnoringAsciiCase(L"M-Shredder", L"m-SHREDDER"));
  EXPECT_FALSE(text::EqualsIgnoringAsciiCase(L"Ａ", L"ａ"));
  EXPECT_FALSE(text::EqualsIgnoringAsciiCase(L"RBTest", L"RBTests"));
}

TEST(Cp932, FindSkipsTrailBytes) {
  EXPECT_EQ(cp932::FindFirst("\x95\x5C\\", '\\'), 2u);
  EXPECT_EQ(cp932::FindFirst("a\\b", '\\'), 1u);
  EXPECT_EQ(cp932::FindFirst("\x95\x5C", '\\'), std::string_view::npos);
}

}  // namespace
