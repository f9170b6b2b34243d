// Another erase for the tests of waiting: one that holds its turn on a thread
// of its own (as another process would: the lock is held by a thread of its
// own either way), and a watcher that acts on this process's waiting window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

#include "shredder/engine/erase_turn.h"
#include "winframe/handles.h"

class OtherErase {
 public:
  // Returns once the other erase holds its turn.
  explicit OtherErase(engine::EraseKind kind) {
    thread_ = std::thread([this, kind] {
      engine::WorkContext work;
      engine::EraseTurn turn(work, kind, engine::WhenTaken::Wait);
      SetEvent(taken_.Get());
      WaitForSingleObject(release_.Get(), INFINITE);
    });
    WaitForSingleObject(taken_.Get(), 5000);
  }
  ~OtherErase() { Release(); }
  OtherErase(const OtherErase&) = delete;
  OtherErase& operator=(const OtherErase&) = delete;

  // The other erase is done; callable from any thread, once.
  void Release() {
    SetEvent(release_.Get());
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
  }

 private:
  wf::UniqueHandle taken_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  wf::UniqueHandle release_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::thread thread_;
};

// Runs `act` on a thread of its own with the waiting window once it shows,
// or with null when none shows within five seconds.
inline std::thread OnWaitingWindow(std::function<void(HWND)> act) {
  return std::thread([act] {
    for (int i = 0; i < 250; ++i, Sleep(20)) {
      if (HWND window = FindWindowW(L"#32770", L"待機中..."); window && IsWindowVisible(window)) return act(window);
    }
    act(nullptr);
  });
}

inline std::wstring WaitingWindowText(HWND window) {
  wchar_t text[256] = {};
  GetDlgItemTextW(window, 1035, text, static_cast<int>(std::size(text)));
  return text;
}
