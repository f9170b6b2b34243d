#include "shredder/settings/registry.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/support/system_state.h"
#include "tests/windows/support/scripted_prompts.h"

namespace {

constexpr wchar_t kTestKey[] = L"Software\\MorvaneShredderTests\\Registry";

// A REG_SZ value in UTF-16, exactly as stored.
std::optional<std::wstring> ReadText(const wchar_t* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  std::optional<std::wstring> text;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ) {
    text.emplace(size / sizeof(wchar_t), L'\0');
    RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text->data()), &size);
  }
  RegCloseKey(key);
  return text;
}

class RegistryTest : public ::testing::Test {
 protected:
  void TearDown() override { DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\MorvaneShredderTests"); }
  ScriptedPrompts prompts_;
};

TEST_F(RegistryTest, WritesRegSzInUtf16WithoutTerminatorAndCreatesTheKey) {
  const std::wstring path = L"C:\\Program Files\\表 café \U0001F600\\binshredder.exe";
  settings::RegWriteString(nullptr, kTestKey, HKEY_CURRENT_USER, path, L"Path");
  // The byte count given excludes the terminator; the platform may append
  // one itself, and nothing more.
  const std::optional<std::wstring> value = ReadText(L"Path");
  ASSERT_TRUE(value);
  EXPECT_TRUE(*value == path || *value == path + L'\0') << value->size();
  EXPECT_TRUE(prompts_.Shown().empty());
}

TEST_F(RegistryTest, DefaultValueAndEmptyText) {
  settings::RegWriteString(nullptr, kTestKey, HKEY_CURRENT_USER, L"", nullptr);
  const std::optional<std::wstring> value = ReadText(nullptr);
  ASSERT_TRUE(value);
  EXPECT_TRUE(value->empty());
}

TEST_F(RegistryTest, FailureToCreateTheKeyIsReportedOnceAsInformationWithTheSystemsReason) {
  settings::RegWriteString(nullptr, kTestKey, reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234)), L"x", L"Path");
  ASSERT_EQ(prompts_.Shown().size(), 1u);
  EXPECT_EQ(prompts_.Shown()[0].text, WithReason(L"レジストリは作成できませんでした。", ERROR_INVALID_HANDLE));
  EXPECT_EQ(prompts_.Shown()[0].caption, L"情報");
  EXPECT_EQ(prompts_.Shown()[0].flags, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_EQ(prompts_.Shown()[0].owner, nullptr);
}

TEST_F(RegistryTest, KeyExistsOnlyWhenItOpens) {
  EXPECT_FALSE(settings::RegKeyExists(nullptr, kTestKey, HKEY_CURRENT_USER));
  settings::RegWriteString(nullptr, kTestKey, HKEY_CURRENT_USER, L"v", nullptr);
  EXPECT_TRUE(settings::RegKeyExists(nullptr, kTestKey, HKEY_CURRENT_USER));
  EXPECT_TRUE(prompts_.Shown().empty());
}

}  // namespace
