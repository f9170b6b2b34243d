#include "shredder/app/command_line.h"

#include "common/program_contract.h"

namespace app {

std::wstring CommandTail(std::wstring_view raw) {
  std::size_t i = 0;
  if (!raw.empty() && raw[0] == L'"') {
    const std::size_t close = raw.find(L'"', 1);
    i = close == std::wstring_view::npos ? raw.size() : close + 1;
  } else {
    while (i < raw.size() && raw[i] > L' ') ++i;
  }
  while (i < raw.size() && raw[i] != L'\0' && raw[i] <= L' ') ++i;
  return std::wstring(raw.substr(i));
}

Route RouteCommandLine(std::wstring_view tail, std::wstring_view raw, std::wstring_view modulePath) {
  using contract::kHandOffSwitch;
  using contract::kRecycleBinSwitch;
  if (!tail.empty() && tail != kRecycleBinSwitch && tail != kHandOffSwitch) {
    return Route{RunMode::CommandLineFiles, std::wstring(tail)};
  }
  // The quoted module path and one blank precede the switch.
  const std::size_t skip = modulePath.size() + 3;
  const std::wstring_view rest = skip < raw.size() ? raw.substr(skip, 2) : std::wstring_view();
  if (rest == kRecycleBinSwitch) return Route{RunMode::RecycleBin, {}};
  if (rest == kHandOffSwitch) return Route{RunMode::HandOff, {}};
  return Route{RunMode::Windowed, {}};
}

}  // namespace app
