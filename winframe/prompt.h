// The one seam through which every message box of the program goes. The real
// handler calls MessageBoxW; Windows-side tests install a scripted one that
// records what was shown and answers for the user.
#pragma once

#include <windows.h>

#include <string>

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

}  // namespace wf
