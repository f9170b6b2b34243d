#include "shredder/settings/settings_store.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <utility>

#include "shredder/settings/settings_keys.h"
#include "tests/support/temp_folder.h"
#include "winframe/app.h"

namespace {

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { app_.SetProfilePath(ini_); }

  TempFolder folder_;
  std::wstring ini_ = folder_ / L"OPTION.INI";
  wf::App app_{GetModuleHandleA(nullptr)};
};

TEST_F(SettingsStoreTest, FirstStartWritesExactlyTheFiveOptionKeysInOrder) {
  settings::WriteFirstStartSettings(ini_);
  EXPECT_EQ(ReadWholeFile(ini_),
            "[ProgramData]\r\nOverWriteTimes=3\r\nAutoDel=0\r\nAutoDelTimer=30\r\nDelOnQuit=0\r\nDelOnQuitMsg=1\r\n");
}

TEST_F(SettingsStoreTest, AnExistingFileIsNeverWrittenToWhateverItLacks) {
  const std::string content = "; hand-made\r\n[ProgramData]\r\nAutoDel=2\r\n";
  WriteWholeFile(ini_, content);
  settings::WriteFirstStartSettings(ini_);
  EXPECT_EQ(ReadWholeFile(ini_), content);
  // The readers' defaults cover what is missing; values are not corrected.
  EXPECT_EQ(settings::ReadInt(settings::kOverWriteTimes, 3), 3);
  EXPECT_EQ(settings::ReadInt(settings::kAutoDel, 0), 2);
}

TEST_F(SettingsStoreTest, KeysMatchWithoutRegardToCaseAndNegativeValuesSurvive) {
  WriteWholeFile(ini_, "[ProgramData]\r\nDelOnQuit=1\r\nOverWriteTimes=-4\r\n");
  EXPECT_EQ(settings::ReadInt(L"DelOnQUit", 0), 1);
  EXPECT_EQ(settings::ReadInt(settings::kOverWriteTimes, 3), -4);
  settings::WriteInt(settings::kDlgLeft, -120);
  EXPECT_EQ(settings::ReadInt(settings::kDlgLeft, 0), -120);
}

TEST_F(SettingsStoreTest, OptionsAreReadWholeHoweverLongAndWhatCannotBeReadWholeCountsAsTheDefault) {
  // Past the first buffer of the reading, a cut would be another number.
  WriteWholeFile(ini_, "[ProgramData]\r\nOverWriteTimes=" + std::string(300, '0') +
                           "7\r\nDelOnQuitMsg=" + std::string(3 << 20, '0') + "1\r\n");
  const settings::OptionValues options = settings::ReadOptions();
  EXPECT_EQ(options.overWriteTimes, 7);
  EXPECT_EQ(options.delOnQuitMsg, 1) << "a cut \"0\" would skip the question";
}

TEST_F(SettingsStoreTest, ADrivesSpeedIsKeptByItsSerialToTheKilobyte) {
  const std::pair<std::uint64_t, std::uint64_t> speeds[] = {
      {123456789, 123456000},  // kept to the kilobyte
      {999, 0},                // under a kilobyte a second: none kept
      {std::uint64_t{1} << 50, std::uint64_t{INT_MAX} * 1000},
  };
  for (const auto& [written, read] : speeds) {
    settings::WriteFreeSpaceSpeed(0xA1B2C3D4, written);
    EXPECT_EQ(settings::ReadFreeSpaceSpeed(0xA1B2C3D4), read) << written;
    EXPECT_EQ(settings::ReadFreeSpaceSpeed(0x00000001), 0u) << "another volume's";
    DeleteFileW(ini_.c_str());
  }
  WriteWholeFile(ini_, "[ProgramData]\r\nFreeSpaceSpeed_a1b2c3d4=-5\r\n");
  EXPECT_EQ(settings::ReadFreeSpaceSpeed(0xA1B2C3D4), 0u);
}

TEST(SettingsWithoutProfile, ReadsGiveTheDefaultAndWritesTouchNothing) {
  wf::App app(GetModuleHandleA(nullptr));
  EXPECT_EQ(settings::ReadInt(settings::kAutoDelTimer, 30), 30);
  settings::WriteInt(settings::kAutoDelTimer, 99);  // would land in WIN.INI if it were passed on
  EXPECT_EQ(GetProfileIntW(settings::kSection, settings::kAutoDelTimer, -1), -1);
}

}  // namespace
