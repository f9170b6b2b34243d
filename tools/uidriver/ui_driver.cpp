#include "tools/uidriver/ui_driver.h"

#include <cstdio>
#include <sstream>

#include "tools/uidriver/png.h"

namespace uidrv {
namespace {

constexpr int kPollMs = 50;

std::string ClassOf(HWND hwnd) {
  char name[256] = {};
  GetClassNameA(hwnd, name, sizeof(name));
  return name;
}

// WM_GETTEXT is marshalled across processes, so this reads other processes'
// controls too (GetWindowText would not). A program busy with its work does
// not answer: the wait is bounded, and such a control reads as empty.
std::string TextOf(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 1000, &length) || length == 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 1000,
                           &got)) {
    return {};
  }
  text.resize(static_cast<std::size_t>(got));
  return text;
}

// A top-level window's caption is read without asking its thread, so that
// windows of a program that is busy (wiping, say) can still be found.
std::string CaptionOf(HWND hwnd) {
  char caption[512] = {};
  GetWindowTextA(hwnd, caption, sizeof(caption));
  return caption;
}

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
  return TRUE;
}

BOOL CALLBACK CollectChildren(HWND hwnd, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
  return TRUE;
}

}  // namespace

std::vector<WindowInfo> TopLevelWindows(bool visibleOnly, DWORD pid) {
  std::vector<HWND> handles;
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&handles));
  std::vector<WindowInfo> windows;
  for (HWND hwnd : handles) {
    WindowInfo info;
    info.hwnd = hwnd;
    GetWindowThreadProcessId(hwnd, &info.pid);
    info.visible = IsWindowVisible(hwnd) != FALSE;
    if (visibleOnly && !info.visible) continue;
    if (pid && info.pid != pid) continue;
    info.className = ClassOf(hwnd);
    info.caption = CaptionOf(hwnd);
    GetWindowRect(hwnd, &info.rect);
    windows.push_back(info);
  }
  return windows;
}

std::string DescribeWindows() {
  std::ostringstream out;
  for (const WindowInfo& window : TopLevelWindows(true)) {
    out << "window pid=" << window.pid << " class=\"" << window.className << "\" caption=\"" << window.caption
        << "\" rect=" << window.rect.left << "," << window.rect.top << "," << window.rect.right << ","
        << window.rect.bottom << "\n";
    for (const ControlInfo& control : Controls(window.hwnd)) {
      out << "  control id=" << control.id << " class=\"" << control.className << "\" text=\"" << control.text << "\""
          << (control.visible ? "" : " hidden") << (control.enabled ? "" : " disabled")
          << (control.checked ? " checked" : "") << "\n";
    }
  }
  return out.str();
}

HWND WaitWindow(const std::string& className, const std::string& caption, int timeoutMs, DWORD pid) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  do {
    for (const WindowInfo& window : TopLevelWindows(true, pid)) {
      if ((className.empty() || window.className == className) && (caption.empty() || window.caption == caption)) {
        return window.hwnd;
      }
    }
    Sleep(kPollMs);
  } while (GetTickCount64() < deadline);
  std::fprintf(stderr, "timed out waiting for window class=\"%s\" caption=\"%s\"; on screen:\n%s", className.c_str(),
               caption.c_str(), DescribeWindows().c_str());
  return nullptr;
}

HWND WaitDialog(const std::string& caption, int timeoutMs, DWORD pid) {
  return WaitWindow(kDialogClass, caption, timeoutMs, pid);
}

bool WaitGone(HWND hwnd, int timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  while (IsWindow(hwnd) && IsWindowVisible(hwnd)) {
    if (GetTickCount64() >= deadline) return false;
    Sleep(kPollMs);
  }
  return true;
}

bool StaysAbsent(const std::string& className, const std::string& caption, int timeMs, DWORD pid) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeMs);
  do {
    for (const WindowInfo& window : TopLevelWindows(true, pid)) {
      if ((className.empty() || window.className == className) && (caption.empty() || window.caption == caption)) {
        return false;
      }
    }
    Sleep(kPollMs);
  } while (GetTickCount64() < deadline);
  return true;
}

std::string Caption(HWND hwnd) {
  return CaptionOf(hwnd);
}

std::string MessageText(HWND box) {
  return ControlText(box, 0xFFFF);
}

std::wstring WideCaption(HWND hwnd) {
  wchar_t caption[512] = {};
  GetWindowTextW(hwnd, caption, static_cast<int>(std::size(caption)));
  return caption;
}

std::wstring WideMessageText(HWND box) {
  wchar_t text[2048] = {};
  GetDlgItemTextW(box, 0xFFFF, text, static_cast<int>(std::size(text)));
  return text;
}

std::string ControlText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control ? TextOf(control) : std::string();
}

std::vector<ControlInfo> Controls(HWND dialog) {
  std::vector<HWND> handles;
  EnumChildWindows(dialog, CollectChildren, reinterpret_cast<LPARAM>(&handles));
  std::vector<ControlInfo> controls;
  for (HWND hwnd : handles) {
    ControlInfo info;
    info.hwnd = hwnd;
    info.id = GetDlgCtrlID(hwnd);
    info.className = ClassOf(hwnd);
    info.text = TextOf(hwnd);
    info.visible = IsWindowVisible(hwnd) != FALSE;
    info.enabled = IsWindowEnabled(hwnd) != FALSE;
    if (_stricmp(info.className.c_str(), "Button") == 0) {
      info.checked = static_cast<int>(SendMessageA(hwnd, BM_GETCHECK, 0, 0));
    }
    controls.push_back(info);
  }
  return controls;
}

bool IsControlEnabled(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control && IsWindowEnabled(control);
}

bool IsControlVisible(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control && IsWindowVisible(control);
}

int CheckState(HWND dialog, int id) {
  return static_cast<int>(SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0));
}

void Press(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void Click(HWND dialog, int id) {
  if (HWND control = GetDlgItem(dialog, id)) PostMessageA(control, BM_CLICK, 0, 0);
}

void MouseClick(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  RECT rect{};
  if (!control || !GetWindowRect(control, &rect)) return;
  SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  INPUT clicks[2] = {};
  clicks[0].type = clicks[1].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, clicks, sizeof(INPUT));
}

void SetControlText(HWND dialog, int id, const std::string& text) {
  if (HWND control = GetDlgItem(dialog, id)) {
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

void Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  PostMessageA(hwnd, message, wParam, lParam);
}

bool Screenshot(HWND hwnd, const std::string& pngPath) {
  RECT area{};
  if (hwnd) {
    if (!IsWindow(hwnd) || !GetWindowRect(hwnd, &area)) return false;
  } else {
    area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = false;
  if (bitmap) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    ok = BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY) != FALSE;
    GdiFlush();
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    const auto* pixels = static_cast<const std::uint8_t*>(bits);
    for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
      rgb[i * 3] = pixels[i * 4 + 2];
      rgb[i * 3 + 1] = pixels[i * 4 + 1];
      rgb[i * 3 + 2] = pixels[i * 4];
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    ok = ok && WritePng(pngPath, width, height, rgb);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

Process Start(const std::string& commandLine, const std::string& directory) {
  auto widen = [](const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                             wide.data(), static_cast<int>(wide.size()))));
    return wide;
  };
  return Start(widen(commandLine), widen(directory));
}

Process Start(const std::wstring& commandLine, const std::wstring& directory) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  // Wine's CreateProcess now and then fails with ERROR_INTERNAL_ERROR when
  // the new process dies while it is being set up (seen once in a WoW64
  // prefix); one more try after a pause, and a second failure is a failure.
  for (int attempt = 1;; ++attempt) {
    std::wstring line = commandLine;
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
      break;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_INTERNAL_ERROR || attempt == 2) {
      std::fprintf(stderr, "cannot start %ls (error %lu)\n", commandLine.c_str(), error);
      return {};
    }
    std::fprintf(stderr, "cannot start %ls (error %lu); trying once more\n", commandLine.c_str(), error);
    Sleep(500);
  }
  CloseHandle(info.hThread);
  // Let the new process reach its first message loop before it is driven.
  WaitForInputIdle(info.hProcess, 5000);
  return Process{info.hProcess, info.dwProcessId};
}

DWORD WaitExit(Process& process, int timeoutMs) {
  if (!process.handle) return static_cast<DWORD>(-1);
  if (WaitForSingleObject(process.handle, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = 0;
  GetExitCodeProcess(process.handle, &code);
  return code;
}

void Kill(Process& process) {
  if (process.handle) {
    TerminateProcess(process.handle, 1);
    WaitForSingleObject(process.handle, 5000);
  }
}

void Close(Process& process) {
  if (process.handle) CloseHandle(process.handle);
  process = {};
}

}  // namespace uidrv
