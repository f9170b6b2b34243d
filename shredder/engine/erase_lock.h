// One erase writes at a time for the user, whichever process runs it and
// whatever it erases: two side by side hold each other's files open and both
// tell untrue results. A named mutex in the session's namespace, held from
// the decision to write to the end of the writing; never during a question
// or a result, so that nobody is kept waiting while nothing is written.
//
// A thread of its own asks for the mutex and holds it: a mutex belongs to the
// thread that took it, and a thread that stays in the system's queue keeps
// its place there, so erases asked one after another go in that order. The
// caller's thread meanwhile serves its windows.
#pragma once

#include <windows.h>

#include <memory>
#include <thread>

namespace engine {

class EraseLock {
 public:
  enum class State {
    Waiting,         // in the queue behind another erase
    Held,            // ours
    HeldAfterCrash,  // ours; the erase before ended without giving it back
    Taken,           // another erase has it, and this request did not wait
    Unavailable,     // no lock: the system gave none, or none was asked for or it was given back
  };

  // Asks for the lock; with `wait`, stays in the queue until it comes or the
  // request is dropped, otherwise settles at once.
  static EraseLock Request(bool wait);

  EraseLock();
  EraseLock(EraseLock&& other) noexcept;
  EraseLock& operator=(EraseLock&& other) noexcept;
  // Gives the lock back, or leaves the queue.
  ~EraseLock();

  State Current() const;
  bool IsHeld() const { return Current() == State::Held || Current() == State::HeldAfterCrash; }
  // Signalled once the state is no longer Waiting; null for a lock never
  // asked for.
  HANDLE Settled() const;
  // Gives the lock back, or leaves the queue, at once.
  void Release();

 private:
  struct Shared;
  static void Hold(Shared& shared, bool wait);

  std::unique_ptr<Shared> shared_;
  std::thread holder_;
};

}  // namespace engine
