#include "winframe/app.h"

#include <string>

#include "common/paths.h"
#include "winframe/module.h"
#include "winframe/prompt.h"

namespace wf {

App* App::current_ = nullptr;

App::App(HINSTANCE instance) : instance_(instance) {
  current_ = this;
  std::string name = paths::NameOf(ModulePath().value_or(""));
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  name_ = name;
}

App::~App() {
  if (current_ == this) current_ = nullptr;
}

int App::GetProfileInt(const char* section, const char* key, int defaultValue) const {
  if (profilePath_.empty()) return defaultValue;
  return static_cast<int>(GetPrivateProfileIntA(section, key, defaultValue, profilePath_.c_str()));
}

bool App::WriteProfileInt(const char* section, const char* key, int value) const {
  if (profilePath_.empty()) return false;
  return WritePrivateProfileStringA(section, key, std::to_string(value).c_str(), profilePath_.c_str()) != FALSE;
}

int App::MessageBox(const std::string& text, UINT flags) const { return Prompt(mainWindow_, text, name_, flags); }

}  // namespace wf
