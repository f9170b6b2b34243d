// The one seam through which every message box of the program goes. The real
// handler calls MessageBoxA; Windows-side tests install a scripted one that
// records what was shown and answers for the user.
#pragma once

#include <windows.h>

#include <string>

namespace wf {

struct PromptRequest {
  HWND owner;
  std::string text;     // code page 932
  std::string caption;  // code page 932
  UINT flags;
};

using PromptHandler = int (*)(const PromptRequest& request);

// Shows a message box and returns the button pressed (IDOK, IDYES, IDNO, ...).
int Prompt(HWND owner, const std::string& text, const std::string& caption, UINT flags);

// Installs `handler` (nullptr restores MessageBoxA); returns the previous one.
PromptHandler SetPromptHandler(PromptHandler handler);

}  // namespace wf
