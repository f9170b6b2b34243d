// The one-erase lock and an erase's turn under Wine: requests served in the
// order they came, a crashed holder's lock taken as free, the waiting window
// and its stop, the timer's erase that does not wait, and what the turn asks
// of the session while it writes (recorded through the seams). Another
// process's erase is played by another thread: the lock is held by a thread
// of its own either way.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "shredder/engine/erase_lock.h"
#include "shredder/engine/erase_turn.h"
#include "tests/windows/support/other_erase.h"
#include "tests/windows/support/system_calls.h"
#include "winframe/handles.h"

namespace {

using State = engine::EraseLock::State;
using Calls = std::vector<std::wstring>;

constexpr wchar_t kMutexName[] = L"Local\\MORVANE Shredder erase";
constexpr wchar_t kReason[] = L"ファイルを抹消しています。終わるまでお待ちください。";

State Settled(const engine::EraseLock& lock) {
  EXPECT_EQ(WaitForSingleObject(lock.Settled(), 5000), WAIT_OBJECT_0);
  return lock.Current();
}

// Erases asked while one holds the lock go in the order they asked (Wine's
// queue keeps it; a request that left and joined the queue again, as a
// waiting loop on the window thread would, loses its place). A lock whose
// holder ended without giving it back is taken as free, and says so once.
TEST(EraseLock, RequestsAreServedInTurnAndACrashedHoldersLockIsFree) {
  engine::EraseLock first = engine::EraseLock::Request(true);
  ASSERT_EQ(Settled(first), State::Held);
  EXPECT_EQ(Settled(engine::EraseLock::Request(false)), State::Taken);
  engine::EraseLock second = engine::EraseLock::Request(true);
  Sleep(100);
  engine::EraseLock third = engine::EraseLock::Request(true);
  Sleep(100);
  EXPECT_EQ(second.Current(), State::Waiting);
  first.Release();
  EXPECT_EQ(Settled(second), State::Held);
  Sleep(100);
  EXPECT_EQ(third.Current(), State::Waiting);
  second.Release();
  EXPECT_EQ(Settled(third), State::Held);
  third.Release();

  HANDLE crashedHolders = nullptr;  // kept open, or the mutex would go with its holder
  std::thread crash([&crashedHolders] {
    crashedHolders = CreateMutexW(nullptr, FALSE, kMutexName);
    WaitForSingleObject(crashedHolders, 0);
  });
  crash.join();
  int tidied = 0;
  engine::WorkContext work;
  work.tidyAfterCrash = [&tidied] { ++tidied; };
  {
    engine::EraseTurn turn(work, engine::EraseKind::Files, engine::WhenTaken::Skip);
    EXPECT_TRUE(turn.Taken());
    EXPECT_FALSE(turn.Waited());
  }
  EXPECT_EQ(tidied, 1);
  EXPECT_EQ(Settled(engine::EraseLock::Request(false)), State::Held);
  CloseHandle(crashedHolders);
}

// While another erase writes, an erase waits in a window that names it, with
// its taskbar button paused; it goes on by itself once the other is done, and
// asks the session for what it needs while it writes, and only then.
TEST(EraseTurn, AnEraseWaitsInAWindowNamingTheWriterAndGoesOnByItself) {
  HWND window = CreateWindowExW(0, L"STATIC", L"owner", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(window);
  OtherErase other(engine::EraseKind::FreeSpace);
  SystemCalls calls;
  std::wstring shown;
  std::thread watcher = OnWaitingWindow([&](HWND waiting) {
    if (waiting) shown = WaitingWindowText(waiting);
    other.Release();
  });
  engine::BusyFlag busy;
  engine::WorkContext work;
  work.owner = window;
  work.busy = &busy;
  engine::EraseTurn turn(work, engine::EraseKind::Files, engine::WhenTaken::Wait);
  watcher.join();
  EXPECT_TRUE(turn.Taken());
  EXPECT_TRUE(turn.Waited());
  EXPECT_TRUE(busy.IsWriting());
  EXPECT_EQ(shown, L"ほかの抹消処理 (空き領域の抹消) が終わるのを待っています...\n終わりしだい、抹消を始めます。");
  EXPECT_FALSE(FindWindowW(L"#32770", L"待機中...")) << "the window goes once the wait is over";
  // The other erase lets the system sleep again before this one goes on.
  const Calls whileWriting{L"taskbar paused 1/1", L"may sleep", L"taskbar none", std::wstring(L"block: ") + kReason,
                           L"awake"};
  EXPECT_EQ(calls.Log(), whileWriting);
  turn.End();
  EXPECT_FALSE(busy.IsWriting());
  Calls all = whileWriting;
  all.insert(all.end(), {L"may sleep", L"allow"});
  EXPECT_EQ(calls.Log(), all);
  EXPECT_EQ(calls.ShutdownWindows(), std::vector<HWND>(2, window));
  DestroyWindow(window);
}

// The timer's erase gives up at once and without a window; a wait given up
// with the stop button takes no turn. Neither asks anything of the session.
TEST(EraseTurn, TheTimersEraseDoesNotWaitAndAWaitCanBeGivenUp) {
  OtherErase other(engine::EraseKind::RecycleBin);
  SystemCalls calls;
  engine::WorkContext work;
  {
    engine::EraseTurn skipped(work, engine::EraseKind::RecycleBin, engine::WhenTaken::Skip);
    EXPECT_FALSE(skipped.Taken());
  }
  EXPECT_TRUE(calls.Log().empty());

  std::thread watcher = OnWaitingWindow([](HWND waiting) {
    if (waiting) PostMessageW(waiting, WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED), 0);
  });
  engine::EraseTurn stopped(work, engine::EraseKind::Files, engine::WhenTaken::Wait);
  watcher.join();
  EXPECT_FALSE(stopped.Taken());
  EXPECT_EQ(calls.Log(), (Calls{L"taskbar paused 1/1", L"taskbar none"}));
}

}  // namespace
