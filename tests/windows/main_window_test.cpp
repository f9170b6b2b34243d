// The main window of a windowed start, made in this test program: its tray
// icon, pictures, tooltips and menus, the automatic erase on a timer tick,
// dropped files, and the first step of the exit sequence. The notification
// area is recorded through the program's tray seam.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "shredder/app/command_line.h"
#include "shredder/app/main_dialog.h"
#include "shredder/app/tray_icon.h"
#include "shredder/recyclebin/recycle_bin_platform.h"
#include "shredder/resources/resource.h"
#include "tests/support/registry_snapshot.h"
#include "tests/support/temp_folder.h"
#include "tests/windows/support/fake_recycle_bin.h"
#include "tests/windows/support/scripted_prompts.h"
#include "tests/windows/support/system_calls.h"
#include "winframe/app.h"

namespace {

struct TrayCall {
  DWORD message;
  NOTIFYICONDATAW data;
};
std::vector<TrayCall> g_tray;

BOOL RecordTray(DWORD message, NOTIFYICONDATAW* data) {
  g_tray.push_back({message, *data});
  return TRUE;
}

std::wstring MenuText(HMENU menu, UINT position) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, position, text, static_cast<int>(std::size(text)), MF_BYPOSITION);
  return text;
}

class MainWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // With arguments the window would take them for files to shred.
    if (!app::CommandTail(GetCommandLineW()).empty()) return;
    savedProgramKey_ = new RegistryTreeGuard(HKEY_CURRENT_USER, "SoftWare\\Brinmoor");
    app::SetTrayNotifier(RecordTray);
    folder_ = new TempFolder;
    app_ = new wf::App(GetModuleHandleA(nullptr));
    app_->SetProfilePath(*folder_ / L"OPTION.INI");
    window_ = new CMainDialog;
    window_->Create(nullptr);
  }
  static void TearDownTestSuite() {
    if (window_) {
      window_->Destroy();
      RemoveDirectoryW(window_->WorkFolder().c_str());
    }
    delete window_;
    delete app_;
    delete folder_;
    delete savedProgramKey_;
    window_ = nullptr;
    app::SetTrayNotifier(nullptr);
  }
  void SetUp() override {
    if (!window_) GTEST_SKIP() << "run without arguments (filter with GTEST_FILTER)";
    g_tray.clear();
  }

  static HWND Window() { return window_->Hwnd(); }

  static CMainDialog* window_;
  static wf::App* app_;
  static TempFolder* folder_;
  static RegistryTreeGuard* savedProgramKey_;
  ScriptedPrompts prompts_;
};

CMainDialog* MainWindowTest::window_ = nullptr;
wf::App* MainWindowTest::app_ = nullptr;
TempFolder* MainWindowTest::folder_ = nullptr;
RegistryTreeGuard* MainWindowTest::savedProgramKey_ = nullptr;

TEST_F(MainWindowTest, TheWindowedStartAddsTheTrayIconAndTitlesTheWindow) {
  // The icon was added while the window was set up; its record stays.
  const NOTIFYICONDATAW& tray = window_->TrayIcon();
  EXPECT_EQ(tray.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V2_SIZE));
  EXPECT_EQ(tray.hWnd, Window());
  EXPECT_EQ(tray.uID, 0u);
  EXPECT_EQ(tray.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(tray.uCallbackMessage, static_cast<UINT>(WM_TRAYNOTIFY));
  EXPECT_NE(tray.hIcon, nullptr);
  EXPECT_STREQ(tray.szTip, L"ごみ箱の中身を完全に抹消");
  wchar_t title[64] = {};
  GetWindowTextW(Window(), title, static_cast<int>(std::size(title)));
  EXPECT_STREQ(title, L"Tessaro");
}

TEST_F(MainWindowTest, FiveButtonsWithPicturesAndTooltips) {
  for (int id : {IDOK, IDC_OPTION, IDCANCEL, IDC_HELP_BUTTON, IDC_WEB}) {
    EXPECT_NE(SendDlgItemMessageA(Window(), id, BM_GETIMAGE, IMAGE_BITMAP, 0), 0) << id;
  }
  HWND tooltip = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr);
  while (tooltip && GetWindow(tooltip, GW_OWNER) != Window()) {
    tooltip = FindWindowExA(nullptr, tooltip, TOOLTIPS_CLASSA, nullptr);
  }
  ASSERT_NE(tooltip, nullptr);
  EXPECT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 5);
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = Window();
  tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(Window(), IDCANCEL));
  wchar_t text[80] = {};
  tool.lpszText = text;
  SendMessageW(tooltip, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(text, L"タスクトレイにしまう");
}

TEST_F(MainWindowTest, TheMenuBarAndTheSystemMenuEntry) {
  HMENU popup = GetSubMenu(GetMenu(Window()), 0);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(MenuText(GetMenu(Window()), 0), L"メニュー");
  ASSERT_EQ(GetMenuItemCount(popup), 4);
  EXPECT_EQ(GetMenuItemID(popup, 0), static_cast<UINT>(ID_MENU_FREESPACE));
  EXPECT_EQ(GetMenuItemID(popup, 1), static_cast<UINT>(ID_MENU_OPTION));
  EXPECT_EQ(GetMenuItemID(popup, 2), static_cast<UINT>(ID_MENU_ABOUT));
  EXPECT_EQ(GetMenuItemID(popup, 3), static_cast<UINT>(ID_MENU_HELP));
  EXPECT_EQ(MenuText(popup, 0), L"空き領域の抹消...");
  EXPECT_EQ(MenuText(popup, 1), L"オプション設定");
  EXPECT_EQ(MenuText(popup, 2), L"MORVANE Shredder について");
  EXPECT_EQ(MenuText(popup, 3), L"ヘルプ");
  HMENU system = GetSystemMenu(Window(), FALSE);
  const int count = GetMenuItemCount(system);
  ASSERT_GE(count, 2);
  EXPECT_EQ(GetMenuItemID(system, count - 1), static_cast<UINT>(IDM_ABOUTBOX_SYS));
  EXPECT_EQ(MenuText(system, count - 1), L"バージョン情報");
  EXPECT_TRUE(GetMenuState(system, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
}

TEST_F(MainWindowTest, TheOperationsGetTheWindowAndThePassCountStoredAtThatMoment) {
  WriteWholeFile(*folder_ / L"OPTION.INI", "[ProgramData]\r\nOverWriteTimes=5\r\n");
  engine::WorkContext work = window_->WorkContext();
  EXPECT_EQ(work.passes, 5);
  EXPECT_EQ(work.owner, Window());
  EXPECT_EQ(work.progress, &window_->Progress());
  // A windowed start makes no work folder; only the recycle bin's erase does.
  EXPECT_EQ(work.workFolder, L"");
  EXPECT_EQ(work.appName, app_->Name());
  WriteWholeFile(*folder_ / L"OPTION.INI", "[ProgramData]\r\nOverWriteTimes=0\r\n");
  EXPECT_EQ(window_->WorkContext().passes, 3);
}

TEST_F(MainWindowTest, ARestartedShellGetsTheIconAgain) {
  SendMessageW(Window(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  ASSERT_EQ(g_tray.size(), 1u);
  EXPECT_EQ(g_tray[0].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(g_tray[0].data.uCallbackMessage, static_cast<UINT>(WM_TRAYNOTIFY));
}

TEST_F(MainWindowTest, ATimerTickErasesWithoutAWordAndReportsInABalloon) {
  FakePlatform platform;
  const std::wstring root = *folder_ / L"drive" + L"\\";
  const std::wstring bin = root + L"Recycler\\S-1-5-21-1-2-3-1000";
  CreateDirectoryW(root.c_str(), nullptr);
  CreateDirectoryW((root + L"Recycler").c_str(), nullptr);
  CreateDirectoryW(bin.c_str(), nullptr);
  WriteWholeFile(bin + L"\\Dc1.txt", "deleted");
  platform.drives.push_back(Drive{root, true, 1, S_OK});
  recyclebin::SetPlatform(&platform);
  window_->SetWorkFolderParents({*folder_ / L"own\\"});
  SendMessageW(Window(), WM_TIMER, IDT_AUTOERASE, 0);
  recyclebin::SetPlatform(nullptr);

  EXPECT_TRUE(prompts_.Shown().empty());
  // Made for the erase in the place it was given, and gone with it.
  EXPECT_EQ(window_->WorkFolder(), *folder_ / L"own\\work_temp");
  EXPECT_FALSE(FileExists(window_->WorkFolder()));
  EXPECT_FALSE(FileExists(bin + L"\\Dc1.txt"));
  EXPECT_EQ(platform.emptied.size(), 1u);
  ASSERT_EQ(g_tray.size(), 2u);
  EXPECT_EQ(g_tray[0].message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_TRUE(g_tray[0].data.uFlags & NIF_INFO);
  EXPECT_EQ(g_tray[0].data.uTimeout, 30000u);
  EXPECT_STREQ(g_tray[0].data.szInfoTitle, L"MORVANE Shredder");
  EXPECT_STREQ(g_tray[0].data.szInfo, L"ごみ箱の中身を完全に抹消しました。");
  EXPECT_FALSE(g_tray[1].data.uFlags & NIF_INFO);
  EXPECT_STREQ(g_tray[1].data.szInfoTitle, L"");
  EXPECT_STREQ(g_tray[1].data.szInfo, L"");
  // Some other timer's tick is not an erase.
  SendMessageW(Window(), WM_TIMER, 7, 0);
  EXPECT_EQ(g_tray.size(), 2u);
}

TEST_F(MainWindowTest, AFileDroppedOnTheWindowStartsTheDropBatch) {
  const std::wstring file = folder_->WriteFile(L"dropped.txt", "dropped content");
  DropHandle drop({file});
  prompts_.Answer(IDNO);
  SendMessageW(Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop.Release()), 0);  // the window frees the handle
  ASSERT_EQ(prompts_.Texts(), std::vector<std::wstring>{L"1 個のファイルを完全に抹消しますか？"});
  EXPECT_EQ(prompts_.Shown()[0].caption, L"確認");
  EXPECT_EQ(ReadWholeFile(file), "dropped content");
}

// Windows may end the session at the question and at the result, but not
// while the erase writes: then it has the reason to show, given back before
// the result.
std::vector<LRESULT> g_mayEnd;
HWND g_window = nullptr;
void AskToEndSession() {
  g_mayEnd.push_back(SendMessageW(g_window, WM_QUERYENDSESSION, 0, 0));
}
int AskAtEveryBox(const wf::PromptRequest& request) {
  AskToEndSession();
  return (request.flags & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
}
struct AskWhenWriting : CProgressDialog::Observer {
  void Opened(bool) override { AskToEndSession(); }
  void TotalSet(unsigned, unsigned, unsigned) override {}
  void Stepped(unsigned) override {}
  void Closed() override {}
};

TEST_F(MainWindowTest, TheSessionMayEndExceptWhileAnEraseWrites) {
  const std::wstring file = folder_->WriteFile(L"session.txt", "content");
  DropHandle drop({file});
  SystemCalls calls;
  AskWhenWriting writing;
  window_->Progress().SetObserver(&writing);
  g_window = Window();
  g_mayEnd.clear();
  const wf::PromptHandler previous = wf::SetPromptHandler(AskAtEveryBox);
  SendMessageW(Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop.Release()), 0);
  wf::SetPromptHandler(previous);
  window_->Progress().SetObserver(nullptr);
  AskToEndSession();

  EXPECT_EQ(g_mayEnd, (std::vector<LRESULT>{TRUE, FALSE, TRUE, TRUE}));  // question, writing, result, after
  // The reason is given and taken back for this window; what the turn asks
  // of the session, in which order, is the turn's own test.
  EXPECT_EQ(calls.ShutdownWindows(), std::vector<HWND>(2, Window()));
  EXPECT_FALSE(FileExists(file));
}

// Last: the window cannot be used after its exit sequence.
std::vector<DWORD> g_trayBeforeQuestion;
int RecordTrayAtQuestion(const wf::PromptRequest& request) {
  for (const TrayCall& call : g_tray) g_trayBeforeQuestion.push_back(call.message);
  return (request.flags & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
}

TEST_F(MainWindowTest, ClosingTakesTheIconAwayBeforeTheEraseOnExitAsks) {
  WriteWholeFile(*folder_ / L"OPTION.INI", "[ProgramData]\r\nDelOnQuit=1\r\nDelOnQuitMsg=1\r\n");
  FakePlatform platform;
  const std::wstring root = *folder_ / L"exitdrive" + L"\\";
  CreateDirectoryW(root.c_str(), nullptr);
  platform.drives.push_back(Drive{root, true, 1, S_OK});
  recyclebin::SetPlatform(&platform);
  wf::PromptHandler previous = wf::SetPromptHandler(RecordTrayAtQuestion);
  SendMessageW(Window(), WM_CLOSE, 0, 0);
  wf::SetPromptHandler(previous);
  recyclebin::SetPlatform(nullptr);
  MSG quit;
  EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 0u);

  EXPECT_EQ(g_trayBeforeQuestion, std::vector<DWORD>{NIM_DELETE});
  RECT rect{};
  GetWindowRect(Window(), &rect);
  EXPECT_EQ(ReadWholeFile(*folder_ / L"OPTION.INI"),
            "[ProgramData]\r\nDelOnQuit=1\r\nDelOnQuitMsg=1\r\nDlgLeft=" + std::to_string(rect.left) +
                "\r\nDlgTop=" + std::to_string(rect.top) + "\r\nDlgWidth=" + std::to_string(rect.right - rect.left) +
                "\r\nDlgHeight=" + std::to_string(rect.bottom - rect.top) + "\r\n");
  EXPECT_FALSE(KillTimer(Window(), IDT_AUTOERASE));
}

}  // namespace
