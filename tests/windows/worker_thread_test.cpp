// Work off the window thread: the worker runs elsewhere with the quiet drive
// errors while the calling thread answers its windows, is woken for its
// tick, and gets back what the work threw.
#include "winframe/worker_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

#include "winframe/handles.h"

namespace {

TEST(WhileServing, TheWorkRunsQuietlyElsewhereWhileTheWindowsAnswerAndTheWakeTicksAtOnce) {
  const HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_TRUE(window);
  wf::UniqueHandle wake(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  wf::UniqueHandle answered(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  const DWORD caller = GetCurrentThreadId();
  DWORD workThread = 0;
  UINT workErrorMode = 0;
  std::atomic<int> ticks{0};
  const DWORD started = GetTickCount();
  DWORD tickedAfterWake = 0;
  const DWORD error = wf::WhileServing(
      [&] {
        workThread = GetCurrentThreadId();
        workErrorMode = GetThreadErrorMode();
        // Answered only while the calling thread serves its messages.
        DWORD_PTR result = 0;
        if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &result)) SetEvent(answered.Get());
        SetEvent(wake.Get());
        while (ticks.load() == 0) Sleep(1);
      },
      [&] {
        if (ticks++ == 0) tickedAfterWake = GetTickCount() - started;
      },
      60000, wake.Get());
  EXPECT_EQ(error, static_cast<DWORD>(NO_ERROR));
  EXPECT_NE(workThread, caller);
  EXPECT_EQ(workErrorMode & (SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX),
            static_cast<UINT>(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX));
  EXPECT_EQ(WaitForSingleObject(answered.Get(), 0), WAIT_OBJECT_0) << "the window did not answer";
  EXPECT_LT(tickedAfterWake, 10000u) << "the tick waited for its time, not for the wake";
  DestroyWindow(window);
}

TEST(WhileServing, WhatTheWorkThrewIsThrownHereOnceItsThreadHasEnded) {
  std::atomic<bool> ended{false};
  EXPECT_THROW(wf::WhileServing([&] {
                 ended = true;
                 throw std::runtime_error("the disk went away");
               }),
               std::runtime_error);
  EXPECT_TRUE(ended);
}

}  // namespace
