#include "shredder/engine/ordered_workers.h"

#include "shredder/engine/pass_writer.h"
#include "shredder/engine/progress_dialog.h"
#include "winframe/drives.h"

namespace engine {
namespace {

// Jobs under way (given and not yet finished) per worker: the walk may run
// ahead of a large file at the front while the other workers take the small
// ones behind it. Each holds a path and a few words, no handle.
constexpr std::size_t kUnderWayPerWorker = 64;
// The windows are served, and the bar moved, at least this often.
constexpr DWORD kServeEveryMs = 50;

}  // namespace

OrderedWorkers::OrderedWorkers(const WorkContext& work, unsigned workers)
    : work_(work),
      mostUnderWay_(kUnderWayPerWorker * workers),
      doneEvent_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
  if (!doneEvent_) return;
  try {
    for (unsigned i = 0; i < workers; ++i) threads_.emplace_back([this] { Work(); });
  } catch (...) {
    // Those that started are enough; none, and the giver wipes on its own.
  }
}

OrderedWorkers::~OrderedWorkers() {
  FinishAll();
  {
    const std::lock_guard lock(mutex_);
    closing_ = true;
  }
  given_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

void OrderedWorkers::Add(Job job, Finish finish) {
  auto entry = std::make_unique<Entry>();
  Entry* const given = entry.get();
  entry->finish = std::move(finish);
  entry->job = std::move(job);
  entry->done = !entry->job;
  order_.push_back(std::move(entry));
  if (given->job) {
    {
      const std::lock_guard lock(mutex_);
      waiting_.push_back(given);
    }
    given_.notify_one();
  }
  FinishDone();
  if (order_.size() < mostUnderWay_) return;
  wf::MessagePump pump;
  while (order_.size() >= mostUnderWay_) WaitForOne(pump);
}

void OrderedWorkers::FinishAll() {
  FinishDone();
  if (order_.empty()) return;
  wf::MessagePump pump;
  while (!order_.empty()) WaitForOne(pump);
}

void OrderedWorkers::WaitForOne(wf::MessagePump& pump) {
  pump.Wait(doneEvent_.Get(), kServeEveryMs);
  FinishDone();
  if (!work_.progress) return;
  // What every worker has written of its file moves the bar on within the
  // next item (the dialog never moves it back, nor past that item's end).
  double written = 0;
  for (const std::unique_ptr<Entry>& entry : order_) written += entry->within.load();
  work_.progress->ShowWithinItem(written);
}

void OrderedWorkers::FinishDone() {
  while (!order_.empty()) {
    {
      const std::lock_guard lock(mutex_);
      if (!order_.front()->done) return;
    }
    const std::unique_ptr<Entry> entry = std::move(order_.front());
    order_.pop_front();
    for (const wf::PromptRequest& box : entry->held) wf::Prompt(box.owner, box.text, box.caption, box.flags);
    if (entry->finish) entry->finish();
    // A slow file at the front lets many behind it be done at once: their
    // finishes (each moves the bar) are a long run, and the windows must
    // not wait for its end.
    ServeMessages();
  }
}

void OrderedWorkers::Work() {
  // A card pulled out mid-write fails the write here; it raises no box.
  const wf::QuietDriveErrors quiet;
  // The window thread comes first: with a worker on every core it would
  // otherwise wait for a time slice to answer its windows.
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
  Entry* current = nullptr;
  WorkContext mine = work_;
  mine.progress = nullptr;
  mine.withinFile = [&current](double fraction) { current->within.store(fraction); };
  if (work_.afterPass) {
    mine.afterPass = [this](const std::wstring& path, int pass) {
      const std::lock_guard lock(observing_);
      work_.afterPass(path, pass);
    };
  }
  for (;;) {
    {
      std::unique_lock lock(mutex_);
      given_.wait(lock, [this] { return closing_ || !waiting_.empty(); });
      if (waiting_.empty()) return;
      current = waiting_.front();
      waiting_.pop_front();
    }
    if (!StopRequested(work_)) {
      const wf::HeldPrompts held(current->held);
      current->job(mine);
    }
    {
      const std::lock_guard lock(mutex_);
      current->done = true;
    }
    SetEvent(doneEvent_.Get());
  }
}

}  // namespace engine
