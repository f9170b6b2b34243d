// Puts a registry key back as it was: takes a copy of the key with all its
// subkeys and values, and when the owner goes, removes whatever is there now
// and writes the copy again (or leaves nothing when the key did not exist).
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/system_state.h"

class RegistryTreeGuard {
 public:
  RegistryTreeGuard(HKEY root, std::string subkey, REGSAM view = 0);
  ~RegistryTreeGuard();
  RegistryTreeGuard(const RegistryTreeGuard&) = delete;
  RegistryTreeGuard& operator=(const RegistryTreeGuard&) = delete;

  bool Existed() const { return !keys_.empty(); }

 private:
  struct SavedKey {
    std::string path;
    std::vector<std::pair<std::string, RegistryValue>> values;
  };
  void Save(const std::string& path);

  HKEY root_;
  std::string subkey_;
  REGSAM view_;
  std::vector<SavedKey> keys_;  // parents before their children
};
