#include "shredder/settings/option_checks.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using settings::OptionControls;
using settings::OptionField;
using settings::ToInteger;

OptionControls Controls(const std::string& passes, bool autoDel, const std::string& interval) {
  return OptionControls{passes, autoDel, interval, false, true};
}

TEST(ToInteger, ReadsLikeAtoi) {
  const struct {
    const char* text;
    int value;
  } cases[] = {
      {"50", 50},   {"7x", 7},   {"  \t\r\n\v\f12", 12}, {"+3", 3},     {"-1", -1}, {"", 0},
      {"abc", 0},   {"- 3", 0},  {"+-3", 0},            {"3 4", 3},    {"007", 7}, {"x7", 0},
      {"\x82\x54", 0},  // a full-width digit is no digit
  };
  for (const auto& c : cases) EXPECT_EQ(ToInteger(c.text), c.value) << '"' << c.text << '"';
}

TEST(ToInteger, HoldsAtTheLimitsInsteadOfWrapping) {
  EXPECT_EQ(ToInteger("2147483647"), INT_MAX);
  EXPECT_EQ(ToInteger("-2147483648"), INT_MIN);
  EXPECT_EQ(ToInteger("2147483648"), INT_MAX);
  EXPECT_EQ(ToInteger("99999999999"), INT_MAX);
  // 2^32 + 1 and 2^32 + 7 wrap to 1 and 7 in 32 bits: both in range.
  EXPECT_EQ(ToInteger("4294967297"), INT_MAX);
  EXPECT_EQ(ToInteger("4294967303"), INT_MAX);
  EXPECT_EQ(ToInteger("-4294967297"), INT_MIN);
  EXPECT_EQ(ToInteger(std::string(400, '9')), INT_MAX);
}

TEST(CheckOptions, PassCountOutsideOneToFiftyIsRefusedAndResetToThree) {
  for (const char* text : {"0", "-1", "", "abc", "51", "99999999999", "4294967297", " "}) {
    const settings::OptionsVerdict verdict = settings::CheckOptions(Controls(text, false, "30"));
    EXPECT_EQ(verdict.refused, OptionField::PassCount) << '"' << text << '"';
    EXPECT_EQ(verdict.resetText, "3");
    EXPECT_EQ(verdict.message, "上書き回数には 1 回以上 50 以下の整数を入力してください)");
  }
  for (const char* text : {"1", "50", "7x", " 12"}) {
    EXPECT_EQ(settings::CheckOptions(Controls(text, false, "30")).refused, OptionField::None) << text;
  }
  EXPECT_EQ(settings::CheckOptions(Controls("7x", false, "30")).values.overWriteTimes, 7);
}

TEST(CheckOptions, ShortIntervalIsRefusedOnlyWhileAutomaticEraseIsOn) {
  const settings::OptionsVerdict off = settings::CheckOptions(Controls("3", false, "5"));
  EXPECT_EQ(off.refused, OptionField::None);
  EXPECT_EQ(off.values.autoDelTimer, 5);
  EXPECT_EQ(off.values.autoDel, 0);

  for (const char* text : {"5", "29", "", "abc", "-30"}) {
    const settings::OptionsVerdict on = settings::CheckOptions(Controls("3", true, text));
    EXPECT_EQ(on.refused, OptionField::Interval) << '"' << text << '"';
    EXPECT_EQ(on.resetText, "30");
    EXPECT_EQ(on.message, "自動抹消タイマには 30 分以上の値を入力してください");
  }
  for (const char* text : {"30", "1000", "99999999999"}) {
    EXPECT_EQ(settings::CheckOptions(Controls("3", true, text)).refused, OptionField::None) << text;
  }
  EXPECT_EQ(settings::CheckOptions(Controls("3", true, "99999999999")).values.autoDelTimer, INT_MAX);
}

TEST(CheckOptions, PassCountIsCheckedBeforeTheInterval) {
  EXPECT_EQ(settings::CheckOptions(Controls("0", true, "5")).refused, OptionField::PassCount);
}

TEST(OptionValues, BoxesShowOnlyExactlyOneAndSaveAsOneOrZero) {
  const OptionControls shown = settings::ShowOptions({0, 2, -5, 1, 2});
  EXPECT_EQ(shown.passText, "0");
  EXPECT_FALSE(shown.autoDel);
  EXPECT_EQ(shown.intervalText, "-5");
  EXPECT_TRUE(shown.delOnQuit);
  EXPECT_FALSE(shown.delOnQuitMsg);

  const settings::OptionValues stored{12, 1, 60, 0, 1};
  const settings::OptionsVerdict again = settings::CheckOptions(settings::ShowOptions(stored));
  ASSERT_EQ(again.refused, OptionField::None);
  EXPECT_EQ(again.values.overWriteTimes, 12);
  EXPECT_EQ(again.values.autoDel, 1);
  EXPECT_EQ(again.values.autoDelTimer, 60);
  EXPECT_EQ(again.values.delOnQuit, 0);
  EXPECT_EQ(again.values.delOnQuitMsg, 1);
}

TEST(OptionValues, WrittenInOrderUnderTheWritersNames) {
  const auto writes = settings::OptionWrites({12, 1, 60, 0, 1});
  const char* keys[] = {"OverWriteTimes", "AutoDel", "AutoDelTimer", "DelOnQuit", "DelOnQuitMsg"};
  const int values[] = {12, 1, 60, 0, 1};
  for (std::size_t i = 0; i < writes.size(); ++i) {
    EXPECT_STREQ(writes[i].key, keys[i]);  // exactly: not the "DelOnQUit" the dialog reads
    EXPECT_EQ(writes[i].value, values[i]);
  }
}

TEST(OptionLists, OneToFiftyAndThirtyToSevenHundredTwentyUnsorted) {
  const std::vector<std::string> passes = settings::PassCountEntries();
  ASSERT_EQ(passes.size(), 50u);
  for (std::size_t i = 0; i < passes.size(); ++i) EXPECT_EQ(passes[i], std::to_string(i + 1));
  const std::vector<std::string> intervals = settings::IntervalEntries();
  ASSERT_EQ(intervals.size(), 24u);
  for (std::size_t i = 0; i < intervals.size(); ++i) EXPECT_EQ(intervals[i], std::to_string(30 * (i + 1)));
}

}  // namespace
