#include "winframe/prompt.h"

namespace wf {
namespace {

int ShowMessageBox(const PromptRequest& request) {
  return MessageBoxW(request.owner, request.text.c_str(), request.caption.c_str(), request.flags);
}

PromptHandler g_handler = ShowMessageBox;

}  // namespace

int Prompt(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags) {
  return g_handler(PromptRequest{owner, text, caption, flags});
}

PromptHandler SetPromptHandler(PromptHandler handler) {
  PromptHandler previous = g_handler;
  g_handler = handler ? handler : ShowMessageBox;
  return previous;
}

}  // namespace wf
