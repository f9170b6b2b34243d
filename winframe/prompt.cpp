#include "winframe/prompt.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace wf {
namespace {

int ShowMessageBox(const PromptRequest& request) {
  return MessageBoxW(request.owner, request.text.c_str(), request.caption.c_str(), request.flags);
}

PromptHandler g_handler = ShowMessageBox;
thread_local std::vector<PromptRequest>* t_held = nullptr;
std::vector<PromptWatcher*> g_watchers;

// Each watcher still there when its turn comes: one may go while another is
// told (a window destroyed before the box).
void Tell(const PromptRequest& request, void (PromptWatcher::*event)(const PromptRequest&)) {
  const std::vector<PromptWatcher*> watchers = g_watchers;
  for (PromptWatcher* watcher : watchers) {
    if (std::find(g_watchers.begin(), g_watchers.end(), watcher) != g_watchers.end()) (watcher->*event)(request);
  }
}

}  // namespace

int Prompt(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags) {
  // A worker's box waits for the window thread, and so do the watchers:
  // they are told when it is shown there.
  if (t_held) {
    t_held->push_back(PromptRequest{owner, text, caption, flags});
    return IDOK;
  }
  const PromptRequest request{owner, text, caption, flags};
  Tell(request, &PromptWatcher::BeforeBox);
  const int answer = g_handler(request);
  Tell(request, &PromptWatcher::AfterBox);
  return answer;
}

bool TellsFailure(const PromptRequest& request) {
  const UINT icon = request.flags & MB_ICONMASK;
  return icon == MB_ICONWARNING || icon == MB_ICONERROR;
}

void AddPromptWatcher(PromptWatcher* watcher) {
  g_watchers.push_back(watcher);
}

void RemovePromptWatcher(PromptWatcher* watcher) {
  g_watchers.erase(std::remove(g_watchers.begin(), g_watchers.end(), watcher), g_watchers.end());
}

PromptHandler SetPromptHandler(PromptHandler handler) {
  PromptHandler previous = g_handler;
  g_handler = handler ? handler : ShowMessageBox;
  return previous;
}

HeldPrompts::HeldPrompts(std::vector<PromptRequest>& held) : previous_(std::exchange(t_held, &held)) {}

HeldPrompts::~HeldPrompts() {
  t_held = previous_;
}

}  // namespace wf
