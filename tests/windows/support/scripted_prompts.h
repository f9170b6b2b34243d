// Stands in for the user at the program's message boxes: records every box
// shown and answers with the buttons queued by the test.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "winframe/prompt.h"

class ScriptedPrompts {
 public:
  ScriptedPrompts();
  ~ScriptedPrompts();
  ScriptedPrompts(const ScriptedPrompts&) = delete;
  ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

  // Queues the answer to the next box. A box with an empty queue gets IDOK
  // when it has only an OK button; a question then fails the test (and is
  // answered IDNO, which declines).
  void Answer(int button);

  const std::vector<wf::PromptRequest>& Shown() const { return shown_; }
  std::vector<std::wstring> Texts() const;
  void Clear() { shown_.clear(); }

 private:
  static int Handle(const wf::PromptRequest& request);

  static ScriptedPrompts* active_;
  wf::PromptHandler previous_;
  std::deque<int> answers_;
  std::vector<wf::PromptRequest> shown_;
};

// A path as the boxes quote it.
std::wstring Quoted(const std::wstring& path);
// A failure as the boxes tell it: our sentence, then the system's own reason
// for `error` on a line of its own (which must have one).
std::wstring WithReason(const std::wstring& text, DWORD error);
// A file another program holds so that it cannot be opened for its wipe.
std::wstring CannotOpen(const std::wstring& path);
