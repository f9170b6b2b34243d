// The options dialog of the running binshredder.exe, opened from its main
// window and driven from outside: what it shows, what OK and cancel leave in
// OPTION.INI, its checks, and the recycle bin's right-click verb.
#include <gtest/gtest.h>

#include <functional>

#include "tests/e2e/support/app_folder.h"
#include "tests/support/registry_snapshot.h"
#include "tests/support/system_state.h"

namespace {

constexpr char kCaption[] = "オプション設定";
constexpr char kPassCountMessage[] = "上書き回数には 1 回以上 50 以下の整数を入力してください)";
constexpr char kIntervalMessage[] = "自動抹消タイマには 30 分以上の値を入力してください";
constexpr char kShell[] = "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\shell";
constexpr char kVerb[] = "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\shell\\M-Shredder";
constexpr char kCommand[] = "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\shell\\M-Shredder\\command";

constexpr int kOk = 1;
constexpr int kOption = 1000;
constexpr int kMenuOption = 32784;
constexpr int kVerbBox = 1011;
constexpr int kInterval = 1016;
constexpr int kAutoDel = 1017;
constexpr int kDelOnQuit = 1019;
constexpr int kDelOnQuitMsg = 1020;
constexpr int kPasses = 1029;

bool WaitFor(const std::function<bool()>& condition, int timeoutMs = uidrv::kDefaultTimeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  while (!condition()) {
    if (GetTickCount64() >= deadline) return false;
    Sleep(50);
  }
  return true;
}

// The entries of a combo box of another process. Wine carries the text of
// CB_GETLBTEXT across processes as UTF-16 even for the ANSI message, so the
// entries are asked for in UTF-16 and brought to code page 932 here.
std::vector<std::string> ListEntries(HWND dialog, int id) {
  HWND combo = GetDlgItem(dialog, id);
  std::vector<std::string> entries;
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring text(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, L'\0');
    const LRESULT got = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    char ansi[256] = {};
    const int bytes = WideCharToMultiByte(932, 0, text.c_str(), static_cast<int>(text.size()), ansi, sizeof(ansi),
                                          nullptr, nullptr);
    entries.emplace_back(ansi, bytes > 0 ? static_cast<std::size_t>(bytes) : 0);
  }
  return entries;
}

std::vector<std::string> Numbers(int first, int last, int step) {
  std::vector<std::string> numbers;
  for (int n = first; n <= last; n += step) numbers.push_back(std::to_string(n));
  return numbers;
}

class OptionsE2E : public ::testing::Test {
 protected:
  void SetUp() override { DeleteRegistryTree(HKEY_CLASSES_ROOT, kShell); }
  void TearDown() override {
    if (main_) {
      // Closing must not erase the test bed's recycle bin.
      WritePrivateProfileStringA("ProgramData", "DelOnQuit", "0", app_.Ini().c_str());
      uidrv::Post(main_, WM_CLOSE, 0, 0);
      EXPECT_EQ(uidrv::WaitExit(process_), 0u);
    }
  }

  // Starts the program with this OPTION.INI and waits for its main window.
  void Start(const std::string& ini) {
    WriteWholeFile(app_.Ini(), ini);
    process_ = app_.Start();
    main_ = app_.WaitMainWindow(process_);
    ASSERT_TRUE(main_);
  }
  HWND OpenWithButton() {
    uidrv::Press(main_, kOption);
    return uidrv::WaitDialog(kCaption, uidrv::kDefaultTimeoutMs, process_.pid);
  }
  HWND OpenWithMenu() {
    uidrv::Post(main_, WM_COMMAND, MAKEWPARAM(kMenuOption, 0), 0);
    return uidrv::WaitDialog(kCaption, uidrv::kDefaultTimeoutMs, process_.pid);
  }
  // Presses OK on a refused value: the message, then the box's new text.
  void ExpectRefused(HWND dialog, const char* message) {
    uidrv::Press(dialog, kOk);
    HWND box = uidrv::WaitDialog("エラー", uidrv::kDefaultTimeoutMs, process_.pid);
    ASSERT_TRUE(box);
    EXPECT_EQ(uidrv::MessageText(box), message);
    uidrv::Press(box, IDOK);
    ASSERT_TRUE(uidrv::WaitGone(box));
    EXPECT_TRUE(IsWindowVisible(dialog)) << "the dialog closed";
  }
  void PressOkAndWaitClosed(HWND dialog) {
    uidrv::Press(dialog, kOk);
    ASSERT_TRUE(uidrv::WaitGone(dialog));
  }

  RegistryTreeGuard savedShell_{HKEY_CLASSES_ROOT, kShell};
  AppFolder app_{"options e2e"};
  uidrv::Process process_;
  HWND main_ = nullptr;
};

TEST_F(OptionsE2E, OpensWithTheStoredValuesBothListsAndTheEnablingRules) {
  const std::string ini =
      "[ProgramData]\r\nOverWriteTimes=7\r\nAutoDel=1\r\nAutoDelTimer=90\r\nDelOnQuit=1\r\nDelOnQuitMsg=0\r\n";
  Start(ini);
  HWND dialog = OpenWithButton();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(uidrv::Caption(dialog), kCaption);
  EXPECT_EQ(uidrv::ControlText(dialog, kPasses), "7");
  EXPECT_EQ(uidrv::CheckState(dialog, kAutoDel), BST_CHECKED);
  EXPECT_EQ(uidrv::ControlText(dialog, kInterval), "90");
  EXPECT_TRUE(uidrv::IsControlEnabled(dialog, kInterval));
  EXPECT_EQ(uidrv::CheckState(dialog, kDelOnQuit), BST_CHECKED) << "stored as DelOnQuit, read as DelOnQUit";
  EXPECT_EQ(uidrv::CheckState(dialog, kDelOnQuitMsg), BST_UNCHECKED);
  EXPECT_TRUE(uidrv::IsControlEnabled(dialog, kDelOnQuitMsg));
  EXPECT_EQ(uidrv::CheckState(dialog, kVerbBox), BST_UNCHECKED);
  EXPECT_EQ(ListEntries(dialog, kPasses), Numbers(1, 50, 1));
  EXPECT_EQ(ListEntries(dialog, kInterval), Numbers(30, 720, 30));
  uidrv::Screenshot(dialog, BuildBinFolder() + "\\..\\options_dialog.png");

  uidrv::Click(dialog, kAutoDel);
  uidrv::Click(dialog, kDelOnQuit);
  EXPECT_TRUE(WaitFor([&] { return !uidrv::IsControlEnabled(dialog, kInterval); }));
  EXPECT_TRUE(WaitFor([&] { return !uidrv::IsControlEnabled(dialog, kDelOnQuitMsg); }));
  EXPECT_EQ(uidrv::ControlText(dialog, kInterval), "90") << "a disabled box keeps its text";
  uidrv::Click(dialog, kAutoDel);
  EXPECT_TRUE(WaitFor([&] { return uidrv::IsControlEnabled(dialog, kInterval); }));

  uidrv::Post(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(uidrv::WaitGone(dialog));
  EXPECT_EQ(ReadWholeFile(app_.Ini()), ini);
}

TEST_F(OptionsE2E, DefaultsWhenKeysAreMissingAndTheMenuOpensItToo) {
  Start("[ProgramData]\r\n");
  HWND dialog = OpenWithMenu();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(uidrv::ControlText(dialog, kPasses), "3");
  EXPECT_EQ(uidrv::CheckState(dialog, kAutoDel), BST_UNCHECKED);
  EXPECT_EQ(uidrv::ControlText(dialog, kInterval), "30");
  EXPECT_FALSE(uidrv::IsControlEnabled(dialog, kInterval));
  EXPECT_EQ(uidrv::CheckState(dialog, kDelOnQuit), BST_UNCHECKED);
  EXPECT_EQ(uidrv::CheckState(dialog, kDelOnQuitMsg), BST_CHECKED);
  EXPECT_FALSE(uidrv::IsControlEnabled(dialog, kDelOnQuitMsg));

  // The writes land in their order: each key is new to the file.
  uidrv::SetControlText(dialog, kPasses, "12");
  uidrv::Click(dialog, kAutoDel);
  uidrv::SetControlText(dialog, kInterval, "60");
  uidrv::Click(dialog, kDelOnQuit);
  uidrv::Click(dialog, kDelOnQuitMsg);
  ASSERT_TRUE(WaitFor([&] { return uidrv::CheckState(dialog, kDelOnQuitMsg) == BST_UNCHECKED; }));
  PressOkAndWaitClosed(dialog);
  EXPECT_EQ(ReadWholeFile(app_.Ini()),
            "[ProgramData]\r\nOverWriteTimes=12\r\nAutoDel=1\r\nAutoDelTimer=60\r\nDelOnQuit=1\r\nDelOnQuitMsg=0\r\n");
}

TEST_F(OptionsE2E, EscapeAndTheCloseBoxWriteNothingAndTheWindowCarriesOn) {
  const std::string ini =
      "[ProgramData]\r\nOverWriteTimes=3\r\nAutoDel=0\r\nAutoDelTimer=30\r\nDelOnQuit=0\r\nDelOnQuitMsg=1\r\n";
  Start(ini);
  const std::function<void(HWND)> cancels[] = {
      [](HWND dialog) { uidrv::Post(GetDlgItem(dialog, kOk), WM_KEYDOWN, VK_ESCAPE, 0); },
      [](HWND dialog) { uidrv::Post(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); },
  };
  for (const auto& cancel : cancels) {
    HWND dialog = OpenWithButton();
    ASSERT_TRUE(dialog);
    uidrv::SetControlText(dialog, kPasses, "20");
    uidrv::Click(dialog, kAutoDel);
    uidrv::Click(dialog, kDelOnQuit);
    ASSERT_TRUE(WaitFor([&] { return uidrv::CheckState(dialog, kDelOnQuit) == BST_CHECKED; }));
    cancel(dialog);
    ASSERT_TRUE(uidrv::WaitGone(dialog));
    EXPECT_EQ(ReadWholeFile(app_.Ini()), ini);
  }
  // The main window runs on: the dialog opens again with the stored values.
  HWND again = OpenWithButton();
  ASSERT_TRUE(again);
  EXPECT_EQ(uidrv::ControlText(again, kPasses), "3");
  EXPECT_EQ(uidrv::CheckState(again, kAutoDel), BST_UNCHECKED);
  PressOkAndWaitClosed(again);
}

TEST_F(OptionsE2E, PassCountOutsideOneToFiftyIsRefusedAndTheBoxResetToThree) {
  const std::string ini = "[ProgramData]\r\nOverWriteTimes=9\r\n";
  Start(ini);
  HWND dialog = OpenWithButton();
  ASSERT_TRUE(dialog);
  for (const char* text : {"51", "0", "-1", "", "abc", "99999999999"}) {
    SCOPED_TRACE(text);
    uidrv::SetControlText(dialog, kPasses, text);
    ExpectRefused(dialog, kPassCountMessage);
    EXPECT_EQ(uidrv::ControlText(dialog, kPasses), "3");
  }
  EXPECT_EQ(ReadWholeFile(app_.Ini()), ini);
  uidrv::SetControlText(dialog, kPasses, "50");
  PressOkAndWaitClosed(dialog);
  EXPECT_EQ(GetPrivateProfileIntA("ProgramData", "OverWriteTimes", -1, app_.Ini().c_str()), 50);

  dialog = OpenWithButton();
  ASSERT_TRUE(dialog);
  uidrv::SetControlText(dialog, kPasses, "7x");
  PressOkAndWaitClosed(dialog);
  EXPECT_EQ(GetPrivateProfileIntA("ProgramData", "OverWriteTimes", -1, app_.Ini().c_str()), 7);
}

TEST_F(OptionsE2E, ShortIntervalIsRefusedOnlyWhileAutomaticEraseIsOn) {
  Start("[ProgramData]\r\nAutoDel=0\r\nAutoDelTimer=30\r\n");
  HWND dialog = OpenWithButton();
  ASSERT_TRUE(dialog);
  uidrv::SetControlText(dialog, kInterval, "5");
  PressOkAndWaitClosed(dialog);
  EXPECT_EQ(GetPrivateProfileIntA("ProgramData", "AutoDelTimer", -1, app_.Ini().c_str()), 5);

  dialog = OpenWithButton();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(uidrv::ControlText(dialog, kInterval), "5");
  uidrv::Click(dialog, kAutoDel);
  ASSERT_TRUE(WaitFor([&] { return uidrv::CheckState(dialog, kAutoDel) == BST_CHECKED; }));
  ExpectRefused(dialog, kIntervalMessage);
  EXPECT_EQ(uidrv::ControlText(dialog, kInterval), "30");
  EXPECT_EQ(GetPrivateProfileIntA("ProgramData", "AutoDel", -1, app_.Ini().c_str()), 0);

  uidrv::SetControlText(dialog, kInterval, "1000");
  PressOkAndWaitClosed(dialog);
  EXPECT_EQ(GetPrivateProfileIntA("ProgramData", "AutoDelTimer", -1, app_.Ini().c_str()), 1000);
  EXPECT_EQ(GetPrivateProfileIntA("ProgramData", "AutoDel", -1, app_.Ini().c_str()), 1);
}

TEST_F(OptionsE2E, TheVerbBoxRegistersTheQuotedProgramAndRemovesItAgain) {
  Start("[ProgramData]\r\n");
  HWND dialog = OpenWithButton();
  ASSERT_TRUE(dialog);
  uidrv::Click(dialog, kVerbBox);
  ASSERT_TRUE(WaitFor([&] { return uidrv::CheckState(dialog, kVerbBox) == BST_CHECKED; }));
  ASSERT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, kShell));
  const auto menuText = ReadRegistryValue(HKEY_CLASSES_ROOT, kVerb, nullptr);
  ASSERT_TRUE(menuText);
  EXPECT_EQ(menuText->bytes.substr(0, menuText->bytes.find('\0')), "ごみ箱の中身を完全に抹消");
  const auto command = ReadRegistryValue(HKEY_CLASSES_ROOT, kCommand, nullptr);
  ASSERT_TRUE(command);
  EXPECT_EQ(command->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(command->bytes.substr(0, command->bytes.find('\0')), "\"C:\\e2e\\options e2e\\binshredder.exe\" -C");

  // The registration does not wait for OK: cancelling keeps it.
  uidrv::Post(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(uidrv::WaitGone(dialog));
  dialog = OpenWithButton();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(uidrv::CheckState(dialog, kVerbBox), BST_CHECKED);
  uidrv::Click(dialog, kVerbBox);
  ASSERT_TRUE(WaitFor([&] { return uidrv::CheckState(dialog, kVerbBox) == BST_UNCHECKED; }));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, kCommand));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, kVerb));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, kShell));
  uidrv::Post(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(uidrv::WaitGone(dialog));
}

}  // namespace
