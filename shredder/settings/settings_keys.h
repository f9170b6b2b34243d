// Keys of OPTION.INI. Every reader passes its own default; the first start
// writes the five option keys below, in this order.
#pragma once

#include <array>

namespace settings {

inline constexpr char kProfileFileName[] = "OPTION.INI";
inline constexpr char kSection[] = "ProgramData";

inline constexpr char kOverWriteTimes[] = "OverWriteTimes";
inline constexpr char kAutoDel[] = "AutoDel";
inline constexpr char kAutoDelTimer[] = "AutoDelTimer";
inline constexpr char kDelOnQuit[] = "DelOnQuit";
inline constexpr char kDelOnQuitMsg[] = "DelOnQuitMsg";
// The options dialog reads the close settings under these spellings; key
// names are matched without regard to case, so they name the same entries.
inline constexpr char kDelOnQuitAsRead[] = "DelOnQUit";
inline constexpr char kDelOnQuitMsgAsRead[] = "DelOnQUitMsg";

inline constexpr char kDlgLeft[] = "DlgLeft";
inline constexpr char kDlgTop[] = "DlgTop";
inline constexpr char kDlgWidth[] = "DlgWidth";
inline constexpr char kDlgHeight[] = "DlgHeight";

inline constexpr int kDefaultOverWriteTimes = 3;
inline constexpr int kDefaultAutoDel = 0;
inline constexpr int kDefaultAutoDelTimer = 30;
inline constexpr int kDefaultDelOnQuit = 0;
inline constexpr int kDefaultDelOnQuitMsg = 1;

struct Setting {
  const char* key;
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
