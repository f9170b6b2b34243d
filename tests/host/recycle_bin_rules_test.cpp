#include "shredder/recyclebin/recycle_bin_rules.h"

#include <gtest/gtest.h>

namespace {

using Folders = std::vector<std::wstring>;
using recyclebin::RecycleBinFolders;

// Every file system the same (Wine names every drive NTFS, so this is where
// the others are seen); any authority: organisation accounts are S-1-12-1-...
TEST(FolderChoice, EveryVolumeHasTheFoldersOfCurrentAndEarlierWindows) {
  EXPECT_EQ(RecycleBinFolders(L"D:\\", L"S-1-12-1-1-2-3-4"),
            (Folders{L"D:\\$Recycle.Bin\\S-1-12-1-1-2-3-4", L"D:\\Recycler\\S-1-12-1-1-2-3-4", L"D:\\Recycled"}));
  EXPECT_EQ(RecycleBinFolders(L"C:\\mnt\\vol\\", L"S-1-5-21-7"),
            (Folders{L"C:\\mnt\\vol\\$Recycle.Bin\\S-1-5-21-7", L"C:\\mnt\\vol\\Recycler\\S-1-5-21-7",
                     L"C:\\mnt\\vol\\Recycled"}));
}

// The advice fits the causes there were: never "close the programs" when no
// program held a file.
TEST(NotWipedMessage, SaysWhatToDoForEachCauseThereWas) {
  const std::wstring head = L"2 個のファイルを上書きできなかったため、ごみ箱を空にしませんでした。";
  const std::wstring stayed =
      L"1 個のファイルは上書きしましたが、ほかのプログラムが開いているため削除できず、ごみ箱を空にしませんでした。";
  const std::wstring linked = L"3 個の項目はリンクを経由した場所にあるため上書きせず、ごみ箱を空にしませんでした。";
  const std::wstring held = L"\nファイルを使っているプログラムを終了してから、もう一度実行してください。";
  const std::wstring space = L"\nディスクの空き領域を増やしてから、もう一度実行してください。";
  const std::wstring device = L"\nディスクに書き込めなかったファイルがあります。ディスクの状態を確かめてください。";
  const std::wstring look =
      L"\nお知らせした項目を確かめてください。ふつうにごみ箱を空にすると、上書きされないまま削除されます。";
  const struct {
    recyclebin::LeftInBin left;  // unwiped, held, noSpace, nameStayed, throughLink
    std::wstring message;
  } cases[] = {
      {{2, 2, 0, 0, 0}, head + held},
      {{2, 0, 2, 0, 0}, head + space},
      {{2, 0, 0, 0, 0}, head + device},
      {{2, 1, 1, 0, 0}, head + held + space},
      {{2, 1, 0, 0, 0}, head + held + device},
      {{0, 0, 0, 1, 0}, stayed + held},
      {{2, 0, 2, 1, 0}, head + L"\n" + stayed + held + space},
      {{0, 0, 0, 0, 3}, linked + look},
      {{2, 2, 0, 1, 3}, head + L"\n" + stayed + L"\n" + linked + held + look},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(c.left.Any());
    EXPECT_EQ(recyclebin::NotWipedMessage(c.left), c.message);
  }
  EXPECT_FALSE(recyclebin::LeftInBin{}.Any());
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
