#include "shredder/app/command_line.h"

#include "common/cp932.h"
#include "common/program_contract.h"

namespace app {

std::string CommandTail(std::string_view raw) {
  std::size_t i = 0;
  if (!raw.empty() && raw[0] == '"') {
    for (i = 1; i < raw.size(); ++i) {
      if (cp932::IsLeadByte(static_cast<unsigned char>(raw[i])) && i + 1 < raw.size()) {
        ++i;
      } else if (raw[i] == '"') {
        ++i;
        break;
      }
    }
  } else {
    while (i < raw.size() && static_cast<unsigned char>(raw[i]) > ' ') ++i;
  }
  while (i < raw.size() && raw[i] != '\0' && static_cast<unsigned char>(raw[i]) <= ' ') ++i;
  return std::string(raw.substr(i));
}

Route RouteCommandLine(std::string_view tail, std::string_view raw, std::string_view modulePath) {
  using contract::kHandOffSwitch;
  using contract::kRecycleBinSwitch;
  if (!tail.empty() && tail != kRecycleBinSwitch && tail != kHandOffSwitch)
    return Route{RunMode::CommandLineFiles, std::string(tail)};
  // The quoted module path and one blank precede the switch.
  const std::size_t skip = modulePath.size() + 3;
  const std::string_view rest = skip < raw.size() ? raw.substr(skip, 2) : std::string_view();
  if (rest == kRecycleBinSwitch) return Route{RunMode::RecycleBin, {}};
  if (rest == kHandOffSwitch) return Route{RunMode::HandOff, {}};
  return Route{RunMode::Windowed, {}};
}

}  // namespace app
