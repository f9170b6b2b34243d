#include "common/paths.h"

#include <gtest/gtest.h>

#include "common/cp932.h"

namespace {

TEST(Paths, JoinRefusesWhatDoesNotFitAMaxPathBuffer) {
  const std::string folder(250, 'a');
  ASSERT_TRUE(paths::Join(folder, "OPTION.IN"));          // 259 bytes: fits with the terminator
  EXPECT_EQ(paths::Join(folder, "OPTION.IN")->size(), 259u);
  EXPECT_FALSE(paths::Join(folder, "OPTION.INI"));        // 260: no room for the terminator
  EXPECT_EQ(*paths::Join("C:\\Tools\\", "OPTION.INI"), "C:\\Tools\\OPTION.INI");
}

TEST(Paths, FolderSplitIgnoresBackslashBytesInsideDoubleByteCharacters) {
  // "C:\表示\a.exe": the trail byte of 表 is 0x5C.
  const std::string path = "C:\\\x95\x5C\x8E\xA6\\a.exe";
  EXPECT_EQ(paths::FolderWithSeparator(path), "C:\\\x95\x5C\x8E\xA6\\");
  EXPECT_EQ(paths::FolderOf(path), "C:\\\x95\x5C\x8E\xA6");
  EXPECT_EQ(paths::NameOf(path), "a.exe");
  // A name ending in 表 has no separator of its own at the end.
  const std::string folderName = "C:\\\x95\x5C";
  EXPECT_EQ(paths::FolderWithSeparator(folderName), "C:\\");
  EXPECT_EQ(paths::NameOf(folderName), "\x95\x5C");
  EXPECT_EQ(paths::FolderWithSeparator("noslash"), "");
  EXPECT_EQ(paths::NameOf("noslash"), "noslash");
}

TEST(Cp932, CaseInsensitiveComparisonFoldsOnlySingleByteLetters) {
  EXPECT_TRUE(cp932::EqualsNoCase("HOST", "host"));
  EXPECT_TRUE(cp932::EqualsNoCase("\x95\x5C" "a", "\x95\x5C" "A"));
  EXPECT_FALSE(cp932::EqualsNoCase("host", "hosts"));
  // 0x82 0x60 (Ａ) and 0x82 0x81 (ａ) are different characters; a byte-wise
  // ASCII fold must not touch trail bytes in the letter range either.
  EXPECT_FALSE(cp932::EqualsNoCase("\x82\x60", "\x82\x81"));
  EXPECT_FALSE(cp932::EqualsNoCase("\x83" "a", "\x83" "A"));
  // A lone lead byte at the end is compared as a single byte.
  EXPECT_TRUE(cp932::EqualsNoCase("a\x83", "A\x83"));
}

TEST(Cp932, FindSkipsTrailBytes) {
  EXPECT_EQ(cp932::FindLast("\x95\x5C", '\\'), std::string_view::npos);
  EXPECT_EQ(cp932::FindFirst("\x95\x5C\\", '\\'), 2u);
  EXPECT_EQ(cp932::FindLast("a\\b\\c", '\\'), 3u);
}

}  // namespace
