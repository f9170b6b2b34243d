#include "shredder/engine/file_facts.h"

namespace engine {

ReparseKind KindOfReparse(std::uint32_t tag, std::wstring_view target) {
  constexpr std::wstring_view kVolumeTarget = L"\\??\\Volume{";
  if (tag == kMountPointTag) {
    // A junction to a folder, or to a drive's root, is a link; only a volume
    // (named by its GUID, as the mount manager mounts it) is a way to one.
    return target.substr(0, kVolumeTarget.size()) == kVolumeTarget ? ReparseKind::VolumeMount : ReparseKind::Link;
  }
  if (tag == 0 || IsNameSurrogate(tag)) return ReparseKind::Link;
  return ReparseKind::Other;
}

ContentPlace PlaceOfContent(std::uint32_t attributes, std::uint32_t tag) {
  if (attributes & (attribute::kOffline | attribute::kRecallOnOpen | attribute::kRecallOnDataAccess)) {
    return ContentPlace::NotLocal;
  }
  if (attributes & (attribute::kCompressed | attribute::kEncrypted)) return ContentPlace::Elsewhere;
  if ((attributes & attribute::kReparsePoint) && !IsNameSurrogate(tag)) return ContentPlace::Elsewhere;
  return ContentPlace::InPlace;
}

std::optional<std::wstring> NamedDataStream(std::wstring_view searchName) {
  constexpr std::wstring_view kDataType = L":$DATA";
  if (searchName.size() <= 1 + kDataType.size() || searchName.front() != L':') return std::nullopt;
  if (searchName.substr(searchName.size() - kDataType.size()) != kDataType) return std::nullopt;
  const std::wstring_view name = searchName.substr(1, searchName.size() - 1 - kDataType.size());
  if (name.empty() || name.find(L':') != std::wstring_view::npos) return std::nullopt;
  return std::wstring(name);
}

}  // namespace engine
