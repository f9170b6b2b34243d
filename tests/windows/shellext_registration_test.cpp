// The registration of the shell extension, through the library shredmenu.dll
// is made of: the facts of its registry table, the identifiers against the
// embedded type library, and the refusal when the approval cannot be written.
#include "contextmenu/registration.h"

#include <gtest/gtest.h>
#include <oleauto.h>

#include <set>
#include <string>
#include <string_view>

#include "contextmenu/server_module.h"
#include "tests/support/system_state.h"

namespace {

using shellext::KeyMark;
using shellext::kRegistryEntries;

std::string GuidText(const GUID& guid) {
  wchar_t wide[64];
  const int length = StringFromGUID2(guid, wide, 64);
  return std::string(wide, wide + (length > 0 ? length - 1 : 0));
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

TEST(ShellExtRegistryTable, IdentifiersAsTextMatchTheConstants) {
  EXPECT_EQ(GuidText(shellext::kClsid), shellext::kClsidText);
  EXPECT_EQ(GuidText(shellext::kLibid), shellext::kLibidText);
  EXPECT_EQ(GuidText(shellext::kIidRuzeVoriduruShl), "{B7847D3D-09F3-11D4-8F6D-0080AD87DD41}");
  EXPECT_EQ(GuidText(shellext::kCommandClsid), SHREDMENU_COMMAND_CLSID_TEXT);
}

TEST(ShellExtRegistryTable, RemovalNeverReachesKeysSharedWithOthers) {
  // Deleting "*", "Folder", "Drive" or "CLSID" (or the handler lists of all files)
  // would take every other program's registration with it. Whatever the
  // table removes must lie inside names that are ours.
  const std::string ourClsidKey = std::string("CLSID\\") + shellext::kClsidText;
  const std::string commandClsidKey = "CLSID\\" SHREDMENU_COMMAND_CLSID_TEXT;
  std::set<std::string> shared;
  for (const auto& entry : kRegistryEntries) {
    if (entry.mark == KeyMark::NoRemove) {
      shared.insert(entry.key);
      continue;
    }
    const std::string key = entry.key;
    const bool ours = key == shellext::kProgId || StartsWith(key, std::string(shellext::kProgId) + "\\") ||
                      key == shellext::kVersionIndependentProgId ||
                      StartsWith(key, std::string(shellext::kVersionIndependentProgId) + "\\") || key == ourClsidKey ||
                      StartsWith(key, ourClsidKey + "\\") || key == commandClsidKey ||
                      StartsWith(key, commandClsidKey + "\\") ||
                      key == "*\\ShellEx\\ContextMenuHandlers\\RuzeVoriduruShlExt" ||
                      key == "Folder\\ShellEx\\ContextMenuHandlers\\RuzeVoriduruShlExt" ||
                      key == "Drive\\ShellEx\\ContextMenuHandlers\\RuzeVoriduruShlExt";
    EXPECT_TRUE(ours) << key;
  }
  EXPECT_EQ(shared, (std::set<std::string>{"CLSID", "*", "*\\ShellEx", "*\\ShellEx\\ContextMenuHandlers", "Folder",
                                           "Folder\\ShellEx", "Folder\\ShellEx\\ContextMenuHandlers", "Drive",
                                           "Drive\\ShellEx", "Drive\\ShellEx\\ContextMenuHandlers"}));
}

TEST(ShellExtRegistryTable, ParentsComeFirstAndForceRemoveClearsBeforeChildrenAreWritten) {
  std::set<std::string> seen;
  for (const auto& entry : kRegistryEntries) {
    const std::string key = entry.key;
    const std::size_t slash = key.rfind('\\');
    if (slash != std::string::npos && !StartsWith(key, shellext::kProgId) &&
        !StartsWith(key, shellext::kVersionIndependentProgId)) {
      EXPECT_TRUE(seen.count(key.substr(0, slash))) << key << " comes before its parent";
    }
    // A ForceRemove key written after one of its children would delete it.
    if (entry.mark == KeyMark::ForceRemove) {
      for (const std::string& earlier : seen) EXPECT_FALSE(StartsWith(earlier, key + "\\")) << earlier;
    }
    EXPECT_TRUE(seen.insert(key).second) << key << " is listed twice";
  }
}

TEST(ShellExtRegistryTable, OnlyTheServerKeysNameTheModuleAndTheyAreApartmentThreaded) {
  std::set<std::string> servers;
  for (const auto& entry : kRegistryEntries) {
    if (entry.defaultValue && std::string_view(entry.defaultValue) == shellext::kModuleToken) {
      servers.insert(entry.key);
      ASSERT_TRUE(entry.valueName);
      EXPECT_STREQ(entry.valueName, "ThreadingModel");
      EXPECT_STREQ(entry.value, "Apartment");
    }
  }
  EXPECT_EQ(servers, (std::set<std::string>{std::string("CLSID\\") + shellext::kClsidText + "\\InprocServer32",
                                            "CLSID\\" SHREDMENU_COMMAND_CLSID_TEXT "\\InprocServer32"}));
}

TEST(ShellExtTypeLibrary, EmbeddedLibraryCarriesTheIdentifiersOfTheHeader) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  ITypeLib* library = nullptr;
  ASSERT_EQ(LoadTypeLibEx(self, REGKIND_NONE, &library), S_OK);
  TLIBATTR* attributes = nullptr;
  ASSERT_EQ(library->GetLibAttr(&attributes), S_OK);
  EXPECT_TRUE(IsEqualGUID(attributes->guid, shellext::kLibid));
  EXPECT_EQ(attributes->wMajorVerNum, 1);
  EXPECT_EQ(attributes->wMinorVerNum, 0);
  library->ReleaseTLibAttr(attributes);

  for (const GUID* guid : {&shellext::kClsid, &shellext::kIidRuzeVoriduruShl}) {
    ITypeInfo* info = nullptr;
    EXPECT_EQ(library->GetTypeInfoOfGuid(*guid, &info), S_OK) << GuidText(*guid);
    if (info) info->Release();
  }
  library->Release();
}

// The approval key as a user without administrator rights meets it.
LSTATUS RefuseApprovedKey(HKEY*) {
  return ERROR_ACCESS_DENIED;
}
LSTATUS ReadOnlyApprovedKey(HKEY* key) {
  return RegOpenKeyExA(HKEY_LOCAL_MACHINE, shellext::kApprovedKey, 0, KEY_QUERY_VALUE, key);
}

class ShellExtApproval : public ::testing::Test {
 protected:
  void SetUp() override {
    shellext::SetModuleInstance(GetModuleHandleA(nullptr));
    ASSERT_EQ(shellext::UnregisterServer(GetModuleHandleA(nullptr)), S_OK);
  }
  void TearDown() override {
    shellext::SetApprovedKeyOpener(nullptr);
    shellext::UnregisterServer(GetModuleHandleA(nullptr));
  }

  static void ExpectNothingRegistered() {
    for (const auto& entry : kRegistryEntries) {
      if (entry.mark == KeyMark::NoRemove) continue;
      EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, entry.key)) << entry.key;
    }
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, std::string("TypeLib\\") + shellext::kLibidText));
    EXPECT_FALSE(ReadRegistryValue(HKEY_LOCAL_MACHINE, shellext::kApprovedKey, shellext::kClsidText));
  }
};

TEST_F(ShellExtApproval, ApprovedKeyThatCannotBeOpenedForWritingRegistersNothing) {
  shellext::SetApprovedKeyOpener(&RefuseApprovedKey);
  EXPECT_EQ(shellext::RegisterServer(GetModuleHandleA(nullptr)), E_ACCESSDENIED);
  ExpectNothingRegistered();
}

TEST_F(ShellExtApproval, ApprovalValueThatCannotBeSetRegistersNothing) {
  shellext::SetApprovedKeyOpener(&ReadOnlyApprovedKey);
  EXPECT_EQ(shellext::RegisterServer(GetModuleHandleA(nullptr)), E_ACCESSDENIED);
  ExpectNothingRegistered();
}

TEST_F(ShellExtApproval, RemovalGoesOnWhenTheApprovalCannotBeRemoved) {
  ASSERT_EQ(shellext::RegisterServer(GetModuleHandleA(nullptr)), S_OK);
  ASSERT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, std::string("CLSID\\") + shellext::kClsidText));
  shellext::SetApprovedKeyOpener(&RefuseApprovedKey);
  EXPECT_EQ(shellext::UnregisterServer(GetModuleHandleA(nullptr)), S_OK);
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, std::string("CLSID\\") + shellext::kClsidText));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, std::string("TypeLib\\") + shellext::kLibidText));
  // The value stays behind; the real opener removes it.
  EXPECT_TRUE(ReadRegistryValue(HKEY_LOCAL_MACHINE, shellext::kApprovedKey, shellext::kClsidText));
  shellext::SetApprovedKeyOpener(nullptr);
  EXPECT_EQ(shellext::UnregisterServer(GetModuleHandleA(nullptr)), S_OK);
  ExpectNothingRegistered();
}

}  // namespace
