#include "winframe/worker_thread.h"

#include <utility>

#include "winframe/drives.h"
#include "winframe/message_pump.h"

namespace wf {

WorkerThread::~WorkerThread() {
  if (thread_) WaitForSingleObject(thread_.Get(), INFINITE);
}

DWORD WorkerThread::Start(std::function<void()> work) {
  work_ = std::move(work);
  thread_.Reset(CreateThread(nullptr, 0, &WorkerThread::Main, this, 0, nullptr));
  return thread_ ? NO_ERROR : GetLastError();
}

void WorkerThread::Join() {
  if (!thread_) return;
  WaitForSingleObject(thread_.Get(), INFINITE);
  thread_.Reset();
  if (thrown_) std::rethrow_exception(std::exchange(thrown_, nullptr));
}

DWORD WINAPI WorkerThread::Main(void* self) {
  auto* worker = static_cast<WorkerThread*>(self);
  QuietDriveErrors quiet;
  try {
    worker->work_();
  } catch (...) {
    worker->thrown_ = std::current_exception();
  }
  return 0;
}

DWORD WhileServing(const std::function<void()>& work, const std::function<void()>& tick, DWORD tickMs, HANDLE wake) {
  WorkerThread worker;
  if (const DWORD error = worker.Start(work); error != NO_ERROR) return error;
  {
    MessagePump pump;
    const HANDLE objects[] = {worker.Handle(), wake};
    while (pump.WaitAny(objects, wake ? 2 : 1, tickMs) != 0) {
      if (tick) tick();
    }
  }
  worker.Join();
  return NO_ERROR;
}

}  // namespace wf
