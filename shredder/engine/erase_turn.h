// One erase's turn to write. Taken when the writing is decided on (after the
// user's Yes; for the timer's or the exit's erase, when it starts), given
// back before the result is told: the one-erase lock, and for as long as the
// erase writes, a reason for Windows to show instead of ending the session
// and the system kept from sleeping. All of it goes back together by End or
// when the turn goes, however the erase ends.
#pragma once

#include <optional>

#include "shredder/engine/erase_kind.h"
#include "shredder/engine/erase_lock.h"
#include "shredder/engine/work_context.h"
#include "winframe/handles.h"
#include "winframe/session_guards.h"

namespace engine {

// What an erase does when another one writes: wait for it in the waiting
// window (what the user asked for, now), or give up without a word (the
// timer's, which tries again at its next tick).
enum class WhenTaken { Wait, Skip };

class EraseTurn {
 public:
  // Asks for the turn of an erase of `kind`: at once when no other erase
  // writes; otherwise as `whenTaken` says. The waiting window's stop button
  // or a stop asked through `work` gives the wait up.
  EraseTurn(const WorkContext& work, EraseKind kind, WhenTaken whenTaken);
  ~EraseTurn();
  EraseTurn(const EraseTurn&) = delete;
  EraseTurn& operator=(const EraseTurn&) = delete;

  // Whether the erase may write. Also when the system gave no lock at all:
  // refusing would then refuse every erase for good.
  bool Taken() const { return taken_; }
  // Whether another erase wrote first: what was counted before the wait may
  // have changed since.
  bool Waited() const { return waited_; }
  // The writing is over: everything goes back before the result is told.
  void End();

 private:
  bool AwaitLock(const WorkContext& work);

  EraseLock lock_;
  BusyFlag* busy_;
  bool taken_ = false;
  bool waited_ = false;
  wf::UniqueHandle recordMapping_;
  wf::MappedView record_;
  std::optional<wf::ShutdownReason> shutdownReason_;
  std::optional<wf::SystemAwake> awake_;
};

}  // namespace engine
