// The tool window of a windowed start, driven from outside as a user drives
// it: its place, hiding and restoring, the keys, closing with and without the
// erase on exit, the automatic erase, the about box, help and the web page.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/e2e/support/app_folder.h"
#include "tests/support/registry_snapshot.h"
#include "tests/support/system_state.h"

namespace {

constexpr char kHttpCommand[] = "Software\\Classes\\http\\shell\\open\\command";
constexpr char kChmCommand[] = "Software\\Classes\\chm.file\\shell\\open\\command";
constexpr char kAboutTitle[] = "About MORVANE Shredder version 1.11";
constexpr int kStnClicked = 0;  // STN_CLICKED

RECT RectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class MainWindow : public ::testing::Test {
 protected:
  void TearDown() override {
    EmptyRecycleBin();
    RemoveTree("C:\\Recycler");
  }

  // Starts the program with these settings and waits for its window.
  HWND Start(const std::string& ini = {}) {
    if (!ini.empty()) WriteWholeFile(app_.Ini(), ini);
    process_ = app_.Start();
    return app_.WaitMainWindow(process_);
  }

  DWORD Close(HWND window) {
    uidrv::Post(window, WM_CLOSE, 0, 0);
    return uidrv::WaitExit(process_);
  }

  // One deleted file in both places the erase looks at.
  void FillRecycleBin() {
    const std::string file = app_.Dir() + "\\deleted.txt";
    WriteWholeFile(file, "deleted");
    ASSERT_TRUE(MoveToRecycleBin(file));
    CreateDirectoryA("C:\\Recycler", nullptr);
    CreateDirectoryA(UserRecycleBinFolder().c_str(), nullptr);
    WriteWholeFile(UserRecycleBinFolder() + "\\Dc1.txt", "deleted");
  }

  // One deleted item, and a large file in the folder under C: where Windows
  // keeps it (with a second name there, when `twoNames`), which keeps an
  // erase going for a few seconds.
  std::string FillRecycleBinWithLargeFile(bool twoNames) {
    const std::string trashed = app_.Dir() + "\\big.bin";
    WriteWholeFile(trashed, "deleted");
    EXPECT_TRUE(MoveToRecycleBin(trashed));
    CreateDirectoryA("C:\\Recycler", nullptr);
    CreateDirectoryA(UserRecycleBinFolder().c_str(), nullptr);
    const std::string big = UserRecycleBinFolder() + "\\Dc1.bin";
    EXPECT_TRUE(WriteWholeFile(big, std::string(std::size_t{256} << 20, 'x')));
    if (twoNames) {
      EXPECT_TRUE(CreateHardLinkA((UserRecycleBinFolder() + "\\Dc2.bin").c_str(), big.c_str(), nullptr));
    }
    return big;
  }

  // The erase button, Yes, and the progress window.
  HWND StartErase(HWND window) {
    uidrv::Press(window, IDOK);
    HWND question = uidrv::WaitDialog("確認", uidrv::kDefaultTimeoutMs, process_.pid);
    if (!question) return nullptr;
    uidrv::Press(question, IDYES);
    return uidrv::WaitDialog("抹消中...", uidrv::kDefaultTimeoutMs, process_.pid);
  }

  // Makes the shell start the launch recorder for `command` and returns the
  // file in which the recorder notes how it was started.
  std::string RecordLaunches(const char* command) {
    const std::string recorder = app_.Dir() + "\\recorder.exe";
    CopyFileA((BuildBinFolder() + "\\handoff_recorder.exe").c_str(), recorder.c_str(), FALSE);
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, command, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    const std::string line = "\"" + recorder + "\" \"%1\"";
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(line.c_str()),
                   static_cast<DWORD>(line.size() + 1));
    RegCloseKey(key);
    return app_.Dir() + "\\starts.log";
  }

  static std::string WaitForLog(const std::string& log) {
    for (int i = 0; i < 100 && ReadWholeFile(log).empty(); ++i) Sleep(50);
    return ReadWholeFile(log);
  }

  AppFolder app_{"main window"};
  uidrv::Process process_;
};

TEST_F(MainWindow, WindowedStartSitsAHundredPixelsInFromTheBottomRightCorner) {
  HWND window = Start();
  ASSERT_TRUE(window);
  EXPECT_EQ(uidrv::Caption(window), "Tessaro");
  const RECT rect = RectOf(window);
  const RECT desktop = RectOf(GetDesktopWindow());
  EXPECT_EQ(rect.right, desktop.right - 100);
  EXPECT_EQ(rect.bottom, desktop.bottom - 100);
  for (int id : {IDOK, 1000, IDCANCEL, 1010, 1008}) {
    EXPECT_NE(SendDlgItemMessageA(window, id, BM_GETIMAGE, IMAGE_BITMAP, 0), 0) << "no picture on button " << id;
  }
  uidrv::Screenshot(window, Screenshots() + "\\main-window.png");
  EXPECT_EQ(Close(window), 0u);
}

TEST_F(MainWindow, HidingAndRestoringKeepsThePlaceAndSize) {
  HWND window = Start();
  ASSERT_TRUE(window);
  SetWindowPos(window, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  const RECT placed = RectOf(window);

  uidrv::Press(window, IDCANCEL);  // "しまう"
  ASSERT_TRUE(uidrv::WaitGone(window));
  uidrv::Post(window, 0x8065, 0, WM_LBUTTONDOWN);  // the tray icon's left button
  ASSERT_TRUE(uidrv::WaitWindow(uidrv::kDialogClass, "Tessaro", uidrv::kDefaultTimeoutMs, process_.pid));
  EXPECT_TRUE(SameRect(RectOf(window), placed));

  uidrv::Post(window, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(uidrv::WaitGone(window));
  uidrv::Post(window, 0x8065, 0, WM_LBUTTONDOWN);
  ASSERT_TRUE(uidrv::WaitWindow(uidrv::kDialogClass, "Tessaro", uidrv::kDefaultTimeoutMs, process_.pid));
  EXPECT_TRUE(SameRect(RectOf(window), placed));
  EXPECT_EQ(Close(window), 0u);
}

TEST_F(MainWindow, EnterErasesAndATickMeanwhileStartsNoSecondErase) {
  FillRecycleBin();
  HWND window = Start("[ProgramData]\r\nAutoDel=1\r\nAutoDelTimer=30\r\n");
  ASSERT_TRUE(window);
  uidrv::Post(window, WM_KEYDOWN, VK_RETURN, 0);
  HWND question = uidrv::WaitDialog("確認", uidrv::kDefaultTimeoutMs, process_.pid);
  ASSERT_TRUE(question);
  EXPECT_EQ(uidrv::MessageText(question), "ごみ箱の中の 1 個のファイルを完全に抹消しますか？");
  // The question's own message loop serves the timer: that tick is skipped.
  uidrv::Post(window, WM_TIMER, 1, 0);
  Sleep(500);
  EXPECT_EQ(RecycleBinItems(), 1);
  EXPECT_TRUE(FileExists(UserRecycleBinFolder() + "\\Dc1.txt"));
  uidrv::Press(question, IDNO);
  ASSERT_TRUE(uidrv::WaitGone(question));
  EXPECT_TRUE(uidrv::StaysAbsent(uidrv::kDialogClass, "確認", 500, process_.pid));
  EXPECT_EQ(Close(window), 0u);
}

// A large file keeps the erase going for seconds: the windows answer all the
// while, the bar moves within the file, a close is refused, and the stop
// button ends the erase with the file left where it was and nothing emptied.
TEST_F(MainWindow, TheWindowsAnswerDuringALongEraseWhichTheStopButtonEnds) {
  const std::string big = FillRecycleBinWithLargeFile(false);
  HWND window = Start("[ProgramData]\r\nOverWriteTimes=3\r\n");
  ASSERT_TRUE(window);
  HWND progress = StartErase(window);
  ASSERT_TRUE(progress);
  HWND bar = GetDlgItem(progress, 1032);
  const LRESULT maximum = SendMessageA(bar, PBM_GETRANGE, FALSE, 0);

  // Both windows answer within 100 ms, again and again, while one file is
  // written; the bar moves inside that file.
  std::vector<LRESULT> positions;
  for (int i = 0; i < 20; ++i) {
    for (HWND answering : {progress, window}) {
      DWORD_PTR ignored = 0;
      EXPECT_TRUE(SendMessageTimeoutA(answering, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 100, &ignored)) << i;
    }
    positions.push_back(SendMessageA(bar, PBM_GETPOS, 0, 0));
    Sleep(50);
  }
  std::sort(positions.begin(), positions.end());
  positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
  EXPECT_GT(positions.size(), 2u) << "the bar stood still";
  EXPECT_LT(positions.front(), maximum);

  uidrv::Post(window, WM_CLOSE, 0, 0);  // refused while the erase runs
  EXPECT_EQ(uidrv::WaitExit(process_, 300), static_cast<DWORD>(STILL_ACTIVE));
  uidrv::Screenshot(progress, Screenshots() + "\\erase-progress-stop.png");
  uidrv::Press(progress, 1000);
  HWND stopped = uidrv::WaitDialog("情報", uidrv::kDefaultTimeoutMs, process_.pid);
  ASSERT_TRUE(stopped);
  EXPECT_EQ(uidrv::MessageText(stopped), "ごみ箱の中身の抹消を中止しました。ごみ箱は空にしていません。");
  EXPECT_FALSE(IsWindow(progress));
  uidrv::Press(stopped, IDOK);
  ASSERT_TRUE(uidrv::WaitGone(stopped));
  EXPECT_EQ(RecycleBinItems(), 1) << "nothing is emptied after a stop";
  const std::string start = ReadWholeFile(big).substr(0, 4096);
  EXPECT_NE(start, std::string(4096, 'x')) << "partly overwritten, left where it was";
  EXPECT_EQ(Close(window), 0u);
}

// Windows asking to end the session while an erase writes is told to wait;
// when it gives up, the erase goes on. Meanwhile the recycle bin's own verb
// starts a second erase in another process: it asks, then waits in a window
// of its own that names the erase it waits for, and goes on by itself once
// that one is done (which has left nothing for it).
TEST_F(MainWindow, ACancelledShutdownAndASecondEraseLeaveTheFirstToFinish) {
  const std::string big = FillRecycleBinWithLargeFile(false);
  HWND window = Start("[ProgramData]\r\nOverWriteTimes=3\r\n");
  ASSERT_TRUE(window);
  HWND progress = StartErase(window);
  ASSERT_TRUE(progress);
  DWORD_PTR answer = 1;
  ASSERT_TRUE(SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
  EXPECT_EQ(answer, 0u) << "the session may not end in the middle of an erase";

  uidrv::Process second = app_.Start("-C");
  ASSERT_TRUE(AnswerBox(second, "確認", "ごみ箱の中の 1 個のファイルを完全に抹消しますか？", IDYES));
  HWND waiting = uidrv::WaitDialog("待機中...", uidrv::kDefaultTimeoutMs, second.pid);
  ASSERT_TRUE(waiting);
  EXPECT_EQ(uidrv::ControlText(waiting, 1035),
            "ほかの抹消処理 (ごみ箱の抹消) が終わるのを待っています...\n終わりしだい、抹消を始めます。");
  EXPECT_TRUE(uidrv::IsControlVisible(waiting, 1000));
  uidrv::Screenshot(waiting, Screenshots() + "\\erase-waiting.png");

  SendMessageTimeoutA(window, WM_ENDSESSION, FALSE, 0, SMTO_ABORTIFHUNG, 5000, &answer);
  HWND done = uidrv::WaitDialog("情報", 120000, process_.pid);
  ASSERT_TRUE(done);
  EXPECT_EQ(uidrv::MessageText(done), "ごみ箱の中身を完全に抹消しました。");
  EXPECT_EQ(uidrv::WaitExit(second), 0u) << "the second goes on while the first's result is still open";
  uidrv::Close(second);
  ASSERT_TRUE(SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
  EXPECT_EQ(answer, 1u) << "a result box keeps no session";
  uidrv::Press(done, IDOK);
  EXPECT_FALSE(FileExists(big));
  EXPECT_EQ(RecycleBinItems(), 0);
  EXPECT_EQ(Close(window), 0u);
}

// A file whose every name is in the bin is wiped at the end of the walk,
// behind a progress window of its own, whose stop button stops it there.
TEST_F(MainWindow, TheHardLinkedFilesAreWipedBehindTheProgressWindowWhichStopsThem) {
  const std::string big = FillRecycleBinWithLargeFile(true);
  HWND window = Start("[ProgramData]\r\nOverWriteTimes=3\r\n");
  ASSERT_TRUE(window);
  ASSERT_TRUE(StartErase(window));
  // Inside the file: the bar has left its start, and not reached its end.
  HWND shared = nullptr;
  for (int i = 0; i < 400 && !shared; ++i) {
    HWND progress = uidrv::WaitDialog("抹消中...", 100, process_.pid);
    HWND bar = progress ? GetDlgItem(progress, 1032) : nullptr;
    const LRESULT position = bar ? SendMessageA(bar, PBM_GETPOS, 0, 0) : 0;
    if (position > 0 && position < SendMessageA(bar, PBM_GETRANGE, FALSE, 0)) shared = progress;
  }
  ASSERT_TRUE(shared) << "no progress window while the hard-linked file was wiped";
  uidrv::Press(shared, 1000);
  HWND stopped = uidrv::WaitDialog("情報", uidrv::kDefaultTimeoutMs, process_.pid);
  ASSERT_TRUE(stopped);
  EXPECT_EQ(uidrv::MessageText(stopped), "ごみ箱の中身の抹消を中止しました。ごみ箱は空にしていません。");
  uidrv::Press(stopped, IDOK);
  EXPECT_TRUE(FileExists(big));
  EXPECT_EQ(RecycleBinItems(), 1);
  EXPECT_EQ(Close(window), 0u);
}

TEST_F(MainWindow, ATimerTickErasesSilently) {
  FillRecycleBin();
  HWND window = Start("[ProgramData]\r\nAutoDel=1\r\nAutoDelTimer=30\r\n");
  ASSERT_TRUE(window);
  uidrv::Post(window, WM_TIMER, 1, 0);
  for (int i = 0; i < 100 && RecycleBinItems() != 0; ++i) Sleep(50);
  EXPECT_EQ(RecycleBinItems(), 0);
  EXPECT_FALSE(FileExists(UserRecycleBinFolder() + "\\Dc1.txt"));
  Sleep(3000);  // the tray shows a balloon two seconds after it is asked for
  uidrv::Screenshot(nullptr, Screenshots() + "\\timer-balloon.png");
  // No question and no result box: the result went to the tray as a balloon.
  EXPECT_EQ(uidrv::TopLevelWindows(true, process_.pid).size(), 1u);
  EXPECT_EQ(Close(window), 0u);
}

TEST_F(MainWindow, ClosingAsksWhenSetToAndNoStillSavesThePlace) {
  FillRecycleBin();
  HWND window = Start("[ProgramData]\r\nDelOnQuit=1\r\nDelOnQuitMsg=1\r\n");
  ASSERT_TRUE(window);
  SetWindowPos(window, nullptr, 210, 160, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  const RECT placed = RectOf(window);
  uidrv::Post(window, WM_CLOSE, 0, 0);
  HWND question = uidrv::WaitDialog("確認", uidrv::kDefaultTimeoutMs, process_.pid);
  ASSERT_TRUE(question);
  uidrv::Press(question, IDNO);
  EXPECT_EQ(uidrv::WaitExit(process_), 0u);
  EXPECT_EQ(RecycleBinItems(), 1);
  EXPECT_EQ(ReadWholeFile(app_.Ini()), "[ProgramData]\r\nDelOnQuit=1\r\nDelOnQuitMsg=1\r\nDlgLeft=" +
                                           std::to_string(placed.left) + "\r\nDlgTop=" + std::to_string(placed.top) +
                                           "\r\nDlgWidth=" + std::to_string(placed.right - placed.left) +
                                           "\r\nDlgHeight=" + std::to_string(placed.bottom - placed.top) + "\r\n");

  // The next start opens where the last one closed (and asks again when closed).
  HWND again = Start();
  ASSERT_TRUE(again);
  EXPECT_TRUE(SameRect(RectOf(again), placed));
  uidrv::Post(again, WM_CLOSE, 0, 0);
  question = uidrv::WaitDialog("確認", uidrv::kDefaultTimeoutMs, process_.pid);
  ASSERT_TRUE(question);
  uidrv::Press(question, IDNO);
  EXPECT_EQ(uidrv::WaitExit(process_), 0u);
}

TEST_F(MainWindow, ClosingWithoutMessagesErasesWithoutAWord) {
  FillRecycleBin();
  HWND window = Start("[ProgramData]\r\nDelOnQuit=1\r\nDelOnQuitMsg=0\r\n");
  ASSERT_TRUE(window);
  uidrv::Post(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(uidrv::WaitExit(process_), 0u);
  EXPECT_EQ(RecycleBinItems(), 0);
  EXPECT_FALSE(FileExists(UserRecycleBinFolder() + "\\Dc1.txt"));
}

TEST_F(MainWindow, TheAboutBoxOpensOnceFromTheMenusAndFreelyFromTheSystemMenu) {
  HWND window = Start();
  ASSERT_TRUE(window);
  uidrv::Post(window, WM_COMMAND, 32780, 0);  // menu bar
  HWND about = uidrv::WaitDialog(kAboutTitle, uidrv::kDefaultTimeoutMs, process_.pid);
  ASSERT_TRUE(about);
  EXPECT_EQ(uidrv::ControlText(about, 1002),
            "本製品の正式名称は，「MORVANE Shredder(モーヴェインシュレッダー)」です。");
  EXPECT_EQ(uidrv::ControlText(about, 1007), "本製品のバージョンは，1.11です。");
  EXPECT_EQ(uidrv::ControlText(about, 1006), "Copyright (C) 2026 MORVANE. All rights reserved.");
  uidrv::Screenshot(about, Screenshots() + "\\about-box.png");

  auto aboutBoxes = [&] {
    int count = 0;
    for (const auto& w : uidrv::TopLevelWindows(true, process_.pid)) count += w.caption == kAboutTitle;
    return count;
  };
  uidrv::Post(window, WM_COMMAND, 32780, 0);
  uidrv::Post(window, WM_COMMAND, 32771, 0);  // tray popup
  Sleep(500);
  EXPECT_EQ(aboutBoxes(), 1);
  uidrv::Post(window, WM_SYSCOMMAND, 0x10, 0);  // the system menu's entry has no guard
  for (int i = 0; i < 40 && aboutBoxes() < 2; ++i) Sleep(50);
  EXPECT_EQ(aboutBoxes(), 2);

  // Every way of closing the guarded box frees the menus again.
  for (const char* way : {"esc", "close box", "ok"}) {
    for (const auto& w : uidrv::TopLevelWindows(true, process_.pid)) {
      if (w.caption != kAboutTitle) continue;
      if (std::string(way) == "esc") uidrv::Post(w.hwnd, WM_COMMAND, IDCANCEL, 0);
      if (std::string(way) == "close box") uidrv::Post(w.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      if (std::string(way) == "ok") uidrv::Press(w.hwnd, IDOK);
    }
    for (int i = 0; i < 40 && aboutBoxes() > 0; ++i) Sleep(50);
    ASSERT_EQ(aboutBoxes(), 0) << way;
    uidrv::Post(window, WM_COMMAND, std::string(way) == "ok" ? 32780 : 32771, 0);
    ASSERT_TRUE(uidrv::WaitDialog(kAboutTitle, uidrv::kDefaultTimeoutMs, process_.pid)) << way;
  }
  EXPECT_EQ(Close(window), 0u);
}

TEST_F(MainWindow, TheAboutBoxAndTheOptionsAreModalToTheWindow) {
  FillRecycleBin();
  HWND window = Start();
  ASSERT_TRUE(window);
  const struct {
    UINT command;
    const char* title;
  } dialogs[] = {{32780, kAboutTitle}, {32784, "オプション設定"}};
  for (const auto& opened : dialogs) {
    uidrv::Post(window, WM_COMMAND, opened.command, 0);
    HWND dialog = uidrv::WaitDialog(opened.title, uidrv::kDefaultTimeoutMs, process_.pid);
    ASSERT_TRUE(dialog) << opened.title;
    EXPECT_FALSE(IsWindowEnabled(window)) << opened.title;
    uidrv::MouseClick(window, IDOK);  // the erase button: no question may follow
    EXPECT_TRUE(uidrv::StaysAbsent(uidrv::kDialogClass, "確認", 1000, process_.pid)) << opened.title;
    uidrv::Press(dialog, IDOK);
    ASSERT_TRUE(uidrv::WaitGone(dialog)) << opened.title;
    EXPECT_TRUE(IsWindowEnabled(window)) << opened.title;
  }
  // Enabled again, the same click asks.
  uidrv::MouseClick(window, IDOK);
  HWND question = uidrv::WaitDialog("確認", uidrv::kDefaultTimeoutMs, process_.pid);
  ASSERT_TRUE(question);
  uidrv::Press(question, IDNO);
  uidrv::WaitGone(question);
  EXPECT_EQ(Close(window), 0u);
}

TEST_F(MainWindow, TheTrademarkNoticeAndTheWebButtonOpenTheProductPage) {
  RegistryTreeGuard savedHttp(HKEY_LOCAL_MACHINE, kHttpCommand);
  const std::string log = RecordLaunches(kHttpCommand);
  HWND window = Start();
  ASSERT_TRUE(window);
  uidrv::Press(window, 1008);
  EXPECT_NE(WaitForLog(log).find("\"http://www.morvane.example/shredder/\""), std::string::npos) << ReadWholeFile(log);
  DeleteFileA(log.c_str());

  uidrv::Post(window, WM_COMMAND, 32780, 0);
  HWND about = uidrv::WaitDialog(kAboutTitle, uidrv::kDefaultTimeoutMs, process_.pid);
  ASSERT_TRUE(about);
  uidrv::Post(about, WM_COMMAND, MAKEWPARAM(1008, kStnClicked), reinterpret_cast<LPARAM>(GetDlgItem(about, 1008)));
  EXPECT_NE(WaitForLog(log).find("http://www.morvane.example/shredder/"), std::string::npos);
  EXPECT_TRUE(IsWindowVisible(about)) << "the about box closed";
  uidrv::Press(about, IDOK);
  EXPECT_EQ(Close(window), 0u);
}

TEST_F(MainWindow, HelpOpensTheHelpFileThroughTheShellAndSaysNothingWhenItIsMissing) {
  RegistryTreeGuard savedChm(HKEY_LOCAL_MACHINE, kChmCommand);
  const std::string log = RecordLaunches(kChmCommand);
  HWND window = Start();
  ASSERT_TRUE(window);
  uidrv::Press(window, 1010);  // help button, no help file beside the program
  EXPECT_TRUE(uidrv::StaysAbsent(uidrv::kDialogClass, "", 1000, process_.pid) ||
              uidrv::TopLevelWindows(true, process_.pid).size() == 1);
  EXPECT_EQ(uidrv::TopLevelWindows(true, process_.pid).size(), 1u);

  ASSERT_TRUE(CopyFileA((BuildBinFolder() + "\\morvane-shredder.chm").c_str(),
                        (app_.Dir() + "\\morvane-shredder.chm").c_str(), FALSE));
  uidrv::Post(window, WM_COMMAND, 32782, 0);  // the menu's help command
  EXPECT_NE(WaitForLog(log).find("main window\\morvane-shredder.chm"), std::string::npos) << ReadWholeFile(log);
  EXPECT_EQ(Close(window), 0u);
}

TEST_F(MainWindow, TheTrayPopupOffersTheEraseAndTheAboutBox) {
  HWND window = Start();
  ASSERT_TRUE(window);
  uidrv::Post(window, 0x8065, 0, WM_RBUTTONUP);
  HWND menu = uidrv::WaitWindow("#32768", "", uidrv::kDefaultTimeoutMs, process_.pid);
  ASSERT_TRUE(menu);
  uidrv::Screenshot(nullptr, Screenshots() + "\\tray-popup.png");
  uidrv::Post(window, WM_CANCELMODE, 0, 0);
  EXPECT_TRUE(uidrv::WaitGone(menu));
  EXPECT_EQ(Close(window), 0u);
}

}  // namespace
