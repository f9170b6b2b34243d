#include "shredder/settings/registry.h"

#include "shredder/captions.h"
#include "shredder/settings/settings_texts.h"
#include "winframe/prompt.h"

namespace settings {
namespace {

void CloseKey(HWND owner, HKEY key) {
  if (RegCloseKey(key) != ERROR_SUCCESS) {
    wf::Prompt(owner, texts::kRegistryNotClosed, captions::kError, captions::kErrorFlags);
  }
}

void ReportNotCreated(HWND owner) {
  wf::Prompt(owner, texts::kRegistryNotCreated, captions::kInfo, captions::kInfoFlags);
}

}  // namespace

bool RegKeyExists(HWND owner, const char* subkey, HKEY root) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, subkey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  CloseKey(owner, key);
  return true;
}

void RegWriteString(HWND owner, const char* subkey, HKEY root, const std::string& data, const char* name) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    ReportNotCreated(owner);
    return;
  }
  // The stored text carries no terminator: readers take the byte count.
  const bool written = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                                      static_cast<DWORD>(data.size())) == ERROR_SUCCESS &&
                       RegFlushKey(key) == ERROR_SUCCESS;
  if (!written) ReportNotCreated(owner);
  CloseKey(owner, key);
}

}  // namespace settings
