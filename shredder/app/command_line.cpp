#include "shredder/app/command_line.h"

#include <iterator>

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

namespace {

// The drive root of a tail that is exactly -F "X:\" (X an ASCII letter, given
// back in capitals); empty for any other tail.
std::wstring FreeSpaceRoot(std::wstring_view tail) {
  constexpr std::size_t kLetter = std::size(contract::kFreeSpaceSwitch) - 1 + 2;  // after -F, the blank and the quote
  if (tail.size() <= kLetter) return {};
  std::wstring root = std::wstring(1, tail[kLetter]) + L":\\";
  if (tail != contract::FreeSpaceArguments(root)) return {};
  root[0] &= ~static_cast<wchar_t>(0x20);
  return root[0] >= L'A' && root[0] <= L'Z' ? root : std::wstring();
}

}  // namespace

Route RouteCommandLine(std::wstring_view tail, std::wstring_view raw, std::wstring_view modulePath) {
  using contract::kCleanUpSwitch;
  using contract::kHandOffSwitch;
  using contract::kRecycleBinSwitch;
  // The quoted module path and one blank precede the switch.
  const std::size_t skip = modulePath.size() + 3;
  if (const std::wstring root = FreeSpaceRoot(tail); !root.empty()) {
    if (skip < raw.size() && raw.substr(skip) == tail) return Route{RunMode::FreeSpace, {}, root};
    return Route{RunMode::CommandLineFiles, std::wstring(tail), {}};
  }
  if (!tail.empty() && tail != kRecycleBinSwitch && tail != kHandOffSwitch && tail != kCleanUpSwitch) {
    return Route{RunMode::CommandLineFiles, std::wstring(tail), {}};
  }
  const std::wstring_view rest = skip < raw.size() ? raw.substr(skip, 2) : std::wstring_view();
  if (rest == kRecycleBinSwitch) return Route{RunMode::RecycleBin, {}, {}};
  if (rest == kHandOffSwitch) return Route{RunMode::HandOff, {}, {}};
  if (rest == kCleanUpSwitch) return Route{RunMode::CleanUp, {}, {}};
  return Route{RunMode::Windowed, {}, {}};
}

}  // namespace app
