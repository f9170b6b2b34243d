// The automatic erase timer, decided from the two settings that drive it.
#pragma once

namespace app {

struct AutoEraseTimer {
  enum class Action { Arm, Stop, Leave };
  Action action = Action::Leave;
  unsigned periodMs = 0;  // for Arm
};

// AutoDel exactly 1 arms the timer, exactly 0 stops it, anything else leaves
// it as it is. The interval is in minutes, as the options dialog labels it;
// the period is held within what the platform's timer accepts. An interval of
// zero or below counts as 30 minutes.
AutoEraseTimer DecideAutoEraseTimer(int autoDel, int intervalMinutes);

}  // namespace app
