#include "shredder/engine/erase_lock.h"

#include <atomic>
#include <system_error>

#include "shredder/engine/engine_texts.h"
#include "winframe/handles.h"

namespace engine {

struct EraseLock::Shared {
  wf::UniqueHandle settled{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  wf::UniqueHandle leave{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::atomic<State> state{State::Waiting};

  void Settle(State reached) {
    state.store(reached);
    SetEvent(settled.Get());
  }
};

// The holder thread: takes the mutex (or leaves the queue when told to),
// then holds it until told to give it back. The system releases a mutex
// whose thread ended without giving it back: the next taker sees it
// abandoned, which is how a crashed erase shows.
void EraseLock::Hold(Shared& shared, bool wait) {
  wf::UniqueHandle mutex(CreateMutexW(nullptr, FALSE, texts::kEraseMutexName));
  if (!mutex) return shared.Settle(EraseLock::State::Unavailable);
  // A request dropped while both are signalled leaves: the leave event comes first.
  const HANDLE objects[] = {shared.leave.Get(), mutex.Get()};
  const DWORD woke = WaitForMultipleObjects(2, objects, FALSE, wait ? INFINITE : 0);
  if (woke == WAIT_OBJECT_0 + 1 || woke == WAIT_ABANDONED_0 + 1) {
    shared.Settle(woke == WAIT_ABANDONED_0 + 1 ? EraseLock::State::HeldAfterCrash : EraseLock::State::Held);
    WaitForSingleObject(shared.leave.Get(), INFINITE);
    ReleaseMutex(mutex.Get());
    return;
  }
  shared.Settle(woke == WAIT_TIMEOUT ? EraseLock::State::Taken : EraseLock::State::Unavailable);
}

EraseLock EraseLock::Request(bool wait) {
  EraseLock lock;
  lock.shared_ = std::make_unique<Shared>();
  Shared& shared = *lock.shared_;
  if (!shared.settled || !shared.leave) {
    shared.state.store(State::Unavailable);
    if (shared.settled) SetEvent(shared.settled.Get());
    return lock;
  }
  try {
    lock.holder_ = std::thread(Hold, std::ref(shared), wait);
  } catch (const std::system_error&) {
    shared.Settle(State::Unavailable);
  }
  return lock;
}

EraseLock::EraseLock() = default;

EraseLock::EraseLock(EraseLock&& other) noexcept = default;

EraseLock& EraseLock::operator=(EraseLock&& other) noexcept {
  if (this != &other) {
    Release();
    shared_ = std::move(other.shared_);
    holder_ = std::move(other.holder_);
  }
  return *this;
}

EraseLock::~EraseLock() {
  Release();
}

EraseLock::State EraseLock::Current() const {
  return shared_ ? shared_->state.load() : State::Unavailable;
}

HANDLE EraseLock::Settled() const {
  return shared_ ? shared_->settled.Get() : nullptr;
}

void EraseLock::Release() {
  if (!shared_) return;
  SetEvent(shared_->leave.Get());
  if (holder_.joinable()) holder_.join();
  shared_.reset();
}

}  // namespace engine
