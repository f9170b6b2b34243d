// What an erase or a batch needs from whoever starts it: the window that owns
// its message boxes, the pass count, the seed, the progress window, the work
// folder, the guard against a second run and the signal to stop. The main window fills it in from
// the settings; tests fill it in directly.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

class CProgressDialog;

namespace engine {

inline constexpr int kDefaultPasses = 3;

// Fills the eight seed words of a file's generator.
using SeedSource = std::function<void(std::uint32_t (&words)[8])>;
// Called after pass `pass` (from 1) over `path` has reached the device.
using PassObserver = std::function<void(const std::wstring& path, int pass)>;
// Told how far (0..1) the passes are through the file being written.
using FileProgress = std::function<void(double fraction)>;

// Set while an erase or a batch runs. Their message boxes run nested message
// loops in which a button, the tray, a drop or the timer could otherwise
// start a second one.
class BusyFlag {
 public:
  bool IsBusy() const { return busy_; }
  // Only while it writes: not during its question, its wait or its result.
  bool IsWriting() const { return writing_; }

 private:
  friend class WorkGuard;
  friend class EraseTurn;
  bool busy_ = false;
  bool writing_ = false;
};

// Holds the flag for the length of one run; a run that does not get it is
// refused without a message. A null flag guards nothing.
class WorkGuard {
 public:
  explicit WorkGuard(BusyFlag* flag) : flag_(flag), acquired_(!flag || !flag->busy_) {
    if (flag_ && acquired_) flag_->busy_ = true;
  }
  ~WorkGuard() {
    if (flag_ && acquired_) flag_->busy_ = false;
  }
  WorkGuard(const WorkGuard&) = delete;
  WorkGuard& operator=(const WorkGuard&) = delete;
  bool Acquired() const { return acquired_; }

 private:
  BusyFlag* flag_;
  bool acquired_;
};

// Asked for by the progress window's stop button, or when Windows ends the
// session: the work ends after the piece it is writing, and touches nothing
// further.
class StopSignal {
 public:
  void Request() { requested_.store(true); }
  bool Requested() const { return requested_.load(); }
  void Reset() { requested_.store(false); }

 private:
  std::atomic<bool> requested_{false};
};

struct WorkContext {
  HWND owner = nullptr;                 // owner of every message box
  std::wstring appName;                 // caption of the application-level boxes
  int passes = kDefaultPasses;          // overwrite passes per file; the default when not positive
  SeedSource seed;                      // empty: fresh words for every file
  PassObserver afterPass;               // empty: nobody looks
  CProgressDialog* progress = nullptr;  // null: no progress window
  FileProgress withinFile;              // set on a worker thread: told there instead of `progress`
  std::wstring workFolder;              // where recycled files are removed; empty: in place
  BusyFlag* busy = nullptr;
  StopSignal* stop = nullptr;  // null: the work cannot be stopped
  // Takes away what an erase that died while writing may have left (a
  // free-space fill takes a drive's room); called before writing after one.
  std::function<void()> tidyAfterCrash;
};

inline bool StopRequested(const WorkContext& work) {
  return work.stop && work.stop->Requested();
}
// A run starts with no stop asked for: one asked for an earlier run is over.
inline void ClearStop(const WorkContext& work) {
  if (work.stop) work.stop->Reset();
}

}  // namespace engine
