// Start-up of the real binshredder.exe: the settings file, the single
// windowed instance, the program-path value and the one-shot runs.
#include <gtest/gtest.h>

#include "tests/e2e/support/app_folder.h"
#include "tests/support/system_state.h"

namespace {

constexpr char kProgramKey[] = "SoftWare\\Brinmoor\\M-Shredder";
constexpr char kMutexName[] = "MORVANE Shredder version 1.11";
constexpr char kFirstStartIni[] =
    "[ProgramData]\r\nOverWriteTimes=3\r\nAutoDel=0\r\nAutoDelTimer=30\r\nDelOnQuit=0\r\nDelOnQuitMsg=1\r\n";

bool MutexExists() {
  HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, kMutexName);
  if (mutex) CloseHandle(mutex);
  return mutex != nullptr;
}

// The value is written with the text's length, without a terminator; the
// platform adds one itself when the caller's text is terminated (NT does, and
// so does Wine), so a reader that honours the byte count sees at most that.
void ExpectStoredText(const RegistryValue& value, const std::string& text) {
  EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(value.bytes.substr(0, value.bytes.find('\0')), text);
  EXPECT_TRUE(value.bytes.size() == text.size() || value.bytes == text + '\0') << value.bytes.size();
}

DWORD CloseMainWindow(HWND window, uidrv::Process& process) {
  uidrv::Post(window, WM_CLOSE, 0, 0);
  return uidrv::WaitExit(process);
}

TEST(Startup, FirstStartWritesTheFiveDefaultsAndNoWindowKeys) {
  AppFolder app("first start");
  uidrv::Process process = app.Start();
  HWND window = app.WaitMainWindow(process);
  ASSERT_TRUE(window);
  EXPECT_EQ(ReadWholeFile(app.Ini()), kFirstStartIni);
  EXPECT_FALSE(FileExists(app.WorkFolder())) << "only the recycle bin's erase makes it";
  EXPECT_EQ(CloseMainWindow(window, process), 0u);
  // Closing stores the geometry after the five options.
  const std::string ini = ReadWholeFile(app.Ini());
  EXPECT_EQ(ini.rfind(kFirstStartIni, 0), 0u) << ini;
  EXPECT_NE(ini.find("DlgLeft="), std::string::npos);
}

TEST(Startup, AnExistingSettingsFileIsLeftByteForByte) {
  AppFolder app("existing ini");
  const std::string content = "[ProgramData]\r\nOverWriteTimes=7\r\n; mine\r\n";
  WriteWholeFile(app.Ini(), content);
  uidrv::Process process = app.Start();
  HWND window = app.WaitMainWindow(process);
  ASSERT_TRUE(window);
  EXPECT_EQ(ReadWholeFile(app.Ini()), content);
  EXPECT_EQ(CloseMainWindow(window, process), 0u);
}

TEST(Startup, WindowedStartRecordsTheProgramPathWithoutTerminator) {
  AppFolder app("path value");
  uidrv::Process process = app.Start();
  HWND window = app.WaitMainWindow(process);
  ASSERT_TRUE(window);
  const auto value = ReadRegistryValue(HKEY_CURRENT_USER, kProgramKey, "Path");
  ASSERT_TRUE(value);
  ExpectStoredText(*value, app.Exe());
  EXPECT_TRUE(MutexExists());
  EXPECT_EQ(CloseMainWindow(window, process), 0u);
}

TEST(Startup, SecondWindowedStartWarnsFirstAndOnlyThenBringsTheRunningWindowBack) {
  AppFolder app("second instance");
  uidrv::Process first = app.Start();
  HWND window = app.WaitMainWindow(first);
  ASSERT_TRUE(window);
  ShowWindow(window, SW_HIDE);  // as if put away into the tray
  ASSERT_TRUE(uidrv::WaitGone(window));

  uidrv::Process second = app.Start();
  HWND box = uidrv::WaitDialog("エラー", uidrv::kDefaultTimeoutMs, second.pid);
  ASSERT_TRUE(box);
  EXPECT_EQ(uidrv::MessageText(box), "既に起動しています。");
  EXPECT_FALSE(IsWindowVisible(window)) << "the running window came forward before the warning was answered";
  uidrv::Press(box, IDOK);
  EXPECT_EQ(uidrv::WaitExit(second), 0u);
  EXPECT_TRUE(IsWindowVisible(window));
  // The second instance never became a window of its own.
  EXPECT_TRUE(uidrv::TopLevelWindows(true, second.pid).empty());
  EXPECT_EQ(CloseMainWindow(window, first), 0u);
}

TEST(Startup, OneShotRunsTakeNoPartInTheSingleInstanceAndWriteNoPath) {
  AppFolder app("one shot");
  ClearClipboard();
  for (const char* arguments : {"-D", "-C"}) {
    uidrv::Process oneShot = app.Start(arguments);
    EXPECT_EQ(uidrv::WaitExit(oneShot), 0u) << arguments;
    EXPECT_FALSE(MutexExists()) << arguments;
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kProgramKey)) << arguments;
  }
  // Not even while it waits at its question.
  const std::string absent = "C:\\e2e\\one shot\\absent.txt";
  for (const std::string& arguments : {std::string("-D"), "\"" + absent + "\""}) {
    ASSERT_TRUE(SetClipboardText("," + absent));
    uidrv::Process oneShot = app.Start(arguments);
    HWND question = uidrv::WaitDialog("確認", uidrv::kDefaultTimeoutMs, oneShot.pid);
    ASSERT_TRUE(question) << arguments;
    EXPECT_FALSE(MutexExists()) << arguments;
    uidrv::Press(question, IDNO);
    EXPECT_EQ(uidrv::WaitExit(oneShot), 0u) << arguments;
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kProgramKey)) << arguments;
  }
  ClearClipboard();
  // While a windowed instance runs, a one-shot run still runs and ends
  // without the single-instance warning.
  uidrv::Process windowed = app.Start();
  HWND window = app.WaitMainWindow(windowed);
  ASSERT_TRUE(window);
  uidrv::Process oneShot = app.Start("-D");
  EXPECT_EQ(uidrv::WaitExit(oneShot), 0u);
  EXPECT_EQ(CloseMainWindow(window, windowed), 0u);
}

TEST(Startup, AFolderPastTheOldPathLimitHoldsItsSettings) {
  // 250 characters and "OPTION.INI" did not fit a MAX_PATH buffer; the
  // system takes them now, and the program keeps its files beside itself.
  AppFolder app(std::string(243, 'd'), "b.exe");
  ASSERT_EQ(app.Dir().size(), 250u);
  uidrv::Process process = app.Start();
  HWND window = app.WaitMainWindow(process);
  ASSERT_TRUE(window);
  uidrv::Post(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(uidrv::WaitExit(process), 0u);
  EXPECT_NE(ReadWholeFile(app.Ini()).find("OverWriteTimes=3"), std::string::npos);
  EXPECT_NE(ReadWholeFile(app.Ini()).find("DlgWidth="), std::string::npos);
}

}  // namespace
