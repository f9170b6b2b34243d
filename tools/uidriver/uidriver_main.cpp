// uidriver: the automation driver as a command, for scripts and by hand.
//   uidriver list
//   uidriver wait <class|-> <caption|-> [timeout-ms]     prints the window handle
//   uidriver answer <caption> <button-id> [timeout-ms]   prints the box's text, presses the button
//   uidriver text <hwnd> | caption <hwnd>
//   uidriver press <hwnd> <id> | click <hwnd> <id> | settext <hwnd> <id> <text>
//   uidriver post <hwnd> <message> <wparam> <lparam>
//   uidriver send <hwnd> <message> <wparam> <lparam>     prints what the window answered
//   uidriver screenshot <hwnd|screen> <file.png>
//   uidriver shot <class|-> <caption|-> <file.png> [timeout-ms]   waits for a window and pictures it at once
//   uidriver run <command line> [timeout-ms]            starts exactly that line, waits for it, prints its exit code
//   uidriver clipboard [text]                           prints the clipboard's text, or puts `text` there
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/uidriver/ui_driver.h"

namespace {

HWND ParseHwnd(const char* text) {
  return reinterpret_cast<HWND>(std::strtoull(text, nullptr, 0));
}
long long ParseNumber(const char* text) {
  return std::strtoll(text, nullptr, 0);
}
std::string Any(const char* text) {
  return std::string(text) == "-" ? std::string() : std::string(text);
}

int Usage() {
  std::fputs(
      "usage: uidriver list | wait <class|-> <caption|-> [ms] | answer <caption> <id> [ms] | text <hwnd> |\n"
      "       caption <hwnd> | press <hwnd> <id> | click <hwnd> <id> | settext <hwnd> <id> <text> |\n"
      "       post <hwnd> <msg> <wp> <lp> | send <hwnd> <msg> <wp> <lp> | screenshot <hwnd|screen> <file.png> |\n"
      "       shot <class|-> <caption|-> <file.png> [ms] | run <command line> [ms] | clipboard [text]\n",
      stderr);
  return 2;
}

// As another program copies: empties the clipboard and puts the text there.
bool PutClipboardText(const std::string& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  bool put = false;
  if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
    if (void* data = GlobalLock(block)) {
      std::memcpy(data, text.c_str(), text.size() + 1);
      GlobalUnlock(block);
      put = SetClipboardData(CF_TEXT, block) != nullptr;
    }
    if (!put) GlobalFree(block);
  }
  CloseClipboard();
  return put;
}

int PrintClipboardText() {
  if (!OpenClipboard(nullptr)) return 1;
  if (HANDLE block = GetClipboardData(CF_TEXT)) {
    if (const char* data = static_cast<const char*>(GlobalLock(block))) {
      std::printf("%s\n", data);
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  if (command == "list") {
    std::fputs(uidrv::DescribeWindows().c_str(), stdout);
    return 0;
  }
  if (command == "wait" && argc >= 4) {
    const int timeout = argc > 4 ? static_cast<int>(ParseNumber(argv[4])) : uidrv::kDefaultTimeoutMs;
    HWND hwnd = uidrv::WaitWindow(Any(argv[2]), Any(argv[3]), timeout);
    if (!hwnd) return 1;
    std::printf("%#llx\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)));
    return 0;
  }
  if (command == "answer" && argc >= 4) {
    const int timeout = argc > 4 ? static_cast<int>(ParseNumber(argv[4])) : uidrv::kDefaultTimeoutMs;
    HWND box = uidrv::WaitDialog(argv[2], timeout);
    if (!box) return 1;
    std::printf("%s\n", uidrv::MessageText(box).c_str());
    uidrv::Press(box, static_cast<int>(ParseNumber(argv[3])));
    return 0;
  }
  if (command == "text" && argc >= 3) {
    std::printf("%s\n", uidrv::MessageText(ParseHwnd(argv[2])).c_str());
    return 0;
  }
  if (command == "caption" && argc >= 3) {
    std::printf("%s\n", uidrv::Caption(ParseHwnd(argv[2])).c_str());
    return 0;
  }
  if ((command == "press" || command == "click") && argc >= 4) {
    const int id = static_cast<int>(ParseNumber(argv[3]));
    command == "press" ? uidrv::Press(ParseHwnd(argv[2]), id) : uidrv::Click(ParseHwnd(argv[2]), id);
    return 0;
  }
  if (command == "settext" && argc >= 5) {
    uidrv::SetControlText(ParseHwnd(argv[2]), static_cast<int>(ParseNumber(argv[3])), argv[4]);
    return 0;
  }
  if (command == "post" && argc >= 6) {
    uidrv::Post(ParseHwnd(argv[2]), static_cast<UINT>(ParseNumber(argv[3])), static_cast<WPARAM>(ParseNumber(argv[4])),
                static_cast<LPARAM>(ParseNumber(argv[5])));
    return 0;
  }
  if (command == "send" && argc >= 6) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(ParseHwnd(argv[2]), static_cast<UINT>(ParseNumber(argv[3])),
                             static_cast<WPARAM>(ParseNumber(argv[4])), static_cast<LPARAM>(ParseNumber(argv[5])),
                             SMTO_ABORTIFHUNG, uidrv::kDefaultTimeoutMs, &answer)) {
      return 1;
    }
    std::printf("%llu\n", static_cast<unsigned long long>(answer));
    return 0;
  }
  if (command == "shot" && argc >= 5) {
    const int timeout = argc > 5 ? static_cast<int>(ParseNumber(argv[5])) : uidrv::kDefaultTimeoutMs;
    HWND hwnd = uidrv::WaitWindow(Any(argv[2]), Any(argv[3]), timeout);
    if (!hwnd || !uidrv::Screenshot(hwnd, argv[4])) return 1;
    std::printf("%#llx\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)));
    return 0;
  }
  if (command == "run" && argc >= 3) {
    const int timeout = argc > 3 ? static_cast<int>(ParseNumber(argv[3])) : uidrv::kDefaultTimeoutMs;
    uidrv::Process process = uidrv::Start(std::string(argv[2]));
    if (!process) return 1;
    const DWORD code = uidrv::WaitExit(process, timeout);
    uidrv::Close(process);
    std::printf("%lu\n", static_cast<unsigned long>(code));
    return code == STILL_ACTIVE ? 1 : 0;
  }
  if (command == "clipboard") return argc >= 3 ? (PutClipboardText(argv[2]) ? 0 : 1) : PrintClipboardText();
  if (command == "screenshot" && argc >= 4) {
    HWND hwnd = std::string(argv[2]) == "screen" ? nullptr : ParseHwnd(argv[2]);
    return uidrv::Screenshot(hwnd, argv[3]) ? 0 : 1;
  }
  return Usage();
}
