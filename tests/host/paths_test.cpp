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

// A file in a root has the root for its folder, backslash and all: "C:"
// alone is the drive's current folder, "\\?\C:" the raw volume.
TEST(Paths, FolderAndNameSplitAtTheLastBackslashAndARootKeepsIt) {
  const struct {
    const wchar_t* path;
    const wchar_t* folder;
    const wchar_t* withSeparator;
    const wchar_t* name;
  } cases[] = {
      {L"C:\\表示\\a¥b.exe", L"C:\\表示", L"C:\\表示\\", L"a¥b.exe"},  // "¥" is no separator
      {L"noslash", L"", L"", L"noslash"},
      {L"C:\\root.txt", L"C:\\", L"C:\\", L"root.txt"},
      {L"\\\\?\\C:\\root.txt", L"\\\\?\\C:\\", L"\\\\?\\C:\\", L"root.txt"},
      {L"\\\\?\\C:\\dir\\f", L"\\\\?\\C:\\dir", L"\\\\?\\C:\\dir\\", L"f"},
      {L"\\\\server\\share\\f", L"\\\\server\\share\\", L"\\\\server\\share\\", L"f"},
      {L"\\\\server\\share\\d\\f", L"\\\\server\\share\\d", L"\\\\server\\share\\d\\", L"f"},
      {L"\\\\?\\UNC\\server\\share\\f", L"\\\\?\\UNC\\server\\share\\", L"\\\\?\\UNC\\server\\share\\", L"f"},
      {L"\\\\?\\Volume{1}\\f", L"\\\\?\\Volume{1}", L"\\\\?\\Volume{1}\\", L"f"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::wstring(c.path)));
    EXPECT_EQ(paths::FolderOf(c.path), c.folder);
    EXPECT_EQ(paths::FolderWithSeparator(c.path), c.withSeparator);
    EXPECT_EQ(paths::NameOf(c.path), c.name);
    // The folder of every file the file functions take is one they take too.
    if (paths::IsAbsolutePath(c.path)) {
      EXPECT_TRUE(ToExtended(paths::FolderOf(c.path)));
    }
  }
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
      {L"\\\\?\\C:\\", L"\\\\?\\C:\\"},
      {L"\\\\?\\UNC\\server\\share\\", L"\\\\?\\UNC\\server\\share\\"},
      {L"\\\\server\\share\\", L"\\\\?\\UNC\\server\\share\\"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToExtended(c.path), std::optional<std::wstring>(c.extended))
        << ::testing::PrintToString(std::wstring(c.path));
  }
  EXPECT_FALSE(ToExtended(L"a.txt"));
  EXPECT_TRUE(ToExtended(L"C:\\" + std::wstring(32000, L'x')));
  EXPECT_FALSE(ToExtended(L"C:\\" + std::wstring(32767, L'x')));
}

// Messages show paths as the user wrote them; a volume's own name keeps its
// prefix, without which it names nothing.
TEST(Paths, TheShownFormDropsOnlyTheLongFormsPrefix) {
  const struct {
    const wchar_t* path;
    const wchar_t* shown;
  } cases[] = {
      {L"\\\\?\\C:\\work_temp\\1a2b.tmp", L"C:\\work_temp\\1a2b.tmp"},
      {L"\\\\?\\UNC\\server\\share\\ms3.tmp", L"\\\\server\\share\\ms3.tmp"},
      {L"\\\\?\\unc\\server\\share\\x", L"\\\\server\\share\\x"},
      {L"\\\\?\\Volume{1}\\x", L"\\\\?\\Volume{1}\\x"},
      {L"C:\\a.txt", L"C:\\a.txt"},
      {L"\\\\?\\", L"\\\\?\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(paths::ShownForm(c.path), c.shown) << ::testing::PrintToString(c.path);
}

// Wine links its drives to Linux folders ("\\??\\unix/..."): no subst drive.
TEST(Paths, OnlyADrivesFolderIsASubstitute) {
  EXPECT_EQ(paths::SubstitutedFolder(L"\\??\\C:\\data"), std::optional<std::wstring>(L"C:\\data"));
  EXPECT_EQ(paths::SubstitutedFolder(L"\\??\\D:\\"), std::optional<std::wstring>(L"D:\\"));
  for (const wchar_t* own : {L"\\Device\\HarddiskVolume1", L"\\??\\unix/mnt/x", L"\\??\\UNC\\s\\share", L""}) {
    EXPECT_FALSE(paths::SubstitutedFolder(own)) << ::testing::PrintToString(std::wstring(own));
  }
}

TEST(Paths, TrailingDotsAndBlanksComeOffEveryNameButTheRoot) {
  EXPECT_EQ(paths::WithoutTrailingDotsAndBlanks(L"\\\\?\\C:\\bin\\x. "), L"\\\\?\\C:\\bin\\x");
  EXPECT_EQ(paths::WithoutTrailingDotsAndBlanks(L"\\\\?\\C:\\d.\\a.b..\\..\\f"), L"\\\\?\\C:\\d\\a.b\\..\\f");
  EXPECT_EQ(paths::WithoutTrailingDotsAndBlanks(L"C:\\plain.txt"), L"C:\\plain.txt");
}

TEST(TextFormat, CountsAndAsciiNames) {
  EXPECT_EQ(text::FormatCount(L"%d 個", 70000), L"70000 個");
  EXPECT_EQ(text::FormatCount(L"no count", 3), L"no count");
  EXPECT_EQ(text::FormatCount(L"%d and %d", -1), L"-1 and %d");
  EXPECT_EQ(text::FormatTexts(L"%s の %s を", {L"C:\\%s", L"1 MB"}), L"C:\\%s の 1 MB を");
  EXPECT_EQ(text::FormatTexts(L"%s と %s", {L"one"}), L"one と %s");
  // A name may hold "%s" or "%d" itself: it is put in once and left as it is.
  EXPECT_EQ(text::FormatText(L"ファイル \"%s\" が開けません", L"C:\\100%s %d.txt"),
            L"ファイル \"C:\\100%s %d.txt\" が開けません");
  EXPECT_TRUE(text::EqualsIgnoringAsciiCase(L"M-Shredder", L"m-SHREDDER"));
  EXPECT_FALSE(text::EqualsIgnoringAsciiCase(L"Ａ", L"ａ"));
  EXPECT_FALSE(text::EqualsIgnoringAsciiCase(L"RBTest", L"RBTests"));
}

// Temporary names have as many digits as the number needs; keys and fill
// names always eight.
TEST(TextFormat, HexDigitsUpToTheWidthAndNeverCut) {
  const struct {
    std::uint32_t value;
    std::size_t width;
    const wchar_t* digits;
  } cases[] = {
      {0, 1, L"0"}, {0x2a, 1, L"2a"}, {0xffff, 1, L"ffff"}, {0x2a, 8, L"0000002a"}, {0xdeadbeef, 4, L"deadbeef"},
  };
  for (const auto& c : cases) EXPECT_EQ(text::HexDigits(c.value, c.width), c.digits) << c.value;
  EXPECT_EQ(text::EightHexDigits(0), L"00000000");
}

TEST(Cp932, FindSkipsTrailBytes) {
  EXPECT_EQ(cp932::FindFirst("\x95\x5C\\", '\\'), 2u);
  EXPECT_EQ(cp932::FindFirst("a\\b", '\\'), 1u);
  EXPECT_EQ(cp932::FindFirst("\x95\x5C", '\\'), std::string_view::npos);
}

}  // namespace
