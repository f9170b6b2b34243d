// What the options dialog shows for the stored settings, and what it accepts
// and saves when it is confirmed.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "shredder/settings/settings_keys.h"

namespace settings {

inline constexpr int kMinPasses = 1;
inline constexpr int kMaxPasses = 50;
inline constexpr int kMinInterval = 30;
inline constexpr int kIntervalStep = 30;
inline constexpr int kMaxListedInterval = 720;

// The five option settings as integers, as stored in OPTION.INI.
struct OptionValues {
  int overWriteTimes = kDefaultOverWriteTimes;
  int autoDel = kDefaultAutoDel;
  int autoDelTimer = kDefaultAutoDelTimer;
  int delOnQuit = kDefaultDelOnQuit;
  int delOnQuitMsg = kDefaultDelOnQuitMsg;
};

// The state of the dialog's controls that carry those settings.
struct OptionControls {
  std::wstring passText;
  bool autoDel = false;
  std::wstring intervalText;
  bool delOnQuit = false;
  bool delOnQuitMsg = false;
};

enum class OptionField { None, PassCount, Interval };

struct OptionsVerdict {
  OptionField refused = OptionField::None;
  std::wstring message;    // shown when refused
  std::wstring resetText;  // the refused box's new text
  OptionValues values;     // to be saved when accepted
};

// The value a stored option counts as: its text, blanks around it aside,
// nothing but decimal digits and within [min, max]; anything else (empty, a
// sign, full-width digits, "1e3", "3x", a number out of range) counts as
// `defaultValue`. A hand-edited file cannot switch overwriting off, nor make
// junk mean something the dialog never offers.
int StoredOption(std::wstring_view text, int min, int max, int defaultValue);

// The five options as they count, from their texts in the file (`read` gives
// a key's text, empty when the key is absent).
OptionValues StoredOptions(const std::function<std::wstring(const wchar_t* key)>& read);

// Text to integer the way the C runtime's atoi reads it (leading white space,
// one sign, digits up to the first other character, 0 without digits), but
// a number too large for an int is held at the int's limit instead of
// wrapping, so it can never come back into range.
int ToInteger(std::wstring_view text);

// The entries of the pass-count list ("1" to "50") and the interval list
// ("30" to "720" in steps of 30), in the order they are added.
std::vector<std::wstring> PassCountEntries();
std::vector<std::wstring> IntervalEntries();

// Boxes are checked only for exactly 1; numbers are shown as decimal text.
OptionControls ShowOptions(const OptionValues& stored);

// The checks of the OK button: the pass count first, then the interval,
// which is checked only while automatic erase is on and has no upper bound.
OptionsVerdict CheckOptions(const OptionControls& controls);

// The writes of an accepted dialog, in their order, under the writers' names.
std::array<Setting, 5> OptionWrites(const OptionValues& values);

// The pass-count message with the upper limit filled in.
std::wstring PassCountMessage();

}  // namespace settings
