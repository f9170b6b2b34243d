#include "shredder/recyclebin/recycle_bin_rules.h"

#include <gtest/gtest.h>

namespace {

using Folders = std::vector<std::wstring>;
using recyclebin::RecycleBinFolders;

TEST(FolderChoice, TheFolderOfTheFileSystemAndThatOfCurrentWindows) {
  EXPECT_EQ(RecycleBinFolders(L"C:\\", L"FAT32", L"S-1-5-21-7"),
            (Folders{L"C:\\Recycled", L"C:\\$Recycle.Bin\\S-1-5-21-7"}));
  // Any authority: organisation accounts are S-1-12-1-...
  EXPECT_EQ(RecycleBinFolders(L"D:\\", L"NTFS", L"S-1-12-1-1-2-3-4"),
            (Folders{L"D:\\Recycler\\S-1-12-1-1-2-3-4", L"D:\\$Recycle.Bin\\S-1-12-1-1-2-3-4"}));
  // Exact names only.
  for (const wchar_t* other : {L"FAT", L"FAT16", L"exFAT", L"ntfs", L"NTFS ", L"", L"CDFS"}) {
    EXPECT_FALSE(RecycleBinFolders(L"C:\\", other, L"S-1-5-21-1")) << other;
  }
}

TEST(SkipRule, OnlyTheExactIndexAndDesktopFileNames) {
  EXPECT_TRUE(recyclebin::IsSkippedFileName(L"desktop.ini"));
  EXPECT_TRUE(recyclebin::IsSkippedFileName(L"INFO2"));
  for (const wchar_t* name : {L"Desktop.ini", L"DESKTOP.INI", L"info2", L"INFO2 ", L"INFO", L"$IABC123.txt",
                              L"desktop.ini.bak", L"表desktop.ini"}) {
    EXPECT_FALSE(recyclebin::IsSkippedFileName(name)) << name;
  }
}

TEST(SubfolderLimit, ParentPlusNamePlusThreeAtMostTheSystemsLimit) {
  EXPECT_TRUE(recyclebin::SubfolderFits(32000, 764));
  EXPECT_FALSE(recyclebin::SubfolderFits(32000, 765));
  EXPECT_TRUE(recyclebin::SubfolderFits(250, 8));  // the old limit is gone
}

}  // namespace
