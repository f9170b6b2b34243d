#include "tests/support/registry_snapshot.h"

RegistryTreeGuard::RegistryTreeGuard(HKEY root, std::string subkey, REGSAM view)
    : root_(root), subkey_(std::move(subkey)), view_(view) {
  Save(subkey_);
}

RegistryTreeGuard::~RegistryTreeGuard() {
  DeleteRegistryTree(root_, subkey_, view_);
  for (const SavedKey& saved : keys_) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root_, saved.path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view_, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
      continue;
    }
    for (const auto& [name, value] : saved.values) {
      RegSetValueExA(key, name.empty() ? nullptr : name.c_str(), 0, value.type,
                     reinterpret_cast<const BYTE*>(value.bytes.data()), static_cast<DWORD>(value.bytes.size()));
    }
    RegCloseKey(key);
  }
}

void RegistryTreeGuard::Save(const std::string& path) {
  const std::optional<RegistryKeyContents> contents = ReadRegistryKey(root_, path, view_);
  if (!contents) return;
  keys_.push_back(SavedKey{path, contents->values});
  for (const std::string& child : contents->subkeys) Save(path + "\\" + child);
}
