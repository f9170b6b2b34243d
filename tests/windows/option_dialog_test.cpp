// The options dialog's checks and writes, and what the main window does
// around it: the timer is set up again after every way of closing it.
#include <gtest/gtest.h>

#include <functional>

#include "shredder/app/command_line.h"
#include "shredder/app/main_dialog.h"
#include "shredder/resources/resource.h"
#include "shredder/settings/option_dialog.h"
#include "tests/support/registry_snapshot.h"
#include "tests/support/system_state.h"
#include "tests/support/temp_folder.h"
#include "tests/windows/support/scripted_prompts.h"
#include "winframe/app.h"

namespace {

constexpr char kFirstStart[] =
    "[ProgramData]\r\nOverWriteTimes=3\r\nAutoDel=0\r\nAutoDelTimer=30\r\nDelOnQuit=0\r\nDelOnQuitMsg=1\r\n";
constexpr char kShell[] = "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\shell";
constexpr char kProbe[] = "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\RBWriteTest";

void Click(HWND dialog, int id) {
  SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}
bool Checked(HWND dialog, int id) {
  return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}
std::string Text(HWND dialog, int id) {
  char text[64] = {};
  GetDlgItemTextA(dialog, id, text, sizeof(text));
  return text;
}

class OptionDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteWholeFile(ini_, kFirstStart);
    app_.SetProfilePath(ini_);
  }
  void TearDown() override { dialog_.Destroy(); }

  HWND Open() {
    EXPECT_TRUE(dialog_.Create(nullptr));
    ShowWindow(dialog_.Hwnd(), SW_SHOWNA);
    return dialog_.Hwnd();
  }

  RegistryTreeGuard savedShell_{HKEY_CLASSES_ROOT, kShell};
  TempFolder folder_;
  std::wstring ini_ = folder_ / L"OPTION.INI";
  wf::App app_{GetModuleHandleA(nullptr)};
  ScriptedPrompts prompts_;
  COptionDialog dialog_;
};

TEST_F(OptionDialogTest, RefusalsAreOwnedByTheDialogResetTheBoxAndSaveNothing) {
  HWND dialog = Open();
  SetDlgItemTextA(dialog, IDC_PASSES, "99999999999");
  Click(dialog, IDOK);
  ASSERT_EQ(prompts_.Shown().size(), 1u);
  EXPECT_EQ(prompts_.Shown()[0].text, L"上書き回数には 1 回以上 50 以下の整数を入力してください)");
  EXPECT_EQ(prompts_.Shown()[0].caption, L"エラー");
  EXPECT_EQ(prompts_.Shown()[0].flags, static_cast<UINT>(MB_ICONWARNING));
  EXPECT_EQ(prompts_.Shown()[0].owner, dialog);
  EXPECT_EQ(Text(dialog, IDC_PASSES), "3");
  EXPECT_EQ(dialog_.Hwnd(), dialog) << "the dialog closed";

  Click(dialog, IDC_AUTODEL);
  SetDlgItemTextA(dialog, IDC_INTERVAL, "29");
  Click(dialog, IDOK);
  ASSERT_EQ(prompts_.Shown().size(), 2u);
  EXPECT_EQ(prompts_.Shown()[1].text, L"自動抹消タイマには 30 分以上の値を入力してください");
  EXPECT_EQ(prompts_.Shown()[1].owner, dialog);
  EXPECT_EQ(Text(dialog, IDC_INTERVAL), "30");
  EXPECT_EQ(ReadWholeFile(ini_), kFirstStart);

  Click(dialog, IDOK);
  EXPECT_EQ(dialog_.Hwnd(), nullptr);
  EXPECT_EQ(ReadWholeFile(ini_),
            "[ProgramData]\r\nOverWriteTimes=3\r\nAutoDel=1\r\nAutoDelTimer=30\r\nDelOnQuit=0\r\nDelOnQuitMsg=1\r\n");
}

TEST_F(OptionDialogTest, ADisabledBoxKeepsItsStateAndOkSavesIt) {
  WriteWholeFile(ini_, "[ProgramData]\r\nDelOnQuit=1\r\nDelOnQuitMsg=1\r\n");
  HWND dialog = Open();
  ASSERT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_DELONQUITMSG)));
  Click(dialog, IDC_DELONQUITMSG);
  Click(dialog, IDC_DELONQUIT);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_DELONQUITMSG)));
  EXPECT_FALSE(Checked(dialog, IDC_DELONQUITMSG));
  Click(dialog, IDOK);
  EXPECT_EQ(ReadWholeFile(ini_),
            "[ProgramData]\r\nDelOnQuit=0\r\nDelOnQuitMsg=0\r\nOverWriteTimes=3\r\nAutoDel=0\r\nAutoDelTimer=30\r\n");
}

TEST_F(OptionDialogTest, AStoredValueThatDoesNotCountShowsAsTheValueThatDoes) {
  WriteWholeFile(ini_, "[ProgramData]\r\nOverWriteTimes=0\r\nAutoDel=1x\r\nAutoDelTimer=-5\r\nDelOnQuitMsg=2\r\n");
  HWND dialog = Open();
  EXPECT_EQ(Text(dialog, IDC_PASSES), "3");
  EXPECT_FALSE(Checked(dialog, IDC_AUTODEL));
  EXPECT_EQ(Text(dialog, IDC_INTERVAL), "30");
  EXPECT_TRUE(Checked(dialog, IDC_DELONQUITMSG));
}

TEST_F(OptionDialogTest, ASettingsFileThatCannotBeWrittenIsToldWithItsPathAndTheSystemsReason) {
  const std::wstring unwritable = folder_ / L"gone\\OPTION.INI";
  app_.SetProfilePath(unwritable);
  HWND dialog = Open();
  Click(dialog, IDOK);
  ASSERT_EQ(prompts_.Shown().size(), 1u);
  const std::wstring first = L"\"" + unwritable + L"\" に設定を保存できませんでした。\n";
  EXPECT_EQ(prompts_.Shown()[0].text.substr(0, first.size()), first);
  EXPECT_GT(prompts_.Shown()[0].text.size(), first.size()) << "no reason given";
  EXPECT_EQ(prompts_.Shown()[0].owner, dialog);
  EXPECT_EQ(dialog_.Hwnd(), dialog) << "the dialog closed as if saved";
}

// ---- opened from the main window

// Runs `script` on the options dialog from inside its modal loop, as soon as
// the dialog is on screen.
std::function<void(HWND)> g_script;

BOOL CALLBACK FindOptions(HWND hwnd, LPARAM found) {
  char caption[64] = {};
  GetWindowTextA(hwnd, caption, sizeof(caption));
  if (IsWindowVisible(hwnd) && std::string(caption) == "オプション設定") {
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK RunScript(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND options = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindOptions, reinterpret_cast<LPARAM>(&options));
  if (!options) return;
  KillTimer(nullptr, timer);
  g_script(options);
}

class OptionsFromMainWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!app::CommandTail(GetCommandLineW()).empty()) return;  // each test skips
    savedProgramKey_ = new RegistryTreeGuard(HKEY_CURRENT_USER, "SoftWare\\Brinmoor");
    wf::App app(GetModuleHandleA(nullptr));
    window_ = new CMainDialog;
    window_->Create(nullptr);
  }
  static void TearDownTestSuite() {
    if (window_) {
      NOTIFYICONDATAW tray = window_->TrayIcon();
      Shell_NotifyIconW(NIM_DELETE, &tray);
      window_->Destroy();
      RemoveDirectoryW(window_->WorkFolder().c_str());
    }
    delete window_;
    delete savedProgramKey_;
    window_ = nullptr;
    savedProgramKey_ = nullptr;
  }
  void SetUp() override {
    // The main window routes its own command line; with arguments it would
    // have taken them for files to shred.
    if (!window_) GTEST_SKIP() << "run without arguments (filter with GTEST_FILTER)";
    app_.SetProfilePath(ini_);
    app_.SetMainWindow(window_->Hwnd());
  }

  // Presses the options button; returns when the main window is done with it.
  void OpenOptions(std::function<void(HWND)> script) {
    g_script = std::move(script);
    SetTimer(nullptr, 0, 20, RunScript);
    SendMessageA(window_->Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_OPTION, BN_CLICKED),
                 reinterpret_cast<LPARAM>(window_->Item(IDC_OPTION)));
  }
  // True when the automatic erase timer was running (and stops it).
  static bool TimerWasRunning() { return KillTimer(window_->Hwnd(), IDT_AUTOERASE) != FALSE; }

  static CMainDialog* window_;
  static RegistryTreeGuard* savedProgramKey_;
  TempFolder folder_;
  std::wstring ini_ = folder_ / L"OPTION.INI";
  wf::App app_{GetModuleHandleA(nullptr)};
  ScriptedPrompts prompts_;
};

CMainDialog* OptionsFromMainWindowTest::window_ = nullptr;
RegistryTreeGuard* OptionsFromMainWindowTest::savedProgramKey_ = nullptr;

TEST_F(OptionsFromMainWindowTest, TheWritableProbeLeavesTheOptionsAvailableAndNoKey) {
  EXPECT_TRUE(IsWindowEnabled(window_->Item(IDC_OPTION)));
  EXPECT_FALSE(GetMenuState(GetMenu(window_->Hwnd()), ID_MENU_OPTION, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, kProbe));
}

TEST_F(OptionsFromMainWindowTest, EveryWayOfCancellingWritesNothingAndSetsTheTimerUpAgain) {
  const std::string stored = "[ProgramData]\r\nOverWriteTimes=5\r\nAutoDel=1\r\nAutoDelTimer=60\r\n";
  const std::function<void(HWND)> cancels[] = {
      [](HWND options) { PostMessageA(GetDlgItem(options, IDOK), WM_KEYDOWN, VK_ESCAPE, 0); },
      [](HWND options) { PostMessageA(options, WM_SYSCOMMAND, SC_CLOSE, 0); },
      [](HWND options) { PostMessageA(options, WM_CLOSE, 0, 0); },
  };
  for (std::size_t i = 0; i < std::size(cancels); ++i) {
    WriteWholeFile(ini_, stored);
    window_->ArmAutoEraseTimer();
    HWND seen = nullptr;
    OpenOptions([&](HWND options) {
      seen = options;
      // Modal to the main window, which takes no clicks meanwhile.
      EXPECT_EQ(GetWindow(options, GW_OWNER), window_->Hwnd());
      EXPECT_FALSE(IsWindowEnabled(window_->Hwnd()));
      // Only setting the timer up again after the dialog brings it back.
      EXPECT_TRUE(TimerWasRunning());
      SetDlgItemTextA(options, IDC_PASSES, "9");
      Click(options, IDC_AUTODEL);
      cancels[i](options);
    });
    ASSERT_TRUE(seen) << i;
    EXPECT_FALSE(IsWindow(seen)) << i;
    EXPECT_TRUE(IsWindowEnabled(window_->Hwnd())) << i;
    EXPECT_EQ(ReadWholeFile(ini_), stored) << i;
    EXPECT_TRUE(TimerWasRunning()) << i;
  }
  EXPECT_TRUE(prompts_.Shown().empty());
}

TEST_F(OptionsFromMainWindowTest, OkSetsTheTimerUpFromTheNewSettings) {
  WriteWholeFile(ini_, kFirstStart);
  window_->ArmAutoEraseTimer();
  OpenOptions([](HWND options) {
    Click(options, IDC_AUTODEL);
    Click(options, IDOK);
  });
  EXPECT_TRUE(TimerWasRunning());

  window_->ArmAutoEraseTimer();  // AutoDel is 1 now
  OpenOptions([](HWND options) {
    Click(options, IDC_AUTODEL);
    Click(options, IDOK);
  });
  EXPECT_EQ(ReadWholeFile(ini_), kFirstStart);
  EXPECT_FALSE(TimerWasRunning());
}

}  // namespace
