#include "shredder/settings/option_checks.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using settings::OptionControls;
using settings::OptionField;
using settings::ToInteger;

OptionControls Controls(const std::wstring& passes, bool autoDel, const std::wstring& interval) {
  return OptionControls{passes, autoDel, interval, false, true};
}

TEST(ToInteger, ReadsLikeAtoi) {
  const struct {
    const wchar_t* text;
    int value;
  } cases[] = {
      {L"50", 50}, {L"7x", 7},  {L"  \t\r\n\v\f12", 12},
      {L"+3", 3},  {L"-1", -1}, {L"", 0},
      {L"abc", 0}, {L"- 3", 0}, {L"+-3", 0},
      {L"3 4", 3}, {L"007", 7}, {L"x7", 0},
      {L"５", 0},  // a full-width digit is no digit
  };
  for (const auto& c : cases) EXPECT_EQ(ToInteger(c.text), c.value) << '"' << c.text << '"';
}

TEST(ToInteger, HoldsAtTheLimitsInsteadOfWrapping) {
  EXPECT_EQ(ToInteger(L"2147483647"), INT_MAX);
  EXPECT_EQ(ToInteger(L"-2147483648"), INT_MIN);
  EXPECT_EQ(ToInteger(L"2147483648"), INT_MAX);
  EXPECT_EQ(ToInteger(L"99999999999"), INT_MAX);
  // 2^32 + 1 and 2^32 + 7 wrap to 1 and 7 in 32 bits: both in range.
  EXPECT_EQ(ToInteger(L"4294967297"), INT_MAX);
  EXPECT_EQ(ToInteger(L"4294967303"), INT_MAX);
  EXPECT_EQ(ToInteger(L"-4294967297"), INT_MIN);
  EXPECT_EQ(ToInteger(std::wstring(400, L'9')), INT_MAX);
}

// A hand-edited file: what does not read as a plain number in range counts
// as the default, so that no text can switch overwriting off.
TEST(StoredOptions, APassCountThatIsNotAWholeNumberFromOneToFiftyCountsAsThree) {
  const struct {
    const wchar_t* text;
    int counts;
  } cases[] = {
      {L"1", 1},  {L"50", 50}, {L"007", 7}, {L" 3", 3},   {L"12\t", 12},      {L"0", 3},  {L"-1", 3},
      {L"-5", 3}, {L"51", 3},  {L"abc", 3}, {L"", 3},     {L" ", 3},          {L"３", 3}, {L"1e3", 3},
      {L"5x", 3}, {L"+5", 3},  {L"5 5", 3}, {L"0x10", 3}, {L"4294967297", 3},
  };
  for (const auto& c : cases) {
    const settings::OptionValues values = settings::StoredOptions(
        [&](const wchar_t* key) -> std::wstring { return key == std::wstring(L"OverWriteTimes") ? c.text : L""; });
    EXPECT_EQ(values.overWriteTimes, c.counts) << '"' << c.text << '"';
  }
  // Digits past any int neither wrap nor end the reading early.
  EXPECT_EQ(settings::StoredOption(std::wstring(30, L'9'), 1, 50, 3), 3);
  EXPECT_EQ(settings::StoredOption(std::wstring(40, L'0') + L"9", 1, 50, 3), 9);
}

TEST(StoredOptions, SwitchesAreZeroOrOneAndTheIntervalAnyPositiveNumber) {
  const struct {
    const wchar_t* autoDel;
    const wchar_t* interval;
    const wchar_t* delOnQuit;
    const wchar_t* delOnQuitMsg;
    settings::OptionValues counts;
  } cases[] = {
      {L"1", L"5", L"1", L"0", {3, 1, 5, 1, 0}},
      {L"0", L"2147483647", L"0", L"1", {3, 0, INT_MAX, 0, 1}},
      // Junk never arms the timer, never erases at the exit, never skips its question.
      {L"1x", L"1e3", L"1x", L"0x", {3, 0, 30, 0, 1}},
      {L"2", L"0", L"2", L"2", {3, 0, 30, 0, 1}},
      {L"-1", L"-30", L"", L"", {3, 0, 30, 0, 1}},
      {L"", L"2147483648", L"true", L"no", {3, 0, 30, 0, 1}},
  };
  for (const auto& c : cases) {
    const settings::OptionValues values = settings::StoredOptions([&](const wchar_t* key) -> std::wstring {
      const std::wstring name = key;
      if (name == L"AutoDel") return c.autoDel;
      if (name == L"AutoDelTimer") return c.interval;
      if (name == L"DelOnQuit") return c.delOnQuit;
      if (name == L"DelOnQuitMsg") return c.delOnQuitMsg;
      return L"";
    });
    SCOPED_TRACE(c.interval);
    EXPECT_EQ(values.autoDel, c.counts.autoDel);
    EXPECT_EQ(values.autoDelTimer, c.counts.autoDelTimer);
    EXPECT_EQ(values.delOnQuit, c.counts.delOnQuit);
    EXPECT_EQ(values.delOnQuitMsg, c.counts.delOnQuitMsg);
  }
}

TEST(CheckOptions, PassCountOutsideOneToFiftyIsRefusedAndResetToThree) {
  for (const wchar_t* text : {L"0", L"-1", L"", L"abc", L"51", L"99999999999", L"4294967297", L" "}) {
    const settings::OptionsVerdict verdict = settings::CheckOptions(Controls(text, false, L"30"));
    EXPECT_EQ(verdict.refused, OptionField::PassCount) << '"' << text << '"';
    EXPECT_EQ(verdict.resetText, L"3");
    EXPECT_EQ(verdict.message, L"上書き回数には 1 回以上 50 以下の整数を入力してください)");
  }
  for (const wchar_t* text : {L"1", L"50", L"7x", L" 12"}) {
    EXPECT_EQ(settings::CheckOptions(Controls(text, false, L"30")).refused, OptionField::None) << text;
  }
  EXPECT_EQ(settings::CheckOptions(Controls(L"7x", false, L"30")).values.overWriteTimes, 7);
}

TEST(CheckOptions, ShortIntervalIsRefusedOnlyWhileAutomaticEraseIsOn) {
  const settings::OptionsVerdict off = settings::CheckOptions(Controls(L"3", false, L"5"));
  EXPECT_EQ(off.refused, OptionField::None);
  EXPECT_EQ(off.values.autoDelTimer, 5);
  EXPECT_EQ(off.values.autoDel, 0);

  for (const wchar_t* text : {L"5", L"29", L"", L"abc", L"-30"}) {
    const settings::OptionsVerdict on = settings::CheckOptions(Controls(L"3", true, text));
    EXPECT_EQ(on.refused, OptionField::Interval) << '"' << text << '"';
    EXPECT_EQ(on.resetText, L"30");
    EXPECT_EQ(on.message, L"自動抹消タイマには 30 分以上の値を入力してください");
  }
  for (const wchar_t* text : {L"30", L"1000", L"99999999999"}) {
    EXPECT_EQ(settings::CheckOptions(Controls(L"3", true, text)).refused, OptionField::None) << text;
  }
  EXPECT_EQ(settings::CheckOptions(Controls(L"3", true, L"99999999999")).values.autoDelTimer, INT_MAX);
}

TEST(CheckOptions, PassCountIsCheckedBeforeTheInterval) {
  EXPECT_EQ(settings::CheckOptions(Controls(L"0", true, L"5")).refused, OptionField::PassCount);
}

TEST(OptionValues, BoxesShowOnlyExactlyOneAndSaveAsOneOrZero) {
  const OptionControls shown = settings::ShowOptions({0, 2, -5, 1, 2});
  EXPECT_EQ(shown.passText, L"0");
  EXPECT_FALSE(shown.autoDel);
  EXPECT_EQ(shown.intervalText, L"-5");
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
  const wchar_t* keys[] = {L"OverWriteTimes", L"AutoDel", L"AutoDelTimer", L"DelOnQuit", L"DelOnQuitMsg"};
  const int values[] = {12, 1, 60, 0, 1};
  for (std::size_t i = 0; i < writes.size(); ++i) {
    EXPECT_STREQ(writes[i].key, keys[i]);  // exactly: not the "DelOnQUit" the dialog reads
    EXPECT_EQ(writes[i].value, values[i]);
  }
}

TEST(OptionLists, OneToFiftyAndThirtyToSevenHundredTwentyUnsorted) {
  const std::vector<std::wstring> passes = settings::PassCountEntries();
  ASSERT_EQ(passes.size(), 50u);
  for (std::size_t i = 0; i < passes.size(); ++i) EXPECT_EQ(passes[i], std::to_wstring(i + 1));
  const std::vector<std::wstring> intervals = settings::IntervalEntries();
  ASSERT_EQ(intervals.size(), 24u);
  for (std::size_t i = 0; i < intervals.size(); ++i) EXPECT_EQ(intervals[i], std::to_wstring(30 * (i + 1)));
}

}  // namespace
