#include "contextmenu/handoff_writer.h"

#include <shellapi.h>

#include <cstring>

#include "common/handoff_list.h"
#include "common/paths.h"
#include "common/program_contract.h"
#include "winframe/handles.h"
#include "winframe/text.h"

namespace shellext {
namespace {

// A block the clipboard can take over: movable and shareable, as the
// clipboard has always wanted them.
wf::GlobalMemory ClipboardBlock(const void* bytes, std::size_t size) {
  wf::GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size));
  if (!block) return block;
  wf::GlobalLockGuard lock(block.Get());
  if (!lock) return wf::GlobalMemory();
  std::memcpy(lock.Data(), bytes, size);
  return block;
}

// A window of the extension's own for a clipboard session that has none.
class MessageWindow {
 public:
  MessageWindow()
      : window_(CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
  ~MessageWindow() {
    if (window_) DestroyWindow(window_);
  }
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;
  HWND Get() const { return window_; }

 private:
  HWND window_;
};

// Started as the shell starts a program for a parameter string: the path in
// double quotes, one blank, the arguments.
void Start(const std::wstring& program, const std::wstring& arguments) {
  ShellExecuteW(nullptr, nullptr, program.c_str(), arguments.c_str(), nullptr, SW_SHOWNORMAL);
}

}  // namespace

std::optional<std::wstring> RecordedProgramPath() {
  wf::RegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, contract::kProgramKey, 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key.Get(), contract::kProgramPathValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_SZ || size / sizeof(wchar_t) >= paths::kMaxPath) {
    return std::nullopt;
  }
  std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
  DWORD read = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key.Get(), contract::kProgramPathValue, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                       &read) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  const std::wstring path = contract::PathFromStoredValue(std::wstring_view(buffer.data(), read / sizeof(wchar_t)));
  const std::optional<std::wstring> extended = paths::ToExtended(path);
  if (path.empty() || !extended) return std::nullopt;
  const DWORD attributes = GetFileAttributesW(extended->c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
  return path;
}

bool PutHandOffList(HWND owner, const std::vector<std::wstring>& paths) {
  const UINT wideFormat = RegisterClipboardFormatW(contract::kHandOffListFormat);
  if (wideFormat == 0) return false;
  // Both blocks are made before the clipboard is touched, so that a failure
  // leaves its content as it was.
  std::vector<std::string> spelled;
  for (const std::wstring& path : paths) spelled.push_back(wf::Narrow(path));
  std::string text = handoff::ListText(spelled);
  text.push_back('\0');
  const std::wstring wide = handoff::WideListBlock(paths);
  wf::GlobalMemory textBlock = ClipboardBlock(text.data(), text.size());
  wf::GlobalMemory wideBlock = ClipboardBlock(wide.data(), wide.size() * sizeof(wchar_t));
  if (!textBlock || !wideBlock) return false;

  MessageWindow ownWindow;
  if (!owner) owner = ownWindow.Get();
  if (!owner) return false;
  wf::ClipboardSession clipboard(owner);
  if (!clipboard.IsOpen() || !EmptyClipboard()) return false;
  // The clipboard owns a block once it has taken it.
  if (!SetClipboardData(CF_TEXT, textBlock.Get())) return false;
  textBlock.Release();
  if (!SetClipboardData(wideFormat, wideBlock.Get())) {
    // The text alone would split a name with a comma in two.
    EmptyClipboard();
    return false;
  }
  wideBlock.Release();
  return true;
}

void HandOff(HWND owner, const std::vector<std::wstring>& paths) {
  if (paths.empty()) return;
  // Read first: without a program to start, the clipboard is left alone.
  const std::optional<std::wstring> program = RecordedProgramPath();
  if (!program || !PutHandOffList(owner, paths)) return;
  Start(*program, contract::kHandOffSwitch);
}

void StartFreeSpaceErase(const std::wstring& driveRoot) {
  const std::optional<std::wstring> program = RecordedProgramPath();
  if (program) Start(*program, contract::FreeSpaceArguments(driveRoot));
}

}  // namespace shellext
