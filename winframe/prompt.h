// The one seam through which every message box of the program goes. The real
// handler calls MessageBoxW; Windows-side tests install a scripted one that
// records what was shown and answers for the user.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wf {

struct PromptRequest {
  HWND owner;
  std::wstring text;
  std::wstring caption;
  UINT flags;
};

using PromptHandler = int (*)(const PromptRequest& request);

// Shows a message box and returns the button pressed (IDOK, IDYES, IDNO, ...).
int Prompt(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags);

// Installs `handler` (nullptr restores MessageBoxW); returns the previous one.
PromptHandler SetPromptHandler(PromptHandler handler);

// While one lives, the boxes its thread asks for are kept in `held`, in
// order, instead of shown: a worker thread owns no window, and the thread
// that does shows them in their turn. Each is answered IDOK, so only boxes
// that tell, never ones that ask, may come where one is in force.
class HeldPrompts {
 public:
  explicit HeldPrompts(std::vector<PromptRequest>& held);
  ~HeldPrompts();
  HeldPrompts(const HeldPrompts&) = delete;
  HeldPrompts& operator=(const HeldPrompts&) = delete;

 private:
  std::vector<PromptRequest>* previous_;
};

// Whether the box tells of a failure (its icon is the warning or the error).
bool TellsFailure(const PromptRequest& request);

// Told of every box before it is shown and after it is answered, whoever
// answers it: the window of a run shows a failure beside the box that tells it.
class PromptWatcher {
 public:
  virtual void BeforeBox(const PromptRequest& request) = 0;
  virtual void AfterBox(const PromptRequest& request) = 0;

 protected:
  ~PromptWatcher() = default;
};

void AddPromptWatcher(PromptWatcher* watcher);
void RemovePromptWatcher(PromptWatcher* watcher);

}  // namespace wf
