// Records how a batch drove the progress window, one line per call, with the
// bar's state read back from the control: "open", "range 0-3 at 0",
// "step to 1", "close". Installed on the dialog for its own lifetime.
#pragma once

#include <string>
#include <vector>

#include "shredder/engine/progress_dialog.h"

class ProgressRecorder : public CProgressDialog::Observer {
 public:
  explicit ProgressRecorder(CProgressDialog& dialog) : dialog_(dialog) { dialog_.SetObserver(this); }
  ~ProgressRecorder() override { dialog_.SetObserver(nullptr); }
  ProgressRecorder(const ProgressRecorder&) = delete;
  ProgressRecorder& operator=(const ProgressRecorder&) = delete;

  const std::vector<std::string>& Log() const { return log_; }
  void Clear() { log_.clear(); }

  void Opened(bool created) override { log_.push_back(created ? "open" : "open failed"); }
  void TotalSet(unsigned minimum, unsigned maximum, unsigned position) override {
    log_.push_back("range " + std::to_string(minimum) + "-" + std::to_string(maximum) + " at " +
                   std::to_string(position));
  }
  void Stepped(unsigned position) override { log_.push_back("step to " + std::to_string(position)); }
  void Closed() override { log_.push_back("close"); }

 private:
  CProgressDialog& dialog_;
  std::vector<std::string> log_;
};
