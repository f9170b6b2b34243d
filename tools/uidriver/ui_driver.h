// A small UI automation driver: finds the windows of other processes by class
// and caption, reads their texts and states, presses their buttons, and
// starts and waits for processes. Used by the end-to-end tests and by the
// uidriver command.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace uidrv {

constexpr int kDefaultTimeoutMs = 15000;
inline constexpr char kDialogClass[] = "#32770";  // dialogs and message boxes

struct WindowInfo {
  HWND hwnd = nullptr;
  DWORD pid = 0;
  std::string className;
  std::string caption;
  bool visible = false;
  RECT rect{};
};

struct ControlInfo {
  HWND hwnd = nullptr;
  int id = 0;
  std::string className;
  std::string text;
  bool visible = false;
  bool enabled = false;
  int checked = 0;  // BST_* for buttons
};

// Top-level windows, optionally only the visible ones and those of one process.
std::vector<WindowInfo> TopLevelWindows(bool visibleOnly = true, DWORD pid = 0);
// The visible top-level windows with their controls' texts, for diagnostics.
std::string DescribeWindows();

// Waits for a visible top-level window; an empty class or caption matches
// any. On a timeout prints the windows on screen to stderr and returns null.
HWND WaitWindow(const std::string& className, const std::string& caption, int timeoutMs = kDefaultTimeoutMs,
                DWORD pid = 0);
// A message box (or other dialog) with this caption.
HWND WaitDialog(const std::string& caption, int timeoutMs = kDefaultTimeoutMs, DWORD pid = 0);
// Waits until the window no longer exists or is hidden.
bool WaitGone(HWND hwnd, int timeoutMs = kDefaultTimeoutMs);
// True when no visible window of that class and caption appears within the time.
bool StaysAbsent(const std::string& className, const std::string& caption, int timeMs, DWORD pid = 0);

std::string Caption(HWND hwnd);
// The text of a message box.
std::string MessageText(HWND box);
// The same in UTF-16, whatever the ANSI code page can spell.
std::wstring WideCaption(HWND hwnd);
std::wstring WideMessageText(HWND box);
std::string ControlText(HWND dialog, int id);
std::vector<ControlInfo> Controls(HWND dialog);
bool IsControlEnabled(HWND dialog, int id);
bool IsControlVisible(HWND dialog, int id);
int CheckState(HWND dialog, int id);

// Presses a button the way a click does (BN_CLICKED reaches the dialog).
void Press(HWND dialog, int id);
// Clicks a control (BM_CLICK), so that check boxes change their state too.
void Click(HWND dialog, int id);
// Clicks a control with the mouse, as a user does: the system decides where
// the click goes (nowhere, for a window that a modal dialog has disabled).
void MouseClick(HWND dialog, int id);
void SetControlText(HWND dialog, int id, const std::string& text);
void Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Saves the window's rectangle (or the whole screen for null) as PNG.
bool Screenshot(HWND hwnd, const std::string& pngPath);

struct Process {
  HANDLE handle = nullptr;
  DWORD pid = 0;
  explicit operator bool() const { return handle != nullptr; }
};
// Starts a command line as given (not re-quoted) in `directory` (may be empty).
Process Start(const std::string& commandLine, const std::string& directory = {});
// The same in UTF-16, as Explorer, shortcuts and PowerShell start programs:
// every name arrives as written.
Process Start(const std::wstring& commandLine, const std::wstring& directory = {});
// The exit code, or STILL_ACTIVE after the timeout.
DWORD WaitExit(Process& process, int timeoutMs = kDefaultTimeoutMs);
void Kill(Process& process);
void Close(Process& process);

}  // namespace uidrv
