// Stands in for binshredder where a test needs to see how the context menu
// started it: appends its raw command line and the clipboard text it found
// at its start to "starts.log" beside itself, one line each start, and ends.
// It leaves the clipboard as it is.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string ClipboardTextNow() {
  std::string text;
  if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(nullptr)) return text;
  if (HANDLE block = GetClipboardData(CF_TEXT)) {
    if (const char* data = static_cast<const char*>(GlobalLock(block))) {
      text = data;
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
  return text;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char self[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, self, sizeof(self));
  std::string log(self, length);
  log = log.substr(0, log.find_last_of('\\') + 1) + "starts.log";
  const std::string line = std::string(GetCommandLineA()) + "\t" + ClipboardTextNow() + "\n";
  if (std::FILE* file = std::fopen(log.c_str(), "ab")) {
    std::fwrite(line.data(), 1, line.size(), file);
    std::fclose(file);
  }
  return 0;
}
