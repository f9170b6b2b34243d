#include "shredder/settings/option_checks.h"

#include <algorithm>
#include <limits>

#include "common/text_format.h"
#include "shredder/settings/settings_texts.h"

namespace settings {
namespace {

bool IsBlank(wchar_t c) {
  return c == L' ' || (c >= L'\t' && c <= L'\r');
}
bool IsDigit(wchar_t c) {
  return c >= L'0' && c <= L'9';
}

std::vector<std::wstring> NumberList(int first, int last, int step) {
  std::vector<std::wstring> entries;
  for (int value = first; value <= last; value += step) entries.push_back(std::to_wstring(value));
  return entries;
}

}  // namespace

int ToInteger(std::wstring_view text) {
  std::size_t at = 0;
  while (at < text.size() && IsBlank(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == L'+' || text[at] == L'-')) {
    negative = text[at] == L'-';
    ++at;
  }
  // Accumulated as a magnitude one past INT_MAX at most, which is exactly
  // INT_MIN's; more digits no longer change the result.
  constexpr long long kLimit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
  long long magnitude = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at) {
    if (magnitude < kLimit) magnitude = magnitude * 10 + (text[at] - L'0');
  }
  if (magnitude > kLimit) magnitude = kLimit;
  if (negative) return static_cast<int>(-magnitude);
  return magnitude == kLimit ? std::numeric_limits<int>::max() : static_cast<int>(magnitude);
}

int StoredOption(std::wstring_view text, int min, int max, int defaultValue) {
  const auto notBlank = [](wchar_t c) { return c != L' ' && c != L'\t'; };
  const auto first = std::find_if(text.begin(), text.end(), notBlank);
  const auto last = std::find_if(text.rbegin(), text.rend(), notBlank).base();
  if (first >= last) return defaultValue;
  long long value = 0;
  for (auto at = first; at != last; ++at) {
    if (!IsDigit(*at)) return defaultValue;
    value = value * 10 + (*at - L'0');
    if (value > max) return defaultValue;  // also keeps a long run of digits from overflowing
  }
  return value < min ? defaultValue : static_cast<int>(value);
}

OptionValues StoredOptions(const std::function<std::wstring(const wchar_t* key)>& read) {
  constexpr int kMaxInt = std::numeric_limits<int>::max();
  // The interval has no upper bound in the dialog either; zero would erase
  // the recycle bin without pause.
  return OptionValues{
      StoredOption(read(kOverWriteTimes), kMinPasses, kMaxPasses, kDefaultOverWriteTimes),
      StoredOption(read(kAutoDel), 0, 1, kDefaultAutoDel),
      StoredOption(read(kAutoDelTimer), 1, kMaxInt, kDefaultAutoDelTimer),
      StoredOption(read(kDelOnQuit), 0, 1, kDefaultDelOnQuit),
      StoredOption(read(kDelOnQuitMsg), 0, 1, kDefaultDelOnQuitMsg),
  };
}

std::vector<std::wstring> PassCountEntries() {
  return NumberList(kMinPasses, kMaxPasses, 1);
}

std::vector<std::wstring> IntervalEntries() {
  return NumberList(kMinInterval, kMaxListedInterval, kIntervalStep);
}

OptionControls ShowOptions(const OptionValues& stored) {
  return OptionControls{std::to_wstring(stored.overWriteTimes), stored.autoDel == 1,
                        std::to_wstring(stored.autoDelTimer), stored.delOnQuit == 1, stored.delOnQuitMsg == 1};
}

OptionsVerdict CheckOptions(const OptionControls& controls) {
  OptionsVerdict verdict;
  verdict.values =
      OptionValues{ToInteger(controls.passText), controls.autoDel ? 1 : 0, ToInteger(controls.intervalText),
                   controls.delOnQuit ? 1 : 0, controls.delOnQuitMsg ? 1 : 0};
  if (verdict.values.overWriteTimes < kMinPasses || verdict.values.overWriteTimes > kMaxPasses) {
    verdict.refused = OptionField::PassCount;
    verdict.message = PassCountMessage();
    verdict.resetText = std::to_wstring(kDefaultOverWriteTimes);
  } else if (controls.autoDel && verdict.values.autoDelTimer < kMinInterval) {
    verdict.refused = OptionField::Interval;
    verdict.message = texts::kIntervalTooShort;
    verdict.resetText = std::to_wstring(kDefaultAutoDelTimer);
  }
  return verdict;
}

std::array<Setting, 5> OptionWrites(const OptionValues& values) {
  return {{
      {kOverWriteTimes, values.overWriteTimes},
      {kAutoDel, values.autoDel},
      {kAutoDelTimer, values.autoDelTimer},
      {kDelOnQuit, values.delOnQuit},
      {kDelOnQuitMsg, values.delOnQuitMsg},
  }};
}

std::wstring PassCountMessage() {
  return text::FormatCount(texts::kPassCountFormat, kMaxPasses);
}

}  // namespace settings
