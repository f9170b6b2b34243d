#include "winframe/app.h"

#include <string>

#include "common/paths.h"
#include "winframe/module.h"
#include "winframe/prompt.h"

namespace wf {

App* App::current_ = nullptr;

App::App(HINSTANCE instance) : instance_(instance) {
  current_ = this;
  std::wstring name = paths::NameOf(ModulePath().value_or(L""));
  const std::size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos && dot > 0) name.resize(dot);
  name_ = name;
}

App::~App() {
  if (current_ == this) current_ = nullptr;
}

int App::GetProfileInt(const wchar_t* section, const wchar_t* key, int defaultValue) const {
  if (profilePath_.empty()) return defaultValue;
  return static_cast<int>(GetPrivateProfileIntW(section, key, defaultValue, profilePath_.c_str()));
}

bool App::WriteProfileInt(const wchar_t* section, const wchar_t* key, int value) const {
  if (profilePath_.empty()) return false;
  return WritePrivateProfileStringW(section, key, std::to_wstring(value).c_str(), profilePath_.c_str()) != FALSE;
}

int App::MessageBox(const std::wstring& text, UINT flags) const {
  return Prompt(mainWindow_, text, name_, flags);
}

}  // namespace wf
