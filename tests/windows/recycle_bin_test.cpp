// The recycle-bin erase over drives the test presents through the platform
// seam: two fixed drives, file systems the test bed cannot mount, failing
// queries, and the progress window recorded call by call.
#include <gtest/gtest.h>

#include "shredder/app/main_dialog.h"
#include "shredder/recyclebin/recycle_bin_platform.h"
#include "tests/windows/support/fake_recycle_bin.h"
#include "tests/support/temp_folder.h"
#include "tests/windows/support/progress_recorder.h"
#include "tests/windows/support/scripted_prompts.h"
#include "winframe/app.h"

namespace {

constexpr char kSidText[] = "S-1-5-21-1-2-3-1000";
constexpr char kDone[] = "ごみ箱の中身を完全に抹消しました。";
constexpr char kCannotSearch[] = "ごみ箱にアクセスできません。(can't search)";
constexpr char kNotEmptied[] = "ごみ箱の中を空にできませんでした。";

class RecycleBinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform_.drives.reserve(8);  // AddDrive hands out references into it
    app_.SetProfilePath(folder_ / "OPTION.INI");
    WriteWholeFile(folder_ / "OPTION.INI", "[ProgramData]\r\nOverWriteTimes=1\r\n");
    recyclebin::SetPlatform(&platform_);
    dialog_.CreateWorkFolder(folder_.Path() + "\\");
  }
  void TearDown() override { recyclebin::SetPlatform(nullptr); }

  // A drive root backed by a folder of the test, with `files` deleted files
  // in its recycle-bin folder `binName` ("" for none).
  Drive& AddDrive(const std::string& name, int files, const std::string& binName) {
    const std::string root = folder_ / name + "\\";
    CreateDirectoryA(root.c_str(), nullptr);
    if (!binName.empty()) {
      std::string bin = root;
      for (std::size_t at = 0; at != std::string::npos;) {
        const std::size_t next = binName.find('\\', at);
        bin += binName.substr(at, next == std::string::npos ? std::string::npos : next - at);
        CreateDirectoryA(bin.c_str(), nullptr);
        bin += "\\";
        at = next == std::string::npos ? next : next + 1;
      }
      for (int i = 0; i < files; ++i) WriteWholeFile(bin + "D" + std::to_string(i) + ".txt", "deleted");
    }
    platform_.drives.push_back(Drive{root, true, "NTFS", files, S_OK});
    return platform_.drives.back();
  }

  std::string BinOf(const Drive& drive, const std::string& binName) const { return drive.root + binName; }

  TempFolder folder_;
  wf::App app_{GetModuleHandleA(nullptr)};
  FakePlatform platform_;
  CMainDialog dialog_;
  ScriptedPrompts prompts_;
  ProgressRecorder progress_{dialog_.Progress()};
};

const std::string kNtfsBin = std::string("Recycler\\") + kSidText;

TEST_F(RecycleBinTest, TwoFixedDrivesShareTheTotalAndEachOpensTheBarAnew) {
  Drive& first = AddDrive("d1", 3, kNtfsBin);
  Drive& removable = AddDrive("r", 7, "");
  removable.fixed = false;
  removable.query = E_FAIL;  // never asked: only fixed drives count
  AddDrive("d2", 2, kNtfsBin);
  prompts_.Answer(IDYES);
  dialog_.ShredRecycleBin(true);

  ASSERT_EQ(prompts_.Texts(), (std::vector<std::string>{"ごみ箱の中の 5 個のファイルを完全に抹消しますか？", kDone}));
  EXPECT_EQ(prompts_.Shown()[0].caption, "確認");
  EXPECT_EQ(prompts_.Shown()[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(prompts_.Shown()[1].caption, "情報");
  EXPECT_EQ(progress_.Log(), (std::vector<std::string>{"open", "range 0-5 at 0", "step to 1", "step to 2",
                                                       "step to 3", "close", "open", "range 0-5 at 0", "step to 1",
                                                       "step to 2", "close"}));
  EXPECT_EQ(platform_.queried.size(), 2u);
  EXPECT_EQ(platform_.emptied, 1);
  EXPECT_FALSE(FileExists(BinOf(first, kNtfsBin) + "\\D0.txt"));
  EXPECT_FALSE(FileExists(dialog_.WorkFolder()));
}

TEST_F(RecycleBinTest, FatDrivesKeepTheirDeletedFilesInRecycled) {
  Drive& fat = AddDrive("f", 1, "Recycled");
  fat.fileSystem = "FAT32";
  prompts_.Answer(IDYES);
  dialog_.ShredRecycleBin(true);
  EXPECT_EQ(prompts_.Texts().back(), kDone);
  EXPECT_FALSE(FileExists(BinOf(fat, "Recycled") + "\\D0.txt"));
}

TEST_F(RecycleBinTest, ADriveWithoutItsFolderStopsTheEraseBeforeTheEmptying) {
  Drive& first = AddDrive("d1", 2, kNtfsBin);
  AddDrive("d2", 0, "");
  prompts_.Answer(IDYES);
  dialog_.ShredRecycleBin(true);
  EXPECT_EQ(prompts_.Texts(), (std::vector<std::string>{"ごみ箱の中の 2 個のファイルを完全に抹消しますか？",
                                                        kCannotSearch, kNotEmptied}));
  EXPECT_EQ(platform_.emptied, 0);
  EXPECT_FALSE(FileExists(BinOf(first, kNtfsBin) + "\\D0.txt"));  // the first drive was done
  EXPECT_EQ(progress_.Log().back(), "close");
  EXPECT_FALSE(dialog_.Progress().IsOpen());
  EXPECT_TRUE(FileExists(dialog_.WorkFolder()));
}

TEST_F(RecycleBinTest, AnUnsupportedFileSystemIsNamedAndStopsTheErase) {
  AddDrive("d1", 1, kNtfsBin);
  Drive& exfat = AddDrive("e", 1, kNtfsBin);
  exfat.fileSystem = "exFAT";
  prompts_.Answer(IDYES);
  dialog_.ShredRecycleBin(true);
  EXPECT_EQ(prompts_.Texts(), (std::vector<std::string>{"ごみ箱の中の 2 個のファイルを完全に抹消しますか？",
                                                        "このファイルシステムはサポートしていません。",
                                                        "ごみ箱へのパスを取得できませんでした。"}));
  EXPECT_EQ(platform_.emptied, 0);
  EXPECT_FALSE(dialog_.Progress().IsOpen());
}

TEST_F(RecycleBinTest, AFailedCountAbortsBeforeAnything) {
  Drive& drive = AddDrive("d1", 1, kNtfsBin);
  drive.query = E_FAIL;
  dialog_.ShredRecycleBin(true);
  EXPECT_EQ(prompts_.Texts(), (std::vector<std::string>{"ごみ箱の情報を取得できません", "処理を中断します"}));
  EXPECT_TRUE(FileExists(BinOf(drive, kNtfsBin) + "\\D0.txt"));
}

TEST_F(RecycleBinTest, AnEmptyBinSaysNothingInEitherMode) {
  AddDrive("d1", 0, kNtfsBin);
  dialog_.ShredRecycleBin(true);
  dialog_.ShredRecycleBin(false);
  EXPECT_TRUE(prompts_.Shown().empty());
  EXPECT_EQ(platform_.emptied, 0);
  EXPECT_TRUE(FileExists(dialog_.WorkFolder()));
}

TEST_F(RecycleBinTest, TheSilentModeAsksNothingAndShowsNoWindow) {
  Drive& drive = AddDrive("d1", 2, kNtfsBin);
  dialog_.ShredRecycleBin(false);
  EXPECT_TRUE(prompts_.Shown().empty());
  EXPECT_TRUE(progress_.Log().empty());
  EXPECT_EQ(platform_.emptied, 1);
  EXPECT_FALSE(FileExists(BinOf(drive, kNtfsBin) + "\\D1.txt"));
}

TEST_F(RecycleBinTest, AFailedEmptyingKeepsTheWorkFolder) {
  AddDrive("d1", 1, kNtfsBin);
  platform_.emptyResult = E_FAIL;
  prompts_.Answer(IDYES);
  dialog_.ShredRecycleBin(true);
  EXPECT_EQ(prompts_.Texts().back(), "ごみ箱の中身を空にできません。");
  EXPECT_TRUE(FileExists(dialog_.WorkFolder()));
}

TEST_F(RecycleBinTest, AnUnknownSidLeadsToAFolderThatCannotBeSearched) {
  Drive& drive = AddDrive("d1", 1, kNtfsBin);
  platform_.sid.reset();
  prompts_.Answer(IDYES);
  dialog_.ShredRecycleBin(true);
  EXPECT_EQ(prompts_.Texts(), (std::vector<std::string>{"ごみ箱の中の 1 個のファイルを完全に抹消しますか？",
                                                        kCannotSearch, kNotEmptied}));
  EXPECT_TRUE(FileExists(BinOf(drive, kNtfsBin) + "\\D0.txt"));
}

TEST_F(RecycleBinTest, TheCurrentWindowsFolderIsUsedWhenTheClassicOneIsMissing) {
  Drive& drive = AddDrive("d1", 2, std::string("$Recycle.Bin\\") + kSidText);
  prompts_.Answer(IDYES);
  dialog_.ShredRecycleBin(true);
  EXPECT_EQ(prompts_.Texts().back(), kDone);
  EXPECT_FALSE(FileExists(BinOf(drive, std::string("$Recycle.Bin\\") + kSidText) + "\\D0.txt"));
}

TEST_F(RecycleBinTest, ASubfolderPathBeyondTheLimitIsNotEntered) {
  Drive& drive = AddDrive("d1", 1, kNtfsBin);
  const std::string bin = BinOf(drive, kNtfsBin);
  const std::string name(260 - bin.size() - 2, 'n');  // one more than fits
  ASSERT_TRUE(CreateDirectoryA((bin + "\\" + name).c_str(), nullptr));
  prompts_.Answer(IDYES);
  dialog_.ShredRecycleBin(true);
  ASSERT_GE(prompts_.Texts().size(), 2u);
  EXPECT_EQ(prompts_.Texts()[1], "ごみ箱にアクセスできません。(path name is too long)");
  EXPECT_EQ(platform_.emptied, 0);
  RemoveDirectoryA((bin + "\\" + name).c_str());
}

// While the question is open, the timer and the tray can still be served;
// such a second request must not start another erase.
CMainDialog* g_dialog = nullptr;
int g_shown = 0;
int AskAgainWhileAsking(const wf::PromptRequest& request) {
  ++g_shown;
  if ((request.flags & MB_TYPEMASK) == MB_YESNO) {
    const int before = g_shown;
    g_dialog->ShredRecycleBin(false);
    g_dialog->ShredRecycleBin(true);
    EXPECT_EQ(g_shown, before) << "a second erase spoke up";
    EXPECT_TRUE(g_dialog->IsBusy());
    return IDNO;
  }
  return IDOK;
}

TEST_F(RecycleBinTest, ARequestWhileAnEraseRunsIsRefusedWithoutAWord) {
  Drive& drive = AddDrive("d1", 1, kNtfsBin);
  g_dialog = &dialog_;
  wf::PromptHandler previous = wf::SetPromptHandler(AskAgainWhileAsking);
  dialog_.ShredRecycleBin(true);
  wf::SetPromptHandler(previous);
  EXPECT_EQ(g_shown, 1);
  EXPECT_FALSE(dialog_.IsBusy());
  EXPECT_EQ(platform_.emptied, 0);
  EXPECT_TRUE(FileExists(BinOf(drive, kNtfsBin) + "\\D0.txt"));
}

}  // namespace
