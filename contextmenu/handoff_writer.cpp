#include "contextmenu/handoff_writer.h"

#include <shellapi.h>

#include <cstring>

#include "common/handoff_list.h"
#include "common/paths.h"
#include "common/program_contract.h"
#include "contextmenu/shellext_ids.h"
#include "winframe/handles.h"

namespace shellext {
namespace {

// A block the clipboard can take over: movable and shareable, as the
// clipboard has always wanted them.
wf::GlobalMemory ClipboardBlock(const std::string& bytes) {
  wf::GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, bytes.size()));
  if (!block) return block;
  wf::GlobalLockGuard lock(block.Get());
  if (!lock) return wf::GlobalMemory();
  std::memcpy(lock.Data(), bytes.data(), bytes.size());
  return block;
}

}  // namespace

std::optional<std::string> RecordedProgramPath() {
  wf::RegKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, contract::kProgramKey, 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  // A few bytes more than a path can have, so that a longer value is seen.
  char buffer[paths::kMaxPath + 8];
  DWORD type = 0;
  DWORD size = sizeof(buffer);
  if (RegQueryValueExA(key.Get(), contract::kProgramPathValue, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                       &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  const std::string path = contract::PathFromStoredValue(std::string_view(buffer, size));
  if (path.empty() || !paths::Fits(path) || !handoff::IsAbsolutePath(path)) return std::nullopt;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
  return path;
}

bool PutHandOffList(HWND owner, const std::vector<std::string>& paths) {
  // Both blocks are made before the clipboard is touched, so that a failure
  // leaves its content as it was.
  std::string text = handoff::ListText(paths);
  text.push_back('\0');
  wf::GlobalMemory textBlock = ClipboardBlock(text);
  wf::GlobalMemory dropBlock = ClipboardBlock(handoff::DropFilesBlock(paths));
  if (!textBlock || !dropBlock) return false;

  wf::ClipboardSession clipboard(owner);
  if (!clipboard.IsOpen() || !EmptyClipboard()) return false;
  // The clipboard owns a block once it has taken it.
  if (!SetClipboardData(CF_TEXT, textBlock.Get())) return false;
  textBlock.Release();
  if (!SetClipboardData(CF_HDROP, dropBlock.Get())) {
    // The text alone would split a name with a comma in two.
    EmptyClipboard();
    return false;
  }
  dropBlock.Release();
  return true;
}

void HandOff(HWND owner, const std::vector<std::string>& paths) {
  if (paths.empty()) return;
  // Read first: without a program to start, the clipboard is left alone.
  const std::optional<std::string> program = RecordedProgramPath();
  if (!program || !PutHandOffList(owner, paths)) return;
  ShellExecuteA(nullptr, nullptr, program->c_str(), contract::kHandOffSwitch, nullptr, SW_SHOWNORMAL);
}

}  // namespace shellext
