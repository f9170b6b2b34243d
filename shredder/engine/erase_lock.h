// One erase at a time for the user, whichever process runs it and whatever
// it erases: two side by side hold each other's files open and both tell
// untrue results. A named mutex in the session's namespace, held from the
// question to the result.
#pragma once

#include "shredder/engine/work_context.h"
#include "winframe/handles.h"

namespace engine {

class EraseLock {
 public:
  // Takes the lock when no other erase holds it.
  EraseLock();
  ~EraseLock();
  EraseLock(const EraseLock&) = delete;
  EraseLock& operator=(const EraseLock&) = delete;
  bool Held() const { return held_; }

 private:
  wf::UniqueHandle mutex_;
  bool held_ = false;
};

// Whether `lock` is held; when another erase has it, an interactive run
// says so to the user first, and a silent one ends without a word.
bool ErasesAlone(const WorkContext& work, const EraseLock& lock, bool interactive);

}  // namespace engine
