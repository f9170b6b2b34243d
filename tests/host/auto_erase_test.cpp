#include "shredder/app/auto_erase.h"

#include <gtest/gtest.h>

namespace {

using app::AutoEraseTimer;
using app::DecideAutoEraseTimer;

TEST(AutoEraseTimer, TheIntervalIsInMinutesAsTheOptionsDialogSays) {
  EXPECT_EQ(DecideAutoEraseTimer(1, 30).periodMs, 1'800'000u);
  EXPECT_EQ(DecideAutoEraseTimer(1, 720).periodMs, 43'200'000u);
  EXPECT_EQ(DecideAutoEraseTimer(1, 30).action, AutoEraseTimer::Action::Arm);
}

TEST(AutoEraseTimer, OnlyExactlyOneArmsAndExactlyZeroStops) {
  EXPECT_EQ(DecideAutoEraseTimer(0, 30).action, AutoEraseTimer::Action::Stop);
  for (int other : {2, -1, 100}) {
    EXPECT_EQ(DecideAutoEraseTimer(other, 30).action, AutoEraseTimer::Action::Leave) << other;
  }
}

TEST(AutoEraseTimer, HandEditedIntervalsStayWithinWhatTheTimerAccepts) {
  EXPECT_EQ(DecideAutoEraseTimer(1, 2147483647).periodMs, 0x7FFFFFFFu);  // no wrap into a short period
  // Zero or below would empty the recycle bin without pause: 30 minutes, the
  // least the options dialog takes. Small positive values stay as they are.
  EXPECT_EQ(DecideAutoEraseTimer(1, 0).periodMs, 1'800'000u);
  EXPECT_EQ(DecideAutoEraseTimer(1, -5).periodMs, 1'800'000u);
  EXPECT_EQ(DecideAutoEraseTimer(1, 1).periodMs, 60'000u);
}

}  // namespace
