// The progress window under Wine: its look, and the range, position and
// steps a batch gives it.
#include "shredder/engine/progress_dialog.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "tests/windows/support/progress_recorder.h"
#include "tests/windows/support/system_calls.h"
#include "winframe/prompt.h"

namespace {

using Log = std::vector<std::string>;
using Calls = std::vector<std::wstring>;

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

std::string TextOf(HWND window) {
  char text[128] = {};
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

// The static text has no id of its own: find it by class.
HWND StaticText(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) == "Static") return child;
  }
  return nullptr;
}

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

TEST(ProgressDialog, WindowIsATopmostCaptionWithABarAndAStopButtonButNoWayToClose) {
  CProgressDialog progress;
  engine::StopSignal stopSignal;
  ASSERT_TRUE(progress.Open(&stopSignal));
  const HWND window = progress.Hwnd();
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(ClassOf(window), "#32770");
  EXPECT_EQ(TextOf(window), "抹消中...");
  EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_FALSE(style & WS_SYSMENU) << "a system menu would bring a close box";
  EXPECT_TRUE(style & DS_SYSMODAL);
  EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);

  const HWND text = StaticText(window);
  ASSERT_TRUE(text);
  EXPECT_EQ(TextOf(text), "完全抹消中です...");
  const HWND bar = GetDlgItem(window, 1032);
  ASSERT_TRUE(bar);
  EXPECT_EQ(ClassOf(bar), "msctls_progress32");
  EXPECT_TRUE(IsWindowVisible(bar));
  const HWND stop = GetDlgItem(window, 1000);
  ASSERT_TRUE(stop);
  EXPECT_EQ(TextOf(stop), "中止");
  EXPECT_TRUE(IsWindowVisible(stop));
  EXPECT_NE(GetFocus(), stop) << "an Enter meant for another window must not stop the run";

  // Enter and Esc (OK and Cancel) leave the window and the run alone.
  for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
    PostMessageA(window, WM_KEYDOWN, key, 0);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (!IsDialogMessageA(window, &message)) DispatchMessageA(&message);
    }
  }
  SendMessageA(window, WM_COMMAND, IDOK, 0);
  SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
  Pump();
  EXPECT_TRUE(IsWindow(window));
  EXPECT_FALSE(stopSignal.Requested());

  // The stop button asks the run to stop, once.
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED), reinterpret_cast<LPARAM>(stop));
  EXPECT_TRUE(stopSignal.Requested());
  EXPECT_FALSE(IsWindowEnabled(stop));
  EXPECT_TRUE(IsWindow(window));
  progress.Close();
  EXPECT_FALSE(progress.IsOpen());
  Pump();
  EXPECT_FALSE(IsWindow(window));
}

TEST(ProgressDialog, BatchOfThreeRunsFromZeroToThreeAndTheWindowGoesAtTheEnd) {
  CProgressDialog progress;
  ProgressRecorder recorder(progress);
  ASSERT_TRUE(progress.Open());
  const HWND window = progress.Hwnd();
  progress.SetTotal(3);
  for (int i = 0; i < 3; ++i) progress.Step();
  progress.Close();
  Pump();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(recorder.Log(), (Log{"open", "range 0-3 at 0", "step to 1", "step to 2", "step to 3", "close"}));

  // The object serves the next batch; an empty one still shows the window.
  recorder.Clear();
  ASSERT_TRUE(progress.Open());
  progress.SetTotal(0);
  progress.Close();
  EXPECT_EQ(recorder.Log(), (Log{"open", "range 0-0 at 0", "close"}));
}

TEST(ProgressDialog, TheBarMovesWithinAFileAndEachFileEndsWhereItEnded) {
  CProgressDialog progress;
  ASSERT_TRUE(progress.Open());
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(progress.Hwnd(), 1000))) << "no stop to ask for";
  const HWND bar = GetDlgItem(progress.Hwnd(), 1032);
  progress.SetTotal(2);
  const auto position = [bar] { return SendMessageA(bar, PBM_GETPOS, 0, 0); };
  const auto maximum = SendMessageA(bar, PBM_GETRANGE, FALSE, 0);
  progress.ShowWithinItem(0.5);
  EXPECT_EQ(position() * 4, maximum);  // half of the first of two
  progress.ShowWithinItem(0.25);       // a later file of the same item starts again: never back
  EXPECT_EQ(position() * 4, maximum);
  progress.Step();
  EXPECT_EQ(position() * 2, maximum);
  progress.ShowWithinItem(2.0);  // held to the item
  progress.Step();
  EXPECT_EQ(position(), maximum);
  progress.Close();
}

TEST(ProgressDialog, TotalIsTakenModulo65536) {
  CProgressDialog progress;
  ProgressRecorder recorder(progress);
  ASSERT_TRUE(progress.Open());
  progress.SetTotal(65536);
  progress.SetTotal(65538);
  progress.SetTotal(65535);
  progress.Close();
  EXPECT_EQ(recorder.Log(), (Log{"open", "range 0-0 at 0", "range 0-2 at 0", "range 0-65535 at 0", "close"}));
}

TEST(ProgressDialog, OpeningAgainReplacesAWindowLeftOpenAndClosedCallsAreHarmless) {
  CProgressDialog progress;
  ProgressRecorder recorder(progress);
  progress.SetTotal(5);  // no window yet: nothing happens
  progress.Step();
  progress.Close();
  ASSERT_TRUE(progress.Open());
  const HWND first = progress.Hwnd();
  progress.SetTotal(4);
  progress.Step();
  ASSERT_TRUE(progress.Open());
  EXPECT_FALSE(IsWindow(first));
  progress.SetTotal(4);
  progress.Close();
  EXPECT_EQ(recorder.Log(), (Log{"open", "range 0-4 at 0", "step to 1", "close", "open", "range 0-4 at 0", "close"}));
}

TEST(ProgressDialog, ItsTaskbarButtonShowsTheBarAndNothingOnceTheWindowIsGone) {
  SystemCalls calls;
  CProgressDialog progress;
  ASSERT_TRUE(progress.Open());
  const HWND window = progress.Hwnd();
  progress.SetTotal(4);
  progress.Step();
  progress.ShowWithinItem(0.5);
  progress.ShowWithinItem(0.5004);  // the same on the button: nothing sent
  progress.Step();
  progress.Close();
  Pump();
  EXPECT_EQ(calls.Log(), (Calls{L"taskbar normal 0/100", L"taskbar normal 1000/4000", L"taskbar normal 1500/4000",
                                L"taskbar normal 2000/4000", L"taskbar none"}));
  EXPECT_EQ(calls.TaskbarWindows(), std::vector<HWND>(5, window));
}

// Whether the run's window was on the screen as each box was shown.
std::vector<bool> g_windowShownAtBox;
HWND g_run = nullptr;
int NoteWindowAtBox(const wf::PromptRequest&) {
  g_windowShownAtBox.push_back(IsWindowVisible(g_run) != FALSE);
  return IDOK;
}

// A failure told during the run turns the button to the error look while it
// is up; one told right after the run is told beside the window, which goes
// once it is answered. Any other box after the run finds the window gone.
TEST(ProgressDialog, AFailureIsToldBesideTheWindowWhoseButtonShowsTheErrorLook) {
  SystemCalls calls;
  const wf::PromptHandler previous = wf::SetPromptHandler(NoteWindowAtBox);
  g_windowShownAtBox.clear();
  CProgressDialog progress;
  ASSERT_TRUE(progress.Open());
  g_run = progress.Hwnd();
  progress.SetTotal(2);
  progress.Step();
  wf::Prompt(nullptr, L"during", L"エラー", MB_ICONWARNING);
  progress.Close();
  wf::Prompt(nullptr, L"after", L"エラー", MB_ICONWARNING);
  const bool goneAfterFailure = !IsWindow(g_run);

  ASSERT_TRUE(progress.Open());
  g_run = progress.Hwnd();
  progress.Close();
  wf::Prompt(nullptr, L"result", L"情報", MB_ICONINFORMATION);
  wf::SetPromptHandler(previous);

  EXPECT_TRUE(goneAfterFailure);
  EXPECT_EQ(g_windowShownAtBox, (std::vector<bool>{true, true, false}));
  EXPECT_EQ(calls.Log(), (Calls{L"taskbar normal 0/100", L"taskbar normal 1000/2000", L"taskbar error 1000/2000",
                                L"taskbar normal 1000/2000", L"taskbar error 1000/2000", L"taskbar none",
                                L"taskbar normal 0/100", L"taskbar none"}));
}

// Not part of the suite: holds a window with a bar at 2 of 3 on the screen
// for a screenshot (--gtest_also_run_disabled_tests, SHRED_HOLD_MS).
TEST(ProgressDialog, DISABLED_HoldOnScreen) {
  CProgressDialog progress;
  ASSERT_TRUE(progress.Open());
  progress.SetTotal(3);
  progress.Step();
  progress.Step();
  char hold[16] = {};
  const DWORD milliseconds = GetEnvironmentVariableA("SHRED_HOLD_MS", hold, sizeof(hold)) ? atoi(hold) : 5000;
  const DWORD end = GetTickCount() + milliseconds;
  while (GetTickCount() < end) {
    Pump();
    Sleep(20);
  }
  progress.Close();
}

}  // namespace
