#include "shredder/settings/registry.h"

#include "shredder/captions.h"
#include "shredder/settings/settings_texts.h"
#include "winframe/handles.h"
#include "winframe/prompt.h"
#include "winframe/system_error.h"

namespace settings {
namespace {

void ReportNotCreated(HWND owner, LSTATUS status) {
  wf::Prompt(owner, wf::WithReason(texts::kRegistryNotCreated, static_cast<DWORD>(status)), captions::kInfo,
             captions::kInfoFlags);
}

LSTATUS CreateWithAllAccess(HKEY root, const wchar_t* subkey, HKEY* key) {
  return RegCreateKeyExW(root, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key, nullptr);
}

KeyCreator g_keyCreator = CreateWithAllAccess;

}  // namespace

bool RegKeyExists(HWND owner, const wchar_t* subkey, HKEY root) {
  wf::RegKey key;
  if (RegOpenKeyExW(root, subkey, 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS) return false;
  CloseKey(owner, key);
  return true;
}

void RegWriteString(HWND owner, const wchar_t* subkey, HKEY root, const std::wstring& data, const wchar_t* name) {
  wf::RegKey key;
  if (const LSTATUS created = CreateKeyForWriting(root, subkey, key.Put()); created != ERROR_SUCCESS) {
    ReportNotCreated(owner, created);
    return;
  }
  // The stored text carries no terminator: readers take the byte count.
  LSTATUS written = RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                                   static_cast<DWORD>(data.size() * sizeof(wchar_t)));
  if (written == ERROR_SUCCESS) written = RegFlushKey(key.Get());
  if (written != ERROR_SUCCESS) ReportNotCreated(owner, written);
  CloseKey(owner, key);
}

std::optional<std::vector<std::wstring>> RegSubkeyNames(HWND owner, const wchar_t* subkey, HKEY root) {
  wf::RegKey key;
  if (RegOpenKeyExW(root, subkey, 0, KEY_ENUMERATE_SUB_KEYS, key.Put()) != ERROR_SUCCESS) return std::nullopt;
  std::vector<std::wstring> names;
  wchar_t name[256];  // the longest key name the registry allows, with its NUL
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(std::size(name));
    if (RegEnumKeyExW(key.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  CloseKey(owner, key);
  return names;
}

void CloseKey(HWND owner, wf::RegKey& key) {
  if (!key) return;
  if (const LSTATUS closed = RegCloseKey(key.Release()); closed != ERROR_SUCCESS) {
    wf::Prompt(owner, wf::WithReason(texts::kRegistryNotClosed, static_cast<DWORD>(closed)), captions::kError,
               captions::kErrorFlags);
  }
}

void DeleteKey(HWND owner, HKEY root, const wchar_t* subkey) {
  if (const LSTATUS deleted = RegDeleteKeyW(root, subkey); deleted != ERROR_SUCCESS) {
    wf::Prompt(owner, wf::WithReason(texts::kRegistryNotDeleted, static_cast<DWORD>(deleted)), captions::kError,
               captions::kErrorFlags);
  }
}

LSTATUS CreateKeyForWriting(HKEY root, const wchar_t* subkey, HKEY* key) {
  return g_keyCreator(root, subkey, key);
}

KeyCreator SetKeyCreator(KeyCreator creator) {
  KeyCreator previous = g_keyCreator;
  g_keyCreator = creator ? creator : CreateWithAllAccess;
  return previous;
}

}  // namespace settings
