// The free-space erase of the real program on a drive of its own (a folder of
// a small ext4 volume that support/free_space_volume.sh links as T:): the
// drive list from the main window's menu, the question, the progress window
// with its stop button, the result; the stop, the session's end and a kill.
// Whatever ends it, nothing of the fill is left and the free space is back,
// a kill's without any start of the program. A folder of the fill folder's
// name that is not the program's is never touched, and what is not ours in a
// leftover of ours stays and is named.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "tests/e2e/support/app_folder.h"
#include "tests/support/system_state.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr int kMenuFreeSpace = 32786;
constexpr int kDriveList = 1034;
constexpr int kStop = 1000;
constexpr int kDetail = 1033;

std::string Environment(const char* name) {
  char value[256] = {};
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
  return length < sizeof(value) ? std::string(value, length) : std::string();
}

class FreeSpace : public ::testing::Test {
 protected:
  void SetUp() override {
    if (root_.empty()) GTEST_SKIP() << "no drive of its own: " << Environment("SHRED_FREESPACE_SKIPPED");
    freeBefore_ = FreeBytes();
  }

  void TearDown() override {
    if (root_.empty()) return;
    // What a failed scenario may leave: a leftover, and its clean-up at the next logon.
    RemoveTree(Fill());
    HKEY runOnce = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", 0, KEY_SET_VALUE,
                      &runOnce) == ERROR_SUCCESS) {
      RegDeleteValueA(runOnce, "MORVANE Shredder free-space clean-up");
      RegCloseKey(runOnce);
    }
  }

  std::uint64_t FreeBytes() const {
    ULARGE_INTEGER available{};
    GetDiskFreeSpaceExA(root_.c_str(), &available, nullptr, nullptr);
    return available.QuadPart;
  }

  // The system gives a killed process's files back a moment after it is
  // gone, not at once.
  void WaitForSpaceBack() const {
    for (int i = 0; i < 100 && FreeBytes() < freeBefore_; ++i) Sleep(100);
  }

  // Nothing of the fill is left, and the space it took is free again.
  void ExpectAsBefore() const {
    EXPECT_FALSE(FileExists(Fill()));
    EXPECT_EQ(FreeBytes(), freeBefore_);
  }

  std::string Fill() const { return root_ + "MORVANE-Shredder-FreeSpaceFill"; }

  // Starts a fill and kills the program in the middle of it, as a crash or
  // a forced end would; the free space in the middle of the fill.
  std::uint64_t KillMidFill() {
    uidrv::Process process;
    if (!StartAndAnswerYes(process)) return 0;
    std::uint64_t during = FreeBytes();
    for (int i = 0; i < 1000 && during + (64 << 20) > freeBefore_; ++i, Sleep(10)) during = FreeBytes();
    uidrv::Kill(process);
    return during;
  }

  // Starts the program with `arguments`; the error it tells, or nothing when
  // it ends without a word.
  std::string ErrorTold(const std::string& arguments) {
    uidrv::Process process = app_.Start(arguments);
    std::string text;
    if (uidrv::WaitExit(process, 3000) == STILL_ACTIVE) {
      if (HWND box = uidrv::WaitDialog("エラー", uidrv::kDefaultTimeoutMs, process.pid)) {
        text = uidrv::MessageText(box);
        uidrv::Press(box, IDOK);
      }
    }
    EXPECT_EQ(uidrv::WaitExit(process), 0u);
    return text;
  }
  // As the logon's clean-up starts it.
  std::string CleanUp() { return ErrorTold("-L"); }
  // "-F" on the drive: what it refuses before any question.
  std::string Refusal() { return ErrorTold("-F \"" + root_ + "\""); }

  // Starts "-F" on the drive and answers its question Yes.
  HWND StartAndAnswerYes(uidrv::Process& process) {
    process = app_.Start("-F \"" + root_ + "\"");
    HWND question = uidrv::WaitDialog("確認", uidrv::kDefaultTimeoutMs, process.pid);
    if (!question) return nullptr;
    EXPECT_EQ(uidrv::MessageText(question).rfind("ドライブ " + root_ + " の空き領域 ", 0), 0u);
    uidrv::Press(question, IDYES);
    return uidrv::WaitDialog("抹消中...", uidrv::kDefaultTimeoutMs, process.pid);
  }

  std::string root_ = Environment("SHRED_FREESPACE_DRIVE");
  std::uint64_t freeBefore_ = 0;
  AppFolder app_{"free space"};
};

TEST_F(FreeSpace, TheMenuListsTheLocalDrivesAndNoLeavesTheChosenOneAsItWas) {
  uidrv::Process process = app_.Start();
  HWND window = app_.WaitMainWindow(process);
  ASSERT_TRUE(window);
  uidrv::Post(window, WM_COMMAND, kMenuFreeSpace, 0);
  HWND drives = uidrv::WaitDialog("空き領域の抹消", uidrv::kDefaultTimeoutMs, process.pid);
  ASSERT_TRUE(drives);
  const HWND list = GetDlgItem(drives, kDriveList);
  std::set<std::string> roots;
  int chosen = -1;
  for (int i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
    wchar_t line[256] = {};  // Wine hands a list's text between processes as the list keeps it
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
    const std::string text = Ansi(line);
    roots.insert(text.substr(0, text.find('\t')));
    if (text.rfind(root_, 0) == 0) chosen = i;
  }
  // C: and the volume; X: and Y: are network drives of the bed.
  EXPECT_EQ(roots, (std::set<std::string>{"C:\\", root_}));
  ASSERT_GE(chosen, 0);
  SendMessageA(list, LB_SETCURSEL, chosen, 0);
  Sleep(300);  // painted
  uidrv::Screenshot(drives, Screenshots() + "\\freespace-drives.png");
  uidrv::Press(drives, IDOK);

  HWND question = uidrv::WaitDialog("確認", uidrv::kDefaultTimeoutMs, process.pid);
  ASSERT_TRUE(question);
  const std::string text = uidrv::MessageText(question);
  EXPECT_EQ(text.rfind("ドライブ " + root_ + " の空き領域 ", 0), 0u) << text;
  EXPECT_NE(text.find("抹消している間、このドライブの空き領域はなくなります。"), std::string::npos) << text;
  uidrv::Screenshot(question, Screenshots() + "\\freespace-question.png");
  uidrv::Press(question, IDNO);
  ASSERT_TRUE(uidrv::WaitGone(question));
  ExpectAsBefore();
  uidrv::Post(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(uidrv::WaitExit(process), 0u);
}

// The fill runs behind the progress window, whose line under the bar says
// how far, how fast and how long, and whose stop ends it and takes it away.
// (The whole fill and its result are the forensic check's.)
TEST_F(FreeSpace, TheStopEndsTheFillAndTakesItAway) {
  uidrv::Process process;
  HWND progress = StartAndAnswerYes(process);
  ASSERT_TRUE(progress);
  EXPECT_TRUE(uidrv::IsControlVisible(progress, kStop));
  bool pictured = false;
  for (int i = 0; i < 500 && IsWindow(progress) && !pictured; ++i, Sleep(20)) {
    if (uidrv::ControlText(progress, kDetail).find("MB/秒") != std::string::npos) {
      pictured = uidrv::Screenshot(progress, Screenshots() + "\\freespace-progress.png");
    }
  }
  EXPECT_TRUE(pictured) << "no speed under the bar";
  uidrv::Press(progress, kStop);
  HWND result = uidrv::WaitDialog("情報", 120000, process.pid);
  ASSERT_TRUE(result);
  const std::string text = uidrv::MessageText(result);
  EXPECT_EQ(text.rfind("ドライブ " + root_ + " の空き領域の抹消を中止しました。中止するまでに ", 0), 0u) << text;
  uidrv::Press(result, IDOK);
  EXPECT_EQ(uidrv::WaitExit(process), 0u);
  ExpectAsBefore();
}

// The fill holds the one-erase lock: an erase asked meanwhile waits in a
// window that names the fill. The fill's process then dies, as in a crash:
// the lock it leaves is taken as free at once, and the waiting erase takes
// the dead fill away before it writes.
TEST_F(FreeSpace, AnEraseWaitsForTheFillAndACrashedFillLeavesNeitherLockNorFill) {
  uidrv::Process fill;
  ASSERT_TRUE(StartAndAnswerYes(fill));
  TempFolder files("C:\\e2e\\free-space-lock");
  const std::string chosen = files.WriteFile("chosen.txt", "secret");
  uidrv::Process other = app_.Start("\"" + chosen + "\"");
  ASSERT_TRUE(AnswerBox(other, "確認", "選択されたファイルを完全に抹消しますか？", IDYES));
  HWND waiting = uidrv::WaitDialog("待機中...", uidrv::kDefaultTimeoutMs, other.pid);
  ASSERT_TRUE(waiting);
  EXPECT_EQ(uidrv::ControlText(waiting, 1035),
            "ほかの抹消処理 (空き領域の抹消) が終わるのを待っています...\n終わりしだい、抹消を始めます。");
  EXPECT_EQ(ReadWholeFile(chosen), "secret");
  ASSERT_TRUE(FileExists(Fill()));
  uidrv::Kill(fill);
  ASSERT_TRUE(AnswerBox(other, "情報", "1 個のファイルを完全に抹消しました。", IDOK));
  EXPECT_EQ(uidrv::WaitExit(other), 0u);
  uidrv::Close(other);
  uidrv::Close(fill);
  EXPECT_FALSE(FileExists(chosen));
  WaitForSpaceBack();
  ExpectAsBefore();
}

// Windows may end the process as soon as WM_ENDSESSION has been answered:
// by then the fill is gone.
TEST_F(FreeSpace, TheSessionsEndTakesTheFillAwayBeforeItIsAnswered) {
  uidrv::Process process;
  ASSERT_TRUE(StartAndAnswerYes(process));
  HWND window = nullptr;  // the hidden main window of a one-shot run
  for (const uidrv::WindowInfo& info : uidrv::TopLevelWindows(false, process.pid)) {
    if (info.caption == "binshredder") window = info.hwnd;
  }
  ASSERT_TRUE(window);
  ASSERT_TRUE(FileExists(root_ + "MORVANE-Shredder-FreeSpaceFill")) << "the fill was over before the session's end";
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 10000, &answer);
  ASSERT_TRUE(SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, 0, SMTO_BLOCK, 10000, &answer));
  EXPECT_FALSE(FileExists(root_ + "MORVANE-Shredder-FreeSpaceFill"));
  HWND result = uidrv::WaitDialog("情報", 120000, process.pid);
  ASSERT_TRUE(result);
  uidrv::Press(result, IDOK);
  EXPECT_EQ(uidrv::WaitExit(process), 0u);
  ExpectAsBefore();
}

// The system takes the fill with a process that is killed: the space is
// back within seconds, with no start of the program; only the empty folders
// and the marker are left for the next start, of any kind, which takes them.
TEST_F(FreeSpace, AKillGivesTheSpaceBackWithoutAnyStartAndTheNextStartTakesTheRest) {
  const std::uint64_t during = KillMidFill();
  ASSERT_NE(during, 0u);
  Sleep(4000);
  const std::uint64_t after = FreeBytes();
  std::printf("free space of %s: %llu before, %llu during the fill, %llu 4 s after the kill\n", root_.c_str(),
              static_cast<unsigned long long>(freeBefore_), static_cast<unsigned long long>(during),
              static_cast<unsigned long long>(after));
  EXPECT_LT(during + (64 << 20), freeBefore_) << "killed before the fill took any space";
  EXPECT_GE(after + (64 << 10), freeBefore_) << "the fill's space is not back";
  // The fill files are gone; the empty record tree (Wine calls every drive
  // NTFS) and the marker are all that is left.
  const std::vector<std::string> left = NamesIn(Fill());
  EXPECT_EQ(std::set<std::string>(left.begin(), left.end()),
            (std::set<std::string>{"MORVANE-Shredder-Run.id", "records"}));
  // An ordinary start, the tool window here.
  uidrv::Process process = app_.Start();
  HWND window = app_.WaitMainWindow(process);
  ASSERT_TRUE(window);
  uidrv::Post(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(uidrv::WaitExit(process), 0u);
  ExpectAsBefore();
}

// A leftover of ours with the user's file in it: ours goes, the user's file
// stays, and every start that meets it names it.
TEST_F(FreeSpace, WhatIsNotOursInALeftoverStaysAndIsNamed) {
  ASSERT_NE(KillMidFill(), 0u);
  ASSERT_TRUE(WriteWholeFile(Fill() + "\\desktop.ini", "[.ShellClassInfo]\r\n"));
  const std::string refusal = Refusal();
  std::printf("told before a run: %s\n", refusal.c_str());
  EXPECT_EQ(refusal.rfind("以前の空き領域の抹消で残ったフォルダ \"" + Fill() + "\" (", 0), 0u) << refusal;
  EXPECT_NE(refusal.find("MORVANE Shredder が作ったものではない \"desktop.ini\" があるため"), std::string::npos);
  const std::string atLogon = CleanUp();
  std::printf("told by the clean-up at a logon: %s\n", atLogon.c_str());
  EXPECT_NE(atLogon.find("\"desktop.ini\" を別の場所に移せば、次に MORVANE Shredder を起動したときに"),
            std::string::npos)
      << atLogon;
  EXPECT_EQ(ReadWholeFile(Fill() + "\\desktop.ini"), "[.ShellClassInfo]\r\n");
  // Moved away by the user: the next start takes the rest, without a word.
  ASSERT_TRUE(DeleteFileA((Fill() + "\\desktop.ini").c_str()));
  EXPECT_EQ(CleanUp(), "");
  ExpectAsBefore();
}

// A folder of the user's that bears the fill folder's name, holding a file
// named as a fill file: no start touches it, and the erase names it.
TEST_F(FreeSpace, AUsersFolderOfThatNameIsKeptAcrossStartsAndNamed) {
  ASSERT_TRUE(CreateDirectoryA(Fill().c_str(), nullptr));
  ASSERT_TRUE(WriteWholeFile(Fill() + "\\fill-00000001.tmp", "the user's own"));
  EXPECT_EQ(CleanUp(), "");
  const std::string refusal = Refusal();
  std::printf("told: %s\n", refusal.c_str());
  EXPECT_EQ(refusal.rfind("ドライブ " + root_ + " には、MORVANE Shredder が作ったものではないフォルダ \"" + Fill() +
                              "\" があるため、空き領域を抹消できません。",
                          0),
            0u)
      << refusal;
  EXPECT_EQ(ReadWholeFile(Fill() + "\\fill-00000001.tmp"), "the user's own");
}

}  // namespace
