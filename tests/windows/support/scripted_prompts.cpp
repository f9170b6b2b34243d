#include "tests/windows/support/scripted_prompts.h"

#include <gtest/gtest.h>

#include "winframe/system_error.h"

ScriptedPrompts* ScriptedPrompts::active_ = nullptr;

ScriptedPrompts::ScriptedPrompts() : previous_(wf::SetPromptHandler(&ScriptedPrompts::Handle)) {
  active_ = this;
}

ScriptedPrompts::~ScriptedPrompts() {
  wf::SetPromptHandler(previous_);
  active_ = nullptr;
}

void ScriptedPrompts::Answer(int button) {
  answers_.push_back(button);
}

std::vector<std::wstring> ScriptedPrompts::Texts() const {
  std::vector<std::wstring> texts;
  for (const wf::PromptRequest& request : shown_) texts.push_back(request.text);
  return texts;
}

int ScriptedPrompts::Handle(const wf::PromptRequest& request) {
  ScriptedPrompts* self = active_;
  self->shown_.push_back(request);
  if (!self->answers_.empty()) {
    const int answer = self->answers_.front();
    self->answers_.pop_front();
    return answer;
  }
  if ((request.flags & MB_TYPEMASK) == MB_OK) return IDOK;
  ADD_FAILURE() << "unanswered question: " << ::testing::PrintToString(request.text);
  return IDNO;
}

std::wstring Quoted(const std::wstring& path) {
  return L"\"" + path + L"\"";
}

std::wstring WithReason(const std::wstring& text, DWORD error) {
  const std::wstring reason = wf::SystemReason(error);
  EXPECT_FALSE(reason.empty()) << error;
  return text + L"\n" + reason;
}

std::wstring CannotOpen(const std::wstring& path) {
  return WithReason(L"ファイル " + Quoted(path) + L" が開けません", ERROR_SHARING_VIOLATION);
}
