#include "shredder/engine/volume_place.h"

#include <vector>

#include "common/paths.h"

namespace engine {
namespace {

constexpr std::wstring_view kExtended = L"\\\\?\\";
// A subst drive of a subst drive is allowed; a loop is not followed forever.
constexpr int kMostSubstitutions = 8;

bool IsDrivePath(std::wstring_view extended) {
  return extended.size() >= 7 && extended.substr(0, kExtended.size()) == kExtended && extended[5] == L':' &&
         extended[6] == L'\\' &&
         ((extended[4] >= L'A' && extended[4] <= L'Z') || (extended[4] >= L'a' && extended[4] <= L'z'));
}

std::vector<std::wstring_view> Names(std::wstring_view rest) {
  std::vector<std::wstring_view> names;
  while (!rest.empty()) {
    const std::size_t end = rest.find(L'\\');
    if (end != 0) names.push_back(rest.substr(0, end));
    if (end == std::wstring_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return names;
}

}  // namespace

std::optional<VolumePlace> PlaceOf(std::wstring_view extendedPath, VolumeLayout& layout) {
  std::wstring path(extendedPath);
  for (int substitutions = 0;; ++substitutions) {
    if (!IsDrivePath(path)) return std::nullopt;
    const std::optional<std::wstring> folder = layout.SubstituteOf(path[4]);
    if (!folder) break;
    if (substitutions == kMostSubstitutions) return std::nullopt;
    const std::optional<std::wstring> substituted = paths::ToExtended(*folder + L"\\" + path.substr(7));
    if (!substituted) return std::nullopt;
    path = *substituted;
  }

  std::wstring walked = path.substr(0, 7);  // "\\?\C:\"
  VolumePlace place;
  const std::optional<std::uint32_t> driveSerial = layout.SerialOf(walked);
  if (!driveSerial) return std::nullopt;
  place.serial = *driveSerial;
  const std::vector<std::wstring_view> names = Names(std::wstring_view(path).substr(7));
  for (std::size_t i = 0; i + 1 < names.size(); ++i) {
    if (walked.back() != L'\\') walked += L'\\';
    walked.append(names[i]);
    const VolumeLayout::Step step = layout.StepAt(walked);
    if (!step.exists) return std::nullopt;
    if (step.reparse) {
      switch (KindOfReparse(step.tag, step.target)) {
        case ReparseKind::Link:
          return std::nullopt;
        case ReparseKind::VolumeMount: {
          // "\??\Volume{...}\" is "\\?\Volume{...}\" to the file functions.
          const std::optional<std::uint32_t> serial = layout.SerialOf(L"\\\\?\\" + step.target.substr(4));
          if (!serial) return std::nullopt;
          place.serial = *serial;
          place.below.clear();
          continue;
        }
        case ReparseKind::Other:
          break;
      }
    }
    place.below.append(L"\\").append(names[i]);
  }
  if (!names.empty()) place.below.append(L"\\").append(names.back());
  if (place.below.empty()) place.below = L"\\";
  return place;
}

}  // namespace engine
