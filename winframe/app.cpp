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

std::wstring App::GetProfileString(const wchar_t* section, const wchar_t* key) const {
  if (profilePath_.empty()) return {};
  // A value that fills the buffer may have been cut: it is read again,
  // larger, and one past all reason counts as absent rather than as its cut.
  for (std::size_t size = 64; size <= (std::size_t{1} << 20); size *= 4) {
    std::wstring text(size, L'\0');
    const DWORD length =
        GetPrivateProfileStringW(section, key, L"", text.data(), static_cast<DWORD>(size), profilePath_.c_str());
    if (length + 1 < size) {
      text.resize(length);
      return text;
    }
  }
  return {};
}

bool App::WriteProfileInt(const wchar_t* section, const wchar_t* key, int value) const {
  if (profilePath_.empty()) return false;
  return WritePrivateProfileStringW(section, key, std::to_wstring(value).c_str(), profilePath_.c_str()) != FALSE;
}

int App::MessageBox(const std::wstring& text, UINT flags) const {
  return Prompt(mainWindow_, text, name_, flags);
}

}  // namespace wf
