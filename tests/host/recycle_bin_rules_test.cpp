#include "shredder/recyclebin/recycle_bin_rules.h"

#include <gtest/gtest.h>

#include <set>

#include "common/text_format.h"

namespace {

using recyclebin::AccountName;
using recyclebin::RecycleBinFolder;
using recyclebin::SidText;

TEST(SidText, PrefixThenEverySubAuthorityUnsigned) {
  EXPECT_EQ(SidText({21, 1, 2, 3, 1000}), "S-1-5-21-1-2-3-1000");
  EXPECT_EQ(SidText({}), "S-1-5");
  EXPECT_EQ(SidText({4294967295u}), "S-1-5-4294967295");
}

TEST(AccountName, ComputerPrefixOnlyWhenTheUserIsNamedLikeTheComputer) {
  EXPECT_EQ(AccountName("taro", "DESKTOP1"), "taro");
  EXPECT_EQ(AccountName("desktop1", "DESKTOP1"), "DESKTOP1\\\\desktop1");
  EXPECT_EQ(AccountName("Desktop1", "DESKTOP1"), "DESKTOP1\\\\Desktop1");
  // 太郎 in code page 932: double-byte characters are compared exactly.
  EXPECT_EQ(AccountName("\x91\xBE\x98\x59", "\x91\xBE\x98\x59"), "\x91\xBE\x98\x59\\\\\x91\xBE\x98\x59");
  EXPECT_EQ(AccountName("\x82\x60", "\x82\x81"), "\x82\x60");  // Ａ and ａ differ
}

class FolderChoice : public ::testing::Test {
 protected:
  std::set<std::string> existing_;
  std::function<bool(const std::string&)> exists_ = [this](const std::string& path) {
    return existing_.count(path) != 0;
  };
};

TEST_F(FolderChoice, ClassicFoldersByFileSystemName) {
  EXPECT_EQ(RecycleBinFolder("C:\\", "FAT32", "S-1-5-21-1", exists_), "C:\\Recycled");
  EXPECT_EQ(RecycleBinFolder("D:\\", "NTFS", "S-1-5-21-1-2-3-1000", exists_), "D:\\Recycler\\S-1-5-21-1-2-3-1000");
  // Exact names only.
  for (const char* other : {"FAT", "FAT16", "exFAT", "ntfs", "NTFS ", "", "CDFS"}) {
    EXPECT_FALSE(RecycleBinFolder("C:\\", other, "S-1-5-21-1", exists_)) << other;
  }
}

TEST_F(FolderChoice, CurrentWindowsFolderWhenTheClassicOneIsMissing) {
  existing_ = {"C:\\$Recycle.Bin\\S-1-5-21-7", "E:\\$Recycle.Bin\\S-1-5-21-7"};
  EXPECT_EQ(RecycleBinFolder("C:\\", "NTFS", "S-1-5-21-7", exists_), "C:\\$Recycle.Bin\\S-1-5-21-7");
  EXPECT_EQ(RecycleBinFolder("E:\\", "FAT32", "S-1-5-21-7", exists_), "E:\\$Recycle.Bin\\S-1-5-21-7");
  // The classic folder wins when both exist; neither: the classic one, on
  // which the walk then reports that it cannot search.
  existing_.insert("C:\\Recycler\\S-1-5-21-7");
  EXPECT_EQ(RecycleBinFolder("C:\\", "NTFS", "S-1-5-21-7", exists_), "C:\\Recycler\\S-1-5-21-7");
  EXPECT_EQ(RecycleBinFolder("D:\\", "NTFS", "S-1-5-21-7", exists_), "D:\\Recycler\\S-1-5-21-7");
}

TEST_F(FolderChoice, UnknownSidNeverNamesAnExistingFolder) {
  existing_ = {"C:\\Recycler\\S-1-5", "C:\\$Recycle.Bin\\S-1-5", "C:\\Recycler\\"};
  const auto folder = RecycleBinFolder("C:\\", "NTFS", "", exists_);
  ASSERT_TRUE(folder);
  EXPECT_EQ(folder->rfind("C:\\Recycler\\", 0), 0u);
  EXPECT_EQ(existing_.count(*folder), 0u);
  EXPECT_NE(folder->find('|'), std::string::npos);
}

TEST(SkipRule, OnlyTheExactIndexAndDesktopFileNames) {
  EXPECT_TRUE(recyclebin::IsSkippedFileName("desktop.ini"));
  EXPECT_TRUE(recyclebin::IsSkippedFileName("INFO2"));
  for (const char* name : {"Desktop.ini", "DESKTOP.INI", "info2", "INFO2 ", "INFO", "$IABC123.txt", "desktop.ini.bak",
                           "\x95\x5C" "desktop.ini"}) {
    EXPECT_FALSE(recyclebin::IsSkippedFileName(name)) << name;
  }
}

TEST(SubfolderLimit, ParentPlusNamePlusThreeAtMostTheBuffer) {
  EXPECT_TRUE(recyclebin::SubfolderFits(250, 7));
  EXPECT_FALSE(recyclebin::SubfolderFits(250, 8));
}

TEST(FormatCount, ReplacesTheFirstPlaceholder) {
  EXPECT_EQ(text::FormatCount("%d 個", 70000), "70000 個");
  EXPECT_EQ(text::FormatCount("no count", 3), "no count");
  EXPECT_EQ(text::FormatCount("%d and %d", -1), "-1 and %d");
}

}  // namespace
