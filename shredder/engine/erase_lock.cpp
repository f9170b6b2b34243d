#include "shredder/engine/erase_lock.h"

#include "shredder/captions.h"
#include "shredder/engine/engine_texts.h"
#include "winframe/prompt.h"

namespace engine {

EraseLock::EraseLock() : mutex_(CreateMutexW(nullptr, FALSE, texts::kEraseMutexName)) {
  if (!mutex_) return;
  // Abandoned by an erase that ended without letting go: free now.
  const DWORD waited = WaitForSingleObject(mutex_.Get(), 0);
  held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

EraseLock::~EraseLock() {
  if (held_) ReleaseMutex(mutex_.Get());
}

bool ErasesAlone(const WorkContext& work, const EraseLock& lock, bool interactive) {
  if (lock.Held()) return true;
  if (interactive) wf::Prompt(work.owner, texts::kAnotherEraseRuns, captions::kInfo, captions::kInfoFlags);
  return false;
}

}  // namespace engine
