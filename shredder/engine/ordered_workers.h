// Files wiped side by side. Each job runs on a worker thread, which wipes
// its file with a stream and handles of its own; it is then finished on the
// thread that gave it, the one that owns the windows, in the order the jobs
// were given. What the user is told and what is counted therefore come as a
// run of one file after another would tell and count them: the boxes a job
// asks for are held and shown just before its finish. A stop ends every job
// after the piece it is writing, and no job starts after it.
#pragma once

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "shredder/engine/work_context.h"
#include "winframe/handles.h"
#include "winframe/message_pump.h"
#include "winframe/prompt.h"

namespace engine {

class OrderedWorkers {
 public:
  // Runs on a worker with the giver's context as a worker may use it: no
  // progress window (the giver's thread moves it), the pass observer called
  // by one worker at a time.
  using Job = std::function<void(const WorkContext& work)>;
  using Finish = std::function<void()>;

  // Starts up to `workers` threads for jobs given with `work`, which must
  // outlive this object.
  OrderedWorkers(const WorkContext& work, unsigned workers);
  // Finishes whatever was given, then lets the threads go.
  ~OrderedWorkers();
  OrderedWorkers(const OrderedWorkers&) = delete;
  OrderedWorkers& operator=(const OrderedWorkers&) = delete;

  // The threads that could be had; none means nothing can be given.
  std::size_t Started() const { return threads_.size(); }

  // Hands `job` to the next free worker. `finish` is called on this thread
  // once the job and every one given before it are finished; a job that a
  // stop kept from starting is finished all the same, never having run.
  // While many are under way this waits, serving this thread's windows.
  void Add(Job job, Finish finish);
  // `finish` alone, in its turn: what the giver tells or counts between jobs.
  void Then(Finish finish) { Add(nullptr, std::move(finish)); }
  // Waits, serving this thread's windows, until every job given is finished.
  void FinishAll();

 private:
  struct Entry {
    Job job;
    Finish finish;
    std::vector<wf::PromptRequest> held;  // the boxes the job asked for
    std::atomic<double> within{0};        // how far its passes are through its file
    bool done = false;                    // under mutex_
  };

  void Work();
  // Finishes the jobs at the front that are done, in order.
  void FinishDone();
  void WaitForOne(wf::MessagePump& pump);

  const WorkContext& work_;
  std::size_t mostUnderWay_;
  std::deque<std::unique_ptr<Entry>> order_;  // this thread's only
  std::mutex mutex_;
  std::condition_variable given_;
  std::deque<Entry*> waiting_;  // given, not yet taken
  bool closing_ = false;
  wf::UniqueHandle doneEvent_;  // a job is done
  std::mutex observing_;
  std::vector<std::thread> threads_;
};

}  // namespace engine
