// What the file system says of a file decides how it can be erased: whether
// it is a link (which is never followed or overwritten), whether its content
// lies where new content is written (a compressed, encrypted or deduplicated
// file, or a cloud placeholder, keeps it elsewhere), and which named data
// streams it carries besides its content. The values are the platform's own
// attribute bits and reparse tags, so that tests can hand in any of them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace engine {

namespace attribute {
inline constexpr std::uint32_t kReparsePoint = 0x400;
inline constexpr std::uint32_t kCompressed = 0x800;
inline constexpr std::uint32_t kOffline = 0x1000;
inline constexpr std::uint32_t kEncrypted = 0x4000;
inline constexpr std::uint32_t kRecallOnOpen = 0x40000;
inline constexpr std::uint32_t kRecallOnDataAccess = 0x400000;
}  // namespace attribute

inline constexpr std::uint32_t kMountPointTag = 0xA0000003;  // junctions and volume mount points

// Links are the reparse points that stand for another name: symbolic links,
// junctions, mount points.
constexpr bool IsNameSurrogate(std::uint32_t tag) {
  return (tag & 0x20000000) != 0;
}

enum class ReparseKind {
  VolumeMount,  // a volume mounted in a folder
  Link,         // a symbolic link or junction, or a reparse point whose tag is unknown (0)
  Other,        // content kept elsewhere (compressed by the system, deduplicated, a cloud placeholder)
};

// `target` is where a mount point or junction leads ("\??\Volume{...}\").
ReparseKind KindOfReparse(std::uint32_t tag, std::wstring_view target);

// Whether an entry with these attributes and this tag (from the directory
// search or the handle) is a link.
constexpr bool IsLink(std::uint32_t attributes, std::uint32_t tag) {
  return (attributes & attribute::kReparsePoint) != 0 && (tag == 0 || IsNameSurrogate(tag));
}

enum class ContentPlace {
  InPlace,    // new content is written where the old lies
  Elsewhere,  // compressed, encrypted or kept by a reparse point: written as the platform allows
  NotLocal,   // a placeholder whose content is not on this computer: writing would fetch it
};

ContentPlace PlaceOfContent(std::uint32_t attributes, std::uint32_t tag);

// The name of a named data stream as the stream search gives it
// (":Zone.Identifier:$DATA" gives "Zone.Identifier"); nothing for the file's
// own content ("::$DATA") and for streams of any other type.
std::optional<std::wstring> NamedDataStream(std::wstring_view searchName);

}  // namespace engine
