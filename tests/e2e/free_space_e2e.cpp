// The free-space erase of the real program on a drive of its own (a small
// volume that support/free_space_volume.sh links as T:): the drive list from
// the main window's menu, the question, the progress window with its stop
// button, the result; the stop, and the session's end. Whatever ends it,
// nothing of the fill is left and the free space is back.
#include <windows.h>

#include <gtest/gtest.h>

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

  std::uint64_t FreeBytes() const {
    ULARGE_INTEGER available{};
    GetDiskFreeSpaceExA(root_.c_str(), &available, nullptr, nullptr);
    return available.QuadPart;
  }

  // Nothing of the fill is left, and the space it took is free again.
  void ExpectAsBefore() const {
    EXPECT_FALSE(FileExists(root_ + "MORVANE-Shredder-FreeSpaceFill"));
    EXPECT_EQ(FreeBytes(), freeBefore_);
  }

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
            "ほかの抹消処理（空き領域の抹消）が終わるのを待っています...\n終わりしだい、抹消を始めます。");
  EXPECT_EQ(ReadWholeFile(chosen), "secret");
  ASSERT_TRUE(FileExists(root_ + "MORVANE-Shredder-FreeSpaceFill"));
  uidrv::Kill(fill);
  ASSERT_TRUE(AnswerBox(other, "情報", "1 個のファイルを完全に抹消しました。", IDOK));
  EXPECT_EQ(uidrv::WaitExit(other), 0u);
  uidrv::Close(other);
  uidrv::Close(fill);
  EXPECT_FALSE(FileExists(chosen));
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

}  // namespace
