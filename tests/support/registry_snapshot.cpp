#include "tests/support/registry_snapshot.h"

RegistryTreeGuard::RegistryTreeGuard(HKEY root, std::string subkey) : root_(root), subkey_(std::move(subkey)) {
  Save(subkey_);
}

RegistryTreeGuard::~RegistryTreeGuard() {
  DeleteRegistryTree(root_, subkey_);
  for (const SavedKey& saved : keys_) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root_, saved.path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
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
  HKEY key = nullptr;
  if (RegOpenKeyExA(root_, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  SavedKey saved{path, {}};
  std::vector<std::string> children;
  char name[16384];
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof(name);
    if (RegEnumValueA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    const std::string valueName(name, length);
    if (auto value = ReadRegistryValue(root_, path, valueName.empty() ? nullptr : valueName.c_str())) {
      saved.values.emplace_back(valueName, *value);
    }
  }
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof(name);
    if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    children.emplace_back(name, length);
  }
  RegCloseKey(key);
  keys_.push_back(std::move(saved));
  for (const std::string& child : children) Save(path + "\\" + child);
}
