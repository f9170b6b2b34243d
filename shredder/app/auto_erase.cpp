#include "shredder/app/auto_erase.h"

namespace app {
namespace {

// USER_TIMER_MINIMUM and USER_TIMER_MAXIMUM of the platform.
constexpr long long kShortestPeriodMs = 0xA;
constexpr long long kLongestPeriodMs = 0x7FFFFFFF;
constexpr long long kMillisecondsPerMinute = 60000;
// The shortest interval the options dialog accepts while the erase is on.
constexpr int kShortestAcceptedMinutes = 30;

}  // namespace

AutoEraseTimer DecideAutoEraseTimer(int autoDel, int intervalMinutes) {
  if (autoDel == 0) return {AutoEraseTimer::Action::Stop, 0};
  if (autoDel != 1) return {AutoEraseTimer::Action::Leave, 0};
  // A hand-edited zero or negative interval would empty the recycle bin
  // continuously; it gets the shortest interval the dialog would have taken.
  if (intervalMinutes <= 0) intervalMinutes = kShortestAcceptedMinutes;
  long long period = static_cast<long long>(intervalMinutes) * kMillisecondsPerMinute;
  if (period < kShortestPeriodMs) period = kShortestPeriodMs;
  if (period > kLongestPeriodMs) period = kLongestPeriodMs;
  return {AutoEraseTimer::Action::Arm, static_cast<unsigned>(period)};
}

}  // namespace app
