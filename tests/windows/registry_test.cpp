#include "shredder/settings/registry.h"

#include <gtest/gtest.h>

#include "tests/support/system_state.h"
#include "tests/windows/support/scripted_prompts.h"

namespace {

constexpr char kTestKey[] = "Software\\MorvaneShredderTests\\Registry";

class RegistryTest : public ::testing::Test {
 protected:
  void TearDown() override { DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\MorvaneShredderTests"); }
  ScriptedPrompts prompts_;
};

TEST_F(RegistryTest, WritesRegSzWithoutTerminatorAndCreatesTheKey) {
  const std::string path = "C:\\Program Files\\\x95\x5C\\binshredder.exe";  // 表: trail byte 0x5C
  settings::RegWriteString(nullptr, kTestKey, HKEY_CURRENT_USER, path, "Path");
  const auto value = ReadRegistryValue(HKEY_CURRENT_USER, kTestKey, "Path");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
  // The byte count given excludes the terminator; the platform appends one
  // itself when the byte after the text is zero, and nothing more.
  EXPECT_TRUE(value->bytes == path || value->bytes == path + '\0') << value->bytes.size();
  EXPECT_TRUE(prompts_.Shown().empty());
}

TEST_F(RegistryTest, DefaultValueAndEmptyText) {
  settings::RegWriteString(nullptr, kTestKey, HKEY_CURRENT_USER, "", nullptr);
  const auto value = ReadRegistryValue(HKEY_CURRENT_USER, kTestKey, nullptr);
  ASSERT_TRUE(value);
  EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(value->bytes.size(), 0u);
}

TEST_F(RegistryTest, FailureToCreateTheKeyIsReportedOnceAsInformation) {
  settings::RegWriteString(nullptr, kTestKey, reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234)), "x", "Path");
  ASSERT_EQ(prompts_.Shown().size(), 1u);
  EXPECT_EQ(prompts_.Shown()[0].text, "レジストリは作成できませんでした。");
  EXPECT_EQ(prompts_.Shown()[0].caption, "情報");
  EXPECT_EQ(prompts_.Shown()[0].flags, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_EQ(prompts_.Shown()[0].owner, nullptr);
}

TEST_F(RegistryTest, KeyExistsOnlyWhenItOpens) {
  EXPECT_FALSE(settings::RegKeyExists(nullptr, kTestKey, HKEY_CURRENT_USER));
  settings::RegWriteString(nullptr, kTestKey, HKEY_CURRENT_USER, "v", nullptr);
  EXPECT_TRUE(settings::RegKeyExists(nullptr, kTestKey, HKEY_CURRENT_USER));
  EXPECT_TRUE(prompts_.Shown().empty());
}

}  // namespace
