#include "winframe/prompt.h"

#include <utility>

namespace wf {
namespace {

int ShowMessageBox(const PromptRequest& request) {
  return MessageBoxW(request.owner, request.text.c_str(), request.caption.c_str(), request.flags);
}

PromptHandler g_handler = ShowMessageBox;
thread_local std::vector<PromptRequest>* t_held = nullptr;

}  // namespace

int Prompt(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags) {
  if (t_held) {
    t_held->push_back(PromptRequest{owner, text, caption, flags});
    return IDOK;
  }
  return g_handler(PromptRequest{owner, text, caption, flags});
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
