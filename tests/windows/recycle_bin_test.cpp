// The recycle-bin erase over volumes the test presents through the platform
// seam: two fixed drives, a volume mounted in a folder, failing queries, the
// folders of earlier and current Windows, names in every script, hard links
// and links, and the progress window recorded call by call.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
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

constexpr wchar_t kThroughLink[] = L" はリンクを経由した場所にあるため上書きしません。";
constexpr wchar_t kStopped[] = L"ごみ箱の中身の抹消を中止しました。ごみ箱は空にしていません。";

// The summary of an erase that left entries a link led elsewhere.
std::wstring LedElsewhere(int count) {
  return std::to_wstring(count) +
         L" 個の項目はリンクを経由した場所にあるため上書きせず、ごみ箱を空にしませんでした。\n"
         L"お知らせした項目を確かめてください。ふつうにごみ箱を空にすると、上書きされないまま削除されます。";
}

// The summary of an erase that overwrote files whose names could not go.
std::wstring NamesStayed(int count) {
  return std::to_wstring(count) +
         L" 個のファイルは上書きしましたが、ほかのプログラムが開いているため削除できず、ごみ箱を空にしませんでした。\n"
         L"ファイルを使っているプログラムを終了してから、もう一度実行してください。";
}

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

  // Another row of a table: nothing found, told or done yet.
  void StartOver() {
    platform_.drives.clear();
    platform_.emptied.clear();
    prompts_.Clear();
    progress_.Clear();
    wiped_.clear();
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
  EXPECT_EQ(prompts_.Texts(), (Texts{WithReason(L"ごみ箱の情報を取得できません", E_FAIL), L"処理を中断します"}));
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
  EXPECT_EQ(prompts_.Texts().back(), WithReason(L"ごみ箱の中身を空にできません。", E_FAIL));
  EXPECT_TRUE(FileExists(work_.workFolder));
}

// The work folder goes after the emptying; where something keeps it, the
// application's own box says so, with the system's reason.
TEST_F(RecycleBinTest, AWorkFolderThatCannotGoIsToldWithTheSystemsReason) {
  AddDrive(L"d1", 1, kNtfsBin);
  WriteWholeFile(work_.workFolder + L"\\stray.txt", "not the erase's");
  prompts_.Answer(IDYES);
  Erase(true);
  EXPECT_EQ(prompts_.Texts(),
            (Texts{Question(1), kDone,
                   WithReason(L"作業用フォルダを削除することができませんでした。", ERROR_DIR_NOT_EMPTY)}));
  EXPECT_EQ(prompts_.Shown()[2].flags, static_cast<UINT>(MB_ICONERROR));
}

// Without the SID this user's folders cannot be found; emptying would then
// delete their files unwiped.
TEST_F(RecycleBinTest, AnUnknownSidStopsTheEraseBeforeTheEmptying) {
  Drive& drive = AddDrive(L"d1", 1, kNtfsBin);
  platform_.sid.reset();
  prompts_.Answer(IDYES);
  Erase(true);
  EXPECT_EQ(prompts_.Texts(), (Texts{Question(1), WithReason(kCannotSearch, platform_.sidError), kNotEmptied}));
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
// overwritten, whatever they lead to. A link to a folder is one by its entry
// and holds nothing: the emptying removes it. Wine shows a link to a file as
// the file itself, whose handle is then not where its path says: it is not
// overwritten either, it is told, and the bin is not emptied over it.
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
  EXPECT_EQ(prompts_.Texts(), (Texts{Question(3), Quoted(bin + L"\\Dc2.txt") + kThroughLink, LedElsewhere(1)}));
  EXPECT_EQ(ReadWholeFile(victim), "someone else's");
  EXPECT_FALSE(FileExists(bin + L"\\D0.txt"));
  EXPECT_EQ(wiped_.size(), 1u);
  EXPECT_TRUE(platform_.emptied.empty());
  RemoveSymbolicLink(bin + L"\\Dc1");
  RemoveSymbolicLink(bin + L"\\Dc2.txt");
}

// What the platform says, presented through the seam: an entry or a folder
// of the bin whose handle a link led elsewhere is not overwritten, it is told
// by its path, and the bin is not emptied over what it holds; the rest is
// erased. An entry that is itself a link holds nothing: it is passed over,
// and the emptying removes it.
std::wstring g_presented;
bool g_presentedAsLink = false;

TEST_F(RecycleBinTest, AnEntryOrAFolderALinkLedElsewhereKeepsTheBinFromBeingEmptied) {
  const struct {
    const wchar_t* name;  // below the bin: a file, or a folder with a file in it
    bool asLink;          // presented as a link itself, rather than one led elsewhere
    bool emptied;
  } cases[] = {{L"D1.txt", false, false}, {L"Dc1", false, false}, {L"D1.txt", true, true}};
  engine::SetFactsOverride([](const std::wstring& path, engine::FileFacts& facts) {
    if (path != g_presented) return;
    if (g_presentedAsLink) {
      facts.attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
      facts.tag = IO_REPARSE_TAG_SYMLINK;
    } else {
      facts.elsewhere = true;
    }
  });
  int drives = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(Ansi(c.name) + (c.asLink ? " as a link" : ""));
    StartOver();
    Drive& drive = AddDrive(L"d" + std::to_wstring(++drives), 1, kNtfsBin);
    const std::wstring bin = drive.root + kNtfsBin;
    const std::wstring presented = bin + L"\\" + c.name;
    const std::wstring kept = std::wstring(c.name) == L"Dc1" ? presented + L"\\inner.txt" : presented;
    MakeFolders(bin + L"\\Dc1");
    WriteWholeFile(kept, "deleted");
    drive.items = 2;
    g_presented = Long(presented);
    g_presentedAsLink = c.asLink;
    prompts_.Answer(IDYES);
    Erase(true);
    const Texts told =
        c.emptied ? Texts{Question(2), kDone} : Texts{Question(2), Quoted(presented) + kThroughLink, LedElsewhere(1)};
    EXPECT_EQ(prompts_.Texts(), told);
    EXPECT_EQ(ReadWholeFile(kept), "deleted");
    EXPECT_FALSE(FileExists(bin + L"\\D0.txt"));
    EXPECT_EQ(wiped_.size(), 1u);
    EXPECT_EQ(platform_.emptied, c.emptied ? Texts{drive.root} : Texts{});
  }
  engine::SetFactsOverride(nullptr);
}

// Records the bar, and asks for a stop once the walk's bar reaches its end:
// as a stop pressed while the walk's last file was removed.
class StopAtTheWalksLastStep : public ProgressRecorder {
 public:
  StopAtTheWalksLastStep(CProgressDialog& dialog, engine::StopSignal& stop) : ProgressRecorder(dialog), stop_(stop) {}
  void TotalSet(unsigned minimum, unsigned maximum, unsigned position) override {
    ProgressRecorder::TotalSet(minimum, maximum, position);
    if (walkEnd_ == 0) walkEnd_ = maximum;
  }
  void Stepped(unsigned position) override {
    ProgressRecorder::Stepped(position);
    if (position == walkEnd_) stop_.Request();
  }

 private:
  engine::StopSignal& stop_;
  unsigned walkEnd_ = 0;
};

// Stopped after the walk's last file, before the files whose every name is in
// the bin were wiped: the stop asked for since the walk looked counts too, and
// the bin is not emptied over that pair.
TEST_F(RecycleBinTest, AStopAskedAtTheWalksLastStepEmptiesNothingOverAnUnwipedPair) {
  Drive& drive = AddDrive(L"d1", 1, kNtfsBin);
  const std::wstring bin = drive.root + kNtfsBin;
  WriteWholeFile(bin + L"\\P1.txt", "deleted pair");
  ASSERT_TRUE(CreateHardLinkW((bin + L"\\P2.txt").c_str(), (bin + L"\\P1.txt").c_str(), nullptr));
  drive.items = 3;
  engine::StopSignal stop;
  work_.stop = &stop;
  StopAtTheWalksLastStep stopper(progressDialog_, stop);
  prompts_.Answer(IDYES);
  Erase(true);
  EXPECT_EQ(prompts_.Texts(), (Texts{Question(3), kStopped}));
  EXPECT_EQ(stopper.Log(),
            (std::vector<std::string>{"open", "range 0-3 at 0", "step to 1", "step to 2", "step to 3", "close"}));
  EXPECT_EQ(ReadWholeFile(bin + L"\\P2.txt"), "deleted pair");
  EXPECT_FALSE(FileExists(bin + L"\\D0.txt"));
  EXPECT_TRUE(platform_.emptied.empty());
}

// A file whose every name is in the bin, and a viewer on its second name that
// holds no more than its attributes: each name that stays is told and
// counted, the second as the first, and the bin is not emptied. (Wine keeps
// every name of the file while the viewer holds it.)
TEST_F(RecycleBinTest, EachFurtherNameOfAWipedPairThatStaysIsToldAndKeepsTheBin) {
  Drive& drive = AddDrive(L"d1", 0, kNtfsBin);
  const std::wstring bin = drive.root + kNtfsBin;
  MakeFolders(bin + L"\\Dc1");
  const std::wstring first = bin + L"\\D1.txt", second = bin + L"\\Dc1\\D2.txt";
  WriteWholeFile(first, "deleted pair");
  ASSERT_TRUE(CreateHardLinkW(second.c_str(), first.c_str(), nullptr));
  drive.items = 2;
  wf::UniqueFile viewer(CreateFileW(second.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                    nullptr));
  ASSERT_TRUE(viewer);
  prompts_.Answer(IDYES);
  Erase(true);
  if (prompts_.Texts().back() == kDone) GTEST_SKIP() << "this platform removes names with POSIX semantics";
  // Each name waits for the viewer under a temporary name of the work folder.
  std::vector<std::wstring> temporary = NamesIn(work_.workFolder, L"*.tmp");
  for (std::wstring& name : temporary) name = work_.workFolder + L"\\" + name;
  viewer.Reset();
  ASSERT_EQ(temporary.size(), 2u);
  const auto stayed = [&](const std::wstring& name, const std::wstring& at) {
    return Quoted(name) + L" は上書きしましたが、ほかのプログラムが開いているため削除できず、" + Quoted(at) +
           L" という名前で残っています。";
  };
  const Texts told = prompts_.Texts();
  ASSERT_EQ(told.size(), 4u);
  EXPECT_TRUE(told[1] == stayed(first, temporary[0]) || told[1] == stayed(first, temporary[1])) << Ansi(told[1]);
  EXPECT_TRUE(told[2] == stayed(second, temporary[0]) || told[2] == stayed(second, temporary[1])) << Ansi(told[2]);
  EXPECT_EQ(told[3], NamesStayed(2));
  EXPECT_EQ(wiped_.size(), 1u);
  EXPECT_TRUE(platform_.emptied.empty());
}

// A file that another program keeps open, sharing its deletion, is
// overwritten, but where its name cannot go at once it stays in the bin
// under that name, and the bin is not emptied. (A viewer that holds only
// the attributes leaves the file under a temporary name: the pair's test
// above tells it here, the wiper's own test that it is not counted gone.)
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
  // The file's own text is the wiper's; here it is told by its name.
  const Texts told = prompts_.Texts();
  ASSERT_EQ(told.size(), 3u);
  EXPECT_EQ(told[1].rfind(Quoted(viewed), 0), 0u) << Ansi(told[1]);
  EXPECT_EQ(told[2], NamesStayed(1));
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
  engine::SetFactsOverride([](const std::wstring& path, engine::FileFacts& facts) {
    if (path == s_compressed) facts.attributes |= FILE_ATTRIBUTE_COMPRESSED;
  });
  Erase(false);
  engine::SetFactsOverride(nullptr);
  EXPECT_EQ(balloons_,
            Texts{L"MORVANE Shredder: ごみ箱を空にしました。\n1 個のファイルは圧縮・暗号化されているか内容がほかの"
                  L"場所にあるため、元の場所を上書きしないまま削除しました。"});
  EXPECT_EQ(platform_.emptied, Texts{drive.root});
}

// Several hundred files of one volume through the real walk, wiped side by
// side where the machine and its device allow it, one at a time where not.
class SideBySideTest : public RecycleBinTest {
 protected:
  static constexpr int kFiles = 300;

  void SetUp() override {
    RecycleBinTest::SetUp();
    work_.afterPass = [this](const std::wstring& path, int) {
      ++passes_[path];
      threads_.insert(GetCurrentThreadId());
      if (stopAfter_ != 0 && --stopAfter_ == 0) {
        stoppedAt_ = path;
        work_.stop->Request();
      }
    };
  }

  // A bin of kFiles files, each with a content of its own; their paths in
  // the order the walk meets them (the directory search's).
  std::vector<std::wstring> FillBin(const std::wstring& driveName) {
    Drive& drive = AddDrive(driveName, 0, kNtfsBin);
    drive.items = kFiles;
    const std::wstring bin = drive.root + kNtfsBin;
    for (int i = 0; i < kFiles; ++i) WriteWholeFile(bin + L"\\D" + std::to_wstring(i) + L".txt", Content(i));
    std::vector<std::wstring> walked = NamesIn(bin);
    for (std::wstring& name : walked) name = bin + L"\\" + name;
    EXPECT_EQ(walked.size(), static_cast<std::size_t>(kFiles));
    return walked;
  }

  static std::string Content(int i) { return "deleted " + std::to_string(i); }
  static std::string ContentOf(const std::wstring& path) {
    const std::size_t at = path.rfind(L"\\D") + 2;
    return Content(std::stoi(path.substr(at)));
  }

  static std::vector<std::string> WalkBar() {
    std::vector<std::string> log{"open", "range 0-" + std::to_string(kFiles) + " at 0"};
    for (int i = 1; i <= kFiles; ++i) log.push_back("step to " + std::to_string(i));
    log.push_back("close");
    return log;
  }

  std::map<std::wstring, int> passes_;
  std::set<DWORD> threads_;
  int stopAfter_ = 0;
  std::wstring stoppedAt_;  // the file whose pass asked for the stop
};

// Files held by another program: two that cannot even be checked, which a
// worker asks for again for a while, and one right after the first that is
// refused only for writing, at once; then one that a link led elsewhere
// (through the facts seam). However many workers there are, they are told in
// walk order with the texts and verdict of one file after another. Every
// other file is wiped exactly once, and the bar counts every file. (How
// many workers the cores and the device make is the rule's own table: here
// one at a time for want of cores and for a disk that seeks, and side by
// side.)
std::wstring g_ledElsewhere;

TEST_F(SideBySideTest, EachFileIsWipedOnceAndToldOfInWalkOrderWhateverTheWorkers) {
  const struct {
    unsigned cores;
    std::optional<bool> seekPenalty;
    bool sideBySide;
  } cases[] = {{1, std::nullopt, false}, {4, std::nullopt, true}, {4, true, false}};
  int drives = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.cores) + " cores, seek penalty " +
                 (c.seekPenalty ? std::to_string(*c.seekPenalty) : std::string("unknown")));
    StartOver();
    platform_.cores = c.cores;
    platform_.seekPenalty = c.seekPenalty;
    passes_.clear();
    threads_.clear();
    const std::vector<std::wstring> walked = FillBin(L"d" + std::to_wstring(++drives));
    const struct {
      std::wstring path;
      DWORD share;
    } held[] = {{walked[50], FILE_SHARE_READ | FILE_SHARE_WRITE},
                {walked[51], FILE_SHARE_READ | FILE_SHARE_DELETE},
                {walked[250], FILE_SHARE_READ | FILE_SHARE_WRITE}};
    g_ledElsewhere = Long(walked[52]);
    engine::SetFactsOverride([](const std::wstring& path, engine::FileFacts& facts) {
      if (path == g_ledElsewhere) facts.elsewhere = true;
    });
    std::vector<wf::UniqueFile> viewers;
    for (const auto& h : held) {
      viewers.emplace_back(CreateFileW(h.path.c_str(), GENERIC_READ, h.share, nullptr, OPEN_EXISTING, 0, nullptr));
      ASSERT_TRUE(viewers.back());
    }
    prompts_.Answer(IDYES);
    Erase(true);
    engine::SetFactsOverride(nullptr);
    viewers.clear();

    EXPECT_EQ(
        prompts_.Texts(),
        (Texts{Question(kFiles), CannotOpen(walked[50]), CannotOpen(walked[51]), Quoted(walked[52]) + kThroughLink,
               CannotOpen(walked[250]),
               L"3 個のファイルを上書きできなかったため、ごみ箱を空にしませんでした。\n"
               L"1 個の項目はリンクを経由した場所にあるため上書きせず、ごみ箱を空にしませんでした。\n"
               L"ファイルを使っているプログラムを終了してから、もう一度実行してください。\n"
               L"お知らせした項目を確かめてください。ふつうにごみ箱を空にすると、上書きされないまま削除されます。"}));
    EXPECT_EQ(progress_.Log(), WalkBar());
    for (const std::wstring& path : walked) {
      const bool kept = path == walked[50] || path == walked[51] || path == walked[52] || path == walked[250];
      EXPECT_EQ(passes_[path], kept ? 0 : 1) << Ansi(path);
      EXPECT_EQ(FileExists(path), kept) << Ansi(path);
    }
    EXPECT_EQ(ReadWholeFile(walked[250]), ContentOf(walked[250]));
    EXPECT_TRUE(platform_.emptied.empty());
    EXPECT_EQ(threads_.count(GetCurrentThreadId()), c.sideBySide ? 0u : 1u);
    EXPECT_EQ(threads_.size() > 1, c.sideBySide);
  }
}

// A stop pressed after a third of the files, during the last pass of one,
// ends every worker after the pass it is writing: no file after that is
// touched (the read-only mark that a wipe clears first stays, save on the few
// under way), the files under way stay where they are, that one too, and
// nothing is emptied (that would delete them unwiped); the box says so.
TEST_F(SideBySideTest, AStopMidwayLeavesEveryFileNotReachedUntouchedAndEmptiesNothing) {
  engine::StopSignal stop;
  work_.stop = &stop;
  stopAfter_ = kFiles / 3;
  const std::vector<std::wstring> walked = FillBin(L"d1");
  for (const std::wstring& path : walked) ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  prompts_.Answer(IDYES);
  Erase(true);

  EXPECT_EQ(prompts_.Texts(), (Texts{Question(kFiles), kStopped}));
  EXPECT_EQ(prompts_.Shown()[1].caption, L"情報");
  EXPECT_TRUE(FileExists(stoppedAt_)) << Ansi(stoppedAt_);
  // The pass that asked for the stop, and at most one more per other worker.
  EXPECT_GE(passes_.size(), static_cast<std::size_t>(kFiles / 3));
  EXPECT_LE(passes_.size(), static_cast<std::size_t>(kFiles / 3 + platform_.cores - 1));
  int gone = 0, unmarked = 0;
  for (const std::wstring& path : walked) {
    if (passes_.count(path) == 0) {
      EXPECT_EQ(ReadWholeFile(path), ContentOf(path)) << "overwritten though never reached: " << Ansi(path);
      unmarked += !(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY);
    } else if (FileExists(path)) {
      EXPECT_NE(ReadWholeFile(path), ContentOf(path)) << Ansi(path);
    } else {
      ++gone;
    }
  }
  EXPECT_GE(gone, kFiles / 3 - static_cast<int>(platform_.cores));
  EXPECT_LE(unmarked, static_cast<int>(platform_.cores)) << "files were opened for wiping after the stop";
  EXPECT_TRUE(platform_.emptied.empty());
  EXPECT_FALSE(progressDialog_.IsOpen());
  EXPECT_TRUE(RemoveDirectoryW(work_.workFolder.c_str())) << "the work folder holds something";
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
