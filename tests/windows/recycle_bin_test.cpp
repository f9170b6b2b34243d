// The recycle-bin erase over drives the test presents through the platform
// seam: two fixed drives, file systems the test bed cannot mount, failing
// queries, and the progress window recorded call by call.
#include <gtest/gtest.h>

#include <functional>

#include "shredder/engine/file_wipe.h"
#include "shredder/engine/progress_dialog.h"
#include "shredder/recyclebin/recycle_bin.h"
#include "shredder/recyclebin/recycle_bin_platform.h"
#include "tests/support/temp_folder.h"
#include "tests/windows/support/fake_recycle_bin.h"
#include "tests/windows/support/progress_recorder.h"
#include "tests/windows/support/scripted_prompts.h"

namespace {

constexpr char kSidText[] = "S-1-5-21-1-2-3-1000";
constexpr char kDone[] = "ごみ箱の中身を完全に抹消しました。";
constexpr char kCannotSearch[] = "ごみ箱にアクセスできません。(can't search)";
constexpr char kNotEmptied[] = "ごみ箱の中を空にできませんでした。";

class RecycleBinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform_.drives.reserve(8);  // AddDrive hands out references into it
    recyclebin::SetPlatform(&platform_);
    work_.passes = 1;
    work_.progress = &progressDialog_;
    work_.busy = &busy_;
    work_.workFolder = engine::CreateWorkFolder(work_, folder_.Path() + "\\");
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

  void Erase(bool interactive) {
    recyclebin::ShredRecycleBin(work_, interactive, [this](const std::string& title, const std::string& text) {
      balloons_.push_back(title + ": " + text);
    });
  }

  TempFolder folder_;
  FakePlatform platform_;
  ScriptedPrompts prompts_;
  CProgressDialog progressDialog_;
  engine::BusyFlag busy_;
  engine::WorkContext work_;
  std::vector<std::string> balloons_;
  ProgressRecorder progress_{progressDialog_};
};

const std::string kNtfsBin = std::string("Recycler\\") + kSidText;

TEST_F(RecycleBinTest, TwoFixedDrivesShareTheTotalAndEachOpensTheBarAnew) {
  Drive& first = AddDrive("d1", 3, kNtfsBin);
  Drive& removable = AddDrive("r", 7, "");
  removable.fixed = false;
  removable.query = E_FAIL;  // never asked: only fixed drives count
  AddDrive("d2", 2, kNtfsBin);
  prompts_.Answer(IDYES);
  Erase(true);

  ASSERT_EQ(prompts_.Texts(), (std::vector<std::string>{"ごみ箱の中の 5 個のファイルを完全に抹消しますか？", kDone}));
  EXPECT_EQ(prompts_.Shown()[0].caption, "確認");
  EXPECT_EQ(prompts_.Shown()[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(prompts_.Shown()[1].caption, "情報");
  EXPECT_EQ(progress_.Log(),
            (std::vector<std::string>{"open", "range 0-5 at 0", "step to 1", "step to 2", "step to 3", "close", "open",
                                      "range 0-5 at 0", "step to 1", "step to 2", "close"}));
  EXPECT_EQ(platform_.queried.size(), 2u);
  EXPECT_EQ(platform_.emptied, 1);
  EXPECT_FALSE(FileExists(BinOf(first, kNtfsBin) + "\\D0.txt"));
  EXPECT_FALSE(FileExists(work_.workFolder));
}

TEST_F(RecycleBinTest, FatDrivesKeepTheirDeletedFilesInRecycled) {
  Drive& fat = AddDrive("f", 1, "Recycled");
  fat.fileSystem = "FAT32";
  prompts_.Answer(IDYES);
  Erase(true);
  EXPECT_EQ(prompts_.Texts().back(), kDone);
  EXPECT_FALSE(FileExists(BinOf(fat, "Recycled") + "\\D0.txt"));
}

TEST_F(RecycleBinTest, ADriveWithoutItsFolderStopsTheEraseBeforeTheEmptying) {
  Drive& first = AddDrive("d1", 2, kNtfsBin);
  AddDrive("d2", 0, "");
  prompts_.Answer(IDYES);
  Erase(true);
  EXPECT_EQ(prompts_.Texts(), (std::vector<std::string>{"ごみ箱の中の 2 個のファイルを完全に抹消しますか？",
                                                        kCannotSearch, kNotEmptied}));
  EXPECT_EQ(platform_.emptied, 0);
  EXPECT_FALSE(FileExists(BinOf(first, kNtfsBin) + "\\D0.txt"));  // the first drive was done
  EXPECT_EQ(progress_.Log().back(), "close");
  EXPECT_FALSE(progressDialog_.IsOpen());
  EXPECT_TRUE(FileExists(work_.workFolder));
}

TEST_F(RecycleBinTest, AnUnsupportedFileSystemIsNamedAndStopsTheErase) {
  AddDrive("d1", 1, kNtfsBin);
  Drive& exfat = AddDrive("e", 1, kNtfsBin);
  exfat.fileSystem = "exFAT";
  prompts_.Answer(IDYES);
  Erase(true);
  EXPECT_EQ(prompts_.Texts(), (std::vector<std::string>{"ごみ箱の中の 2 個のファイルを完全に抹消しますか？",
                                                        "このファイルシステムはサポートしていません。",
                                                        "ごみ箱へのパスを取得できませんでした。"}));
  EXPECT_EQ(platform_.emptied, 0);
  EXPECT_FALSE(progressDialog_.IsOpen());
}

TEST_F(RecycleBinTest, AFailedCountAbortsBeforeAnything) {
  Drive& drive = AddDrive("d1", 1, kNtfsBin);
  drive.query = E_FAIL;
  Erase(true);
  EXPECT_EQ(prompts_.Texts(), (std::vector<std::string>{"ごみ箱の情報を取得できません", "処理を中断します"}));
  EXPECT_TRUE(FileExists(BinOf(drive, kNtfsBin) + "\\D0.txt"));
}

TEST_F(RecycleBinTest, AnEmptyBinSaysNothingInEitherMode) {
  AddDrive("d1", 0, kNtfsBin);
  Erase(true);
  Erase(false);
  EXPECT_TRUE(prompts_.Shown().empty());
  EXPECT_EQ(platform_.emptied, 0);
  EXPECT_TRUE(FileExists(work_.workFolder));
}

TEST_F(RecycleBinTest, TheSilentModeAsksNothingShowsNoWindowAndReportsInTheBalloon) {
  Drive& drive = AddDrive("d1", 2, kNtfsBin);
  Erase(false);
  EXPECT_TRUE(prompts_.Shown().empty());
  EXPECT_EQ(balloons_, std::vector<std::string>{std::string("MORVANE Shredder: ") + kDone});
  EXPECT_TRUE(progress_.Log().empty());
  EXPECT_EQ(platform_.emptied, 1);
  EXPECT_FALSE(FileExists(BinOf(drive, kNtfsBin) + "\\D1.txt"));
}

TEST_F(RecycleBinTest, AFailedEmptyingKeepsTheWorkFolder) {
  AddDrive("d1", 1, kNtfsBin);
  platform_.emptyResult = E_FAIL;
  prompts_.Answer(IDYES);
  Erase(true);
  EXPECT_EQ(prompts_.Texts().back(), "ごみ箱の中身を空にできません。");
  EXPECT_TRUE(FileExists(work_.workFolder));
}

TEST_F(RecycleBinTest, AnUnknownSidLeadsToAFolderThatCannotBeSearched) {
  Drive& drive = AddDrive("d1", 1, kNtfsBin);
  platform_.sid.reset();
  prompts_.Answer(IDYES);
  Erase(true);
  EXPECT_EQ(prompts_.Texts(), (std::vector<std::string>{"ごみ箱の中の 1 個のファイルを完全に抹消しますか？",
                                                        kCannotSearch, kNotEmptied}));
  EXPECT_TRUE(FileExists(BinOf(drive, kNtfsBin) + "\\D0.txt"));
}

TEST_F(RecycleBinTest, TheCurrentWindowsFolderIsUsedWhenTheClassicOneIsMissing) {
  Drive& drive = AddDrive("d1", 2, std::string("$Recycle.Bin\\") + kSidText);
  prompts_.Answer(IDYES);
  Erase(true);
  EXPECT_EQ(prompts_.Texts().back(), kDone);
  EXPECT_FALSE(FileExists(BinOf(drive, std::string("$Recycle.Bin\\") + kSidText) + "\\D0.txt"));
}

TEST_F(RecycleBinTest, ASubfolderPathBeyondTheLimitIsNotEntered) {
  Drive& drive = AddDrive("d1", 1, kNtfsBin);
  const std::string bin = BinOf(drive, kNtfsBin);
  const std::string name(260 - bin.size() - 2, 'n');  // one more than fits
  ASSERT_TRUE(CreateDirectoryA((bin + "\\" + name).c_str(), nullptr));
  prompts_.Answer(IDYES);
  Erase(true);
  ASSERT_GE(prompts_.Texts().size(), 2u);
  EXPECT_EQ(prompts_.Texts()[1], "ごみ箱にアクセスできません。(path name is too long)");
  EXPECT_EQ(platform_.emptied, 0);
  RemoveDirectoryA((bin + "\\" + name).c_str());
}

// While the question is open, the timer and the tray can still be served;
// such a second request must not start another erase.
std::function<void(bool)> g_erase;
const engine::BusyFlag* g_busy = nullptr;
int g_shown = 0;
int AskAgainWhileAsking(const wf::PromptRequest& request) {
  ++g_shown;
  if ((request.flags & MB_TYPEMASK) == MB_YESNO) {
    const int before = g_shown;
    g_erase(false);
    g_erase(true);
    EXPECT_EQ(g_shown, before) << "a second erase spoke up";
    EXPECT_TRUE(g_busy->IsBusy());
    return IDNO;
  }
  return IDOK;
}

TEST_F(RecycleBinTest, ARequestWhileAnEraseRunsIsRefusedWithoutAWord) {
  Drive& drive = AddDrive("d1", 1, kNtfsBin);
  g_erase = [this](bool interactive) { Erase(interactive); };
  g_busy = &busy_;
  wf::PromptHandler previous = wf::SetPromptHandler(AskAgainWhileAsking);
  Erase(true);
  wf::SetPromptHandler(previous);
  EXPECT_EQ(g_shown, 1);
  EXPECT_FALSE(busy_.IsBusy());
  EXPECT_EQ(platform_.emptied, 0);
  EXPECT_TRUE(FileExists(BinOf(drive, kNtfsBin) + "\\D0.txt"));
}

}  // namespace
