// The recycle-bin erase over volumes the test presents through the platform
// seam: two fixed drives, a volume mounted in a folder, failing queries, the
// folders of earlier and current Windows, names in every script, hard links
// and links, and the progress window recorded call by call.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "shredder/engine/checked_file.h"
#include "shredder/engine/file_wipe.h"
#include "shredder/engine/progress_dialog.h"
#include "shredder/recyclebin/recycle_bin.h"
#include "shredder/recyclebin/recycle_bin_platform.h"
#include "tests/support/system_state.h"
#include "tests/support/temp_folder.h"
#include "tests/windows/support/fake_recycle_bin.h"
#include "tests/windows/support/other_erase.h"
#include "tests/windows/support/progress_recorder.h"
#include "tests/windows/support/scripted_prompts.h"
#include "winframe/handles.h"

namespace {

using Texts = std::vector<std::wstring>;

constexpr wchar_t kSidText[] = L"S-1-5-21-1-2-3-1000";
constexpr wchar_t kDone[] = L"ごみ箱の中身を完全に抹消しました。";
constexpr wchar_t kCannotSearch[] = L"ごみ箱にアクセスできません。(can't search)";
constexpr wchar_t kNotEmptied[] = L"ごみ箱の中を空にできませんでした。";
const std::wstring kNtfsBin = std::wstring(L"Recycler\\") + kSidText;
const std::wstring kCurrentBin = std::wstring(L"$Recycle.Bin\\") + kSidText;

std::wstring Question(int count) {
  return L"ごみ箱の中の " + std::to_wstring(count) + L" 個のファイルを完全に抹消しますか？";
}

class RecycleBinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform_.drives.reserve(8);  // AddDrive hands out references into it
    recyclebin::SetPlatform(&platform_);
    work_.passes = 1;
    work_.progress = &progressDialog_;
    work_.busy = &busy_;
    work_.workFolder = engine::CreateWorkFolder(work_, folder_.WidePath() + L"\\");
    work_.afterPass = [this](const std::wstring& path, int) { wiped_.push_back(path); };
  }
  void TearDown() override { recyclebin::SetPlatform(nullptr); }

  // A drive root backed by a folder of the test, with `files` deleted files
  // in its recycle-bin folder `binName` ("" for none).
  Drive& AddDrive(const std::wstring& name, int files, const std::wstring& binName) {
    const std::wstring root = folder_ / name + L"\\";
    CreateDirectoryW(root.c_str(), nullptr);
    if (!binName.empty()) MakeFolders(root + binName);
    for (int i = 0; i < files; ++i) WriteWholeFile(root + binName + L"\\D" + std::to_wstring(i) + L".txt", "deleted");
    platform_.drives.push_back(Drive{root, true, files, S_OK});
    return platform_.drives.back();
  }

  static void MakeFolders(const std::wstring& path) {
    for (std::size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1)) {
      CreateDirectoryW(Long(path.substr(0, at)).c_str(), nullptr);
    }
    CreateDirectoryW(Long(path).c_str(), nullptr);
  }

  void Erase(bool interactive, engine::WhenTaken whenTaken = engine::WhenTaken::Wait) {
    recyclebin::ShredRecycleBin(
        work_, interactive,
        [this](const std::wstring& title, const std::wstring& text) { balloons_.push_back(title + L": " + text); },
        whenTaken);
  }

  TempFolder folder_;
  FakePlatform platform_;
  ScriptedPrompts prompts_;
  CProgressDialog progressDialog_;
  engine::BusyFlag busy_;
  engine::WorkContext work_;
  std::vector<std::wstring> balloons_;
  std::vector<std::wstring> wiped_;
  ProgressRecorder progress_{progressDialog_};
};

TEST_F(RecycleBinTest, TwoFixedDrivesShareTheTotalAndEachOpensTheBarAnew) {
  Drive& first = AddDrive(L"d1", 3, kNtfsBin);
  Drive& removable = AddDrive(L"r", 7, L"");
  removable.fixed = false;
  removable.query = E_FAIL;  // never asked: only fixed drives count
  Drive& second = AddDrive(L"d2", 2, kNtfsBin);
  prompts_.Answer(IDYES);
  Erase(true);

  ASSERT_EQ(prompts_.Texts(), (Texts{Question(5), kDone}));
  EXPECT_EQ(prompts_.Shown()[0].caption, L"確認");
  EXPECT_EQ(prompts_.Shown()[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(prompts_.Shown()[1].caption, L"情報");
  EXPECT_EQ(progress_.Log(),
            (std::vector<std::string>{"open", "range 0-5 at 0", "step to 1", "step to 2", "step to 3", "close", "open",
                                      "range 0-5 at 0", "step to 1", "step to 2", "close"}));
  EXPECT_EQ(platform_.queried.size(), 2u);
  // Each volume walked, and only those: never the platform's "all of them".
  EXPECT_EQ(platform_.emptied, (Texts{first.root, second.root}));
  EXPECT_FALSE(FileExists(first.root + kNtfsBin + L"\\D0.txt"));
  EXPECT_FALSE(FileExists(work_.workFolder));
}

// Every folder of this user that a volume has is erased, whatever its file
// system: the one every current Windows uses and those of earlier ones
// (Recycler\<SID>, Recycled), all three on one volume if it has them. An
// empty leftover hides nothing, and a volume with none of them holds
// nothing of this user's. A volume mounted in a folder is one like any
// other, emptied by its own root.
TEST_F(RecycleBinTest, EveryFolderOfEveryVolumeIsErasedAndAVolumeWithoutAnyIsPassedOver) {
  Drive& both = AddDrive(L"n", 2, kCurrentBin);
  MakeFolders(both.root + kNtfsBin);
  WriteWholeFile(both.root + kNtfsBin + L"\\D8.txt", "deleted");
  MakeFolders(both.root + L"Recycled");  // empty leftover
  Drive& fat = AddDrive(L"f", 1, L"Recycled");
  Drive& mounted = AddDrive(L"c\\mnt\\vol", 1, kCurrentBin);
  AddDrive(L"never used", 0, L"");
  both.items = 3;
  prompts_.Answer(IDYES);
  Erase(true);
  EXPECT_EQ(prompts_.Texts(), (Texts{Question(5), kDone}));
  EXPECT_FALSE(FileExists(both.root + kCurrentBin + L"\\D0.txt"));
  EXPECT_FALSE(FileExists(both.root + kCurrentBin + L"\\D1.txt"));
  EXPECT_FALSE(FileExists(both.root + kNtfsBin + L"\\D8.txt"));
  EXPECT_FALSE(FileExists(fat.root + L"Recycled\\D0.txt"));
  EXPECT_FALSE(FileExists(mounted.root + kCurrentBin + L"\\D0.txt"));
  EXPECT_EQ(wiped_.size(), 5u);
  EXPECT_EQ(platform_.emptied, (Texts{both.root, fat.root, mounted.root}));
}

TEST_F(RecycleBinTest, AFailedCountAbortsBeforeAnything) {
  Drive& drive = AddDrive(L"d1", 1, kNtfsBin);
  drive.query = E_FAIL;
  Erase(true);
  EXPECT_EQ(prompts_.Texts(), (Texts{L"ごみ箱の情報を取得できません", L"処理を中断します"}));
  EXPECT_TRUE(FileExists(drive.root + kNtfsBin + L"\\D0.txt"));
}

TEST_F(RecycleBinTest, AnEmptyBinSaysNothingInEitherMode) {
  AddDrive(L"d1", 0, kNtfsBin);
  Erase(true);
  Erase(false);
  EXPECT_TRUE(prompts_.Shown().empty());
  EXPECT_TRUE(platform_.emptied.empty());
  EXPECT_TRUE(FileExists(work_.workFolder));
}

TEST_F(RecycleBinTest, TheSilentModeAsksNothingShowsNoWindowAndReportsInTheBalloon) {
  Drive& drive = AddDrive(L"d1", 2, kNtfsBin);
  Erase(false);
  EXPECT_TRUE(prompts_.Shown().empty());
  EXPECT_EQ(balloons_, Texts{std::wstring(L"MORVANE Shredder: ") + kDone});
  EXPECT_TRUE(progress_.Log().empty());
  EXPECT_EQ(platform_.emptied, Texts{drive.root});
  EXPECT_FALSE(FileExists(drive.root + kNtfsBin + L"\\D1.txt"));
}

TEST_F(RecycleBinTest, AFailedEmptyingKeepsTheWorkFolder) {
  AddDrive(L"d1", 1, kNtfsBin);
  platform_.emptyResult = E_FAIL;
  prompts_.Answer(IDYES);
  Erase(true);
  EXPECT_EQ(prompts_.Texts().back(), L"ごみ箱の中身を空にできません。");
  EXPECT_TRUE(FileExists(work_.workFolder));
}

// Without the SID this user's folders cannot be found; emptying would then
// delete their files unwiped.
TEST_F(RecycleBinTest, AnUnknownSidStopsTheEraseBeforeTheEmptying) {
  Drive& drive = AddDrive(L"d1", 1, kNtfsBin);
  platform_.sid.reset();
  prompts_.Answer(IDYES);
  Erase(true);
  EXPECT_EQ(prompts_.Texts(), (Texts{Question(1), kCannotSearch, kNotEmptied}));
  EXPECT_TRUE(platform_.emptied.empty());
  EXPECT_TRUE(FileExists(drive.root + kNtfsBin + L"\\D0.txt"));
}

// The names as the file system has them: accents, hangul, Chinese, emoji,
// names that end in a dot or a blank (which Wine names without them), "¥"
// (which the ANSI functions turn into a backslash) and names past the old
// path limit, at the top and nested. A folder named "..¥..¥x" stays a
// folder of the recycle bin: the file outside with the same tail is kept.
TEST_F(RecycleBinTest, NamesInEveryScriptAndLongPathsAreErasedAndTheWalkStaysInside) {
  Drive& drive = AddDrive(L"d1", 0, kNtfsBin);
  const std::wstring bin = drive.root + kNtfsBin;
  const std::wstring names[] = {L"café.txt", L"한국어.txt", L"中文.txt", L"\U0001F600.txt", L"dot.", L"blank "};
  for (const std::wstring& name : names) WriteWholeFile(bin + L"\\" + name, "deleted");
  MakeFolders(bin + L"\\Dc1\\ネスト");
  for (const std::wstring& name : names) WriteWholeFile(bin + L"\\Dc1\\ネスト\\" + name, "deleted");
  MakeFolders(bin + L"\\..¥..¥x");
  WriteWholeFile(bin + L"\\..¥..¥x\\tail.txt", "deleted");
  MakeFolders(drive.root + L"x");
  WriteWholeFile(drive.root + L"x\\tail.txt", "outside the recycle bin");
  std::wstring deep = bin + L"\\Dc2";
  while (deep.size() < 420) deep += L"\\" + std::wstring(50, L'長');
  MakeFolders(deep);
  WriteWholeFile(deep + L"\\deep.txt", "deleted");
  drive.items = 9;

  prompts_.Answer(IDYES);
  Erase(true);
  EXPECT_EQ(prompts_.Texts(), (Texts{Question(9), kDone}));
  EXPECT_EQ(wiped_.size(), 14u);
  for (const std::wstring& name : names) {
    EXPECT_FALSE(FileExists(bin + L"\\" + name)) << Ansi(name);
    EXPECT_FALSE(FileExists(bin + L"\\Dc1\\ネスト\\" + name)) << Ansi(name);
  }
  EXPECT_FALSE(FileExists(bin + L"\\..¥..¥x\\tail.txt"));
  EXPECT_FALSE(FileExists(deep + L"\\deep.txt"));
  EXPECT_EQ(ReadWholeFile(drive.root + L"x\\tail.txt"), "outside the recycle bin");
}

// A file whose every name is in the recycle bin is wiped once and all its
// names go; one with a name outside keeps its content for that name.
TEST_F(RecycleBinTest, HardLinksAreWipedWhenEveryNameIsInsideAndKeptOtherwise) {
  Drive& drive = AddDrive(L"d1", 0, kNtfsBin);
  const std::wstring bin = drive.root + kNtfsBin;
  MakeFolders(bin + L"\\Dc1");
  WriteWholeFile(bin + L"\\D1.txt", "both names inside");
  ASSERT_TRUE(CreateHardLinkW((bin + L"\\Dc1\\D2.txt").c_str(), (bin + L"\\D1.txt").c_str(), nullptr));
  const std::wstring outside = folder_.WriteFile(L"kept.txt", "a name outside");
  ASSERT_TRUE(CreateHardLinkW((bin + L"\\D3.txt").c_str(), outside.c_str(), nullptr));
  drive.items = 3;

  prompts_.Answer(IDYES);
  Erase(true);
  EXPECT_EQ(prompts_.Texts(), (Texts{Question(3), kDone}));
  EXPECT_EQ(wiped_.size(), 1u);  // once, though it had two names
  // Behind the progress window of its own, after that of the walk.
  EXPECT_EQ(progress_.Log(), (std::vector<std::string>{"open", "range 0-3 at 0", "step to 1", "step to 2", "step to 3",
                                                       "close", "open", "range 0-1 at 0", "step to 1", "close"}));
  EXPECT_FALSE(FileExists(bin + L"\\D1.txt"));
  EXPECT_FALSE(FileExists(bin + L"\\Dc1\\D2.txt"));
  EXPECT_EQ(ReadWholeFile(outside), "a name outside");
  EXPECT_EQ(platform_.emptied, Texts{drive.root});  // which removes the name inside
}

// Links planted in the recycle bin lead outside it: neither entered nor
// overwritten, whatever they lead to.
TEST_F(RecycleBinTest, LinksInTheBinAreNeitherEnteredNorOverwritten) {
  Drive& drive = AddDrive(L"d1", 1, kNtfsBin);
  const std::wstring bin = drive.root + kNtfsBin;
  const std::wstring victimFolder = folder_ / L"victim";
  CreateDirectoryW(victimFolder.c_str(), nullptr);
  const std::wstring victim = folder_.WriteFile(L"victim\\letter.txt", "someone else's");
  if (!MakeSymbolicLink(victimFolder, bin + L"\\Dc1") || !MakeSymbolicLink(victim, bin + L"\\Dc2.txt")) {
    GTEST_SKIP() << "no symbolic links in this test bed";
  }
  drive.items = 3;
  prompts_.Answer(IDYES);
  Erase(true);
  EXPECT_EQ(prompts_.Texts(), (Texts{Question(3), kDone}));
  EXPECT_EQ(ReadWholeFile(victim), "someone else's");
  EXPECT_FALSE(FileExists(bin + L"\\D0.txt"));
  EXPECT_EQ(wiped_.size(), 1u);
  RemoveSymbolicLink(bin + L"\\Dc1");
  RemoveSymbolicLink(bin + L"\\Dc2.txt");
}

// Stopped at any moment, even during the last pass of a file, the erase
// leaves that file and what it has not reached, empties nothing (that would
// delete those files unwiped), leaves the work folder clean and says so.
TEST_F(RecycleBinTest, AStopLeavesTheRestAndEmptiesNothing) {
  Drive& drive = AddDrive(L"d1", 3, kNtfsBin);
  engine::StopSignal stop;
  work_.stop = &stop;
  work_.afterPass = [&](const std::wstring& path, int) {
    wiped_.push_back(path);
    stop.Request();
  };
  prompts_.Answer(IDYES);
  Erase(true);
  EXPECT_EQ(prompts_.Texts(), (Texts{Question(3), L"ごみ箱の中身の抹消を中止しました。ごみ箱は空にしていません。"}));
  EXPECT_EQ(prompts_.Shown()[1].caption, L"情報");
  EXPECT_EQ(wiped_.size(), 1u);
  int left = 0;
  for (int i = 0; i < 3; ++i) left += FileExists(drive.root + kNtfsBin + L"\\D" + std::to_wstring(i) + L".txt");
  EXPECT_EQ(left, 3);
  EXPECT_TRUE(platform_.emptied.empty());
  EXPECT_FALSE(progressDialog_.IsOpen());
  EXPECT_TRUE(FileExists(work_.workFolder));
  EXPECT_TRUE(RemoveDirectoryW(work_.workFolder.c_str())) << "the work folder holds something";
}

// A file that another program keeps open, sharing its deletion, is
// overwritten, but where its name cannot go at once it stays in the bin
// under that name, and the bin is not emptied.
TEST_F(RecycleBinTest, AFileWhoseNameCannotGoStaysInTheBinAndTheBinIsNotEmptied) {
  Drive& drive = AddDrive(L"d1", 2, kNtfsBin);
  const std::wstring viewed = drive.root + kNtfsBin + L"\\D0.txt";
  wf::UniqueFile viewer(CreateFileW(viewed.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                    nullptr));
  ASSERT_TRUE(viewer);
  prompts_.Answer(IDYES);
  Erase(true);
  viewer.Reset();
  if (!FileExists(viewed)) GTEST_SKIP() << "this platform removes names with POSIX semantics";
  EXPECT_EQ(
      prompts_.Texts(),
      (Texts{
          Question(2),
          L"\"" + viewed + L"\" は上書きしましたが、ほかのプログラムが開いているため削除できませんでした。",
          L"1 "
          L"個のファイルは上書きしましたが、ほかのプログラムが開いているため削除できず、ごみ箱を空にしませんでした。\n"
          L"ファイルを使っているプログラムを終了してから、もう一度実行してください。"}));
  EXPECT_NE(ReadWholeFile(viewed), "deleted");
  EXPECT_FALSE(FileExists(drive.root + kNtfsBin + L"\\D1.txt"));
  EXPECT_TRUE(platform_.emptied.empty());
  EXPECT_TRUE(RemoveDirectoryW(work_.workFolder.c_str())) << "the work folder holds something";
}

// Removed without being overwritten where its content lies (presented
// through the seam, as Wine has no compressed files): the bin is emptied,
// but never called "completely erased".
TEST_F(RecycleBinTest, ContentKeptElsewhereIsEmptiedButNotCalledErased) {
  Drive& drive = AddDrive(L"d1", 2, kNtfsBin);
  static std::wstring s_compressed;
  s_compressed = Long(drive.root + kNtfsBin + L"\\D1.txt");
  engine::SetFactsOverride([](const std::wstring& path, DWORD& attributes, std::uint32_t&) {
    if (path == s_compressed) attributes |= FILE_ATTRIBUTE_COMPRESSED;
  });
  Erase(false);
  engine::SetFactsOverride(nullptr);
  EXPECT_EQ(balloons_,
            Texts{L"MORVANE Shredder: ごみ箱を空にしました。\n1 個のファイルは圧縮・暗号化されているか内容がほかの"
                  L"場所にあるため、元の場所を上書きしないまま削除しました。"});
  EXPECT_EQ(platform_.emptied, Texts{drive.root});
}

// While another process's erase writes, the timer's erase gives up without a
// word (it tries again at its next tick); one the user asked for asks first,
// waits, and goes on by itself once the other is done.
TEST_F(RecycleBinTest, WhileAnotherEraseWritesTheTimersSkipsAndAnAskedOneWaitsThenGoesOn) {
  Drive& drive = AddDrive(L"d1", 1, kNtfsBin);
  OtherErase other(engine::EraseKind::Files);
  Erase(false, engine::WhenTaken::Skip);
  EXPECT_TRUE(prompts_.Shown().empty());
  EXPECT_TRUE(balloons_.empty());
  EXPECT_TRUE(FileExists(drive.root + kNtfsBin + L"\\D0.txt"));

  bool waited = false;
  std::thread watcher = OnWaitingWindow([&](HWND waiting) {
    waited = waiting != nullptr;
    other.Release();
  });
  prompts_.Answer(IDYES);
  Erase(true);
  watcher.join();
  EXPECT_TRUE(waited);
  EXPECT_EQ(prompts_.Texts(), (Texts{Question(1), kDone}));
  EXPECT_FALSE(FileExists(drive.root + kNtfsBin + L"\\D0.txt"));
  EXPECT_EQ(platform_.emptied, Texts{drive.root});
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
  Drive& drive = AddDrive(L"d1", 1, kNtfsBin);
  g_erase = [this](bool interactive) { Erase(interactive); };
  g_busy = &busy_;
  wf::PromptHandler previous = wf::SetPromptHandler(AskAgainWhileAsking);
  Erase(true);
  wf::SetPromptHandler(previous);
  EXPECT_EQ(g_shown, 1);
  EXPECT_FALSE(busy_.IsBusy());
  EXPECT_TRUE(platform_.emptied.empty());
  EXPECT_TRUE(FileExists(drive.root + kNtfsBin + L"\\D0.txt"));
}

}  // namespace
