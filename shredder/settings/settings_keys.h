// Keys of OPTION.INI. Every reader passes its own default; the first start
// writes the five option keys below, in this order.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/text_format.h"

namespace settings {

inline constexpr wchar_t kProfileFileName[] = L"OPTION.INI";
inline constexpr wchar_t kSection[] = L"ProgramData";

inline constexpr wchar_t kOverWriteTimes[] = L"OverWriteTimes";
inline constexpr wchar_t kAutoDel[] = L"AutoDel";
inline constexpr wchar_t kAutoDelTimer[] = L"AutoDelTimer";
inline constexpr wchar_t kDelOnQuit[] = L"DelOnQuit";
inline constexpr wchar_t kDelOnQuitMsg[] = L"DelOnQuitMsg";

inline constexpr wchar_t kDlgLeft[] = L"DlgLeft";
inline constexpr wchar_t kDlgTop[] = L"DlgTop";
inline constexpr wchar_t kDlgWidth[] = L"DlgWidth";
inline constexpr wchar_t kDlgHeight[] = L"DlgHeight";

// The speed of the last free-space erase of a volume, in kilobytes (1,000
// bytes) per second, under "FreeSpaceSpeed_" and the volume's serial number
// in eight hexadecimal digits. Written after an erase, never at the first start.
inline std::wstring FreeSpaceSpeedKey(std::uint32_t volumeSerial) {
  return L"FreeSpaceSpeed_" + text::EightHexDigits(volumeSerial);
}

inline constexpr int kDefaultOverWriteTimes = 3;
inline constexpr int kDefaultAutoDel = 0;
inline constexpr int kDefaultAutoDelTimer = 30;
inline constexpr int kDefaultDelOnQuit = 0;
inline constexpr int kDefaultDelOnQuitMsg = 1;

struct Setting {
  const wchar_t* key;
  int value;
};

// Written in this order when OPTION.INI does not exist yet.
inline constexpr std::array<Setting, 5> kFirstStartSettings{{
    {kOverWriteTimes, kDefaultOverWriteTimes},
    {kAutoDel, kDefaultAutoDel},
    {kAutoDelTimer, kDefaultAutoDelTimer},
    {kDelOnQuit, kDefaultDelOnQuit},
    {kDelOnQuitMsg, kDefaultDelOnQuitMsg},
}};

}  // namespace settings
