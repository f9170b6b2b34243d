// Where a chosen path leads when no link on it is followed: the volume it ends
// on and its path below that volume's root. A drive letter, a subst drive and
// a folder where a volume is mounted are all ways to a volume, and two of
// them that reach the same volume name the same place; a symbolic link or a
// junction on the way is a link, and then the path has no such place. A file
// is where its path says when its handle is at this place.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "shredder/engine/file_facts.h"

namespace engine {

struct VolumePlace {
  std::uint32_t serial = 0;  // the volume's serial number
  std::wstring below;        // "\dir\name" from the volume's root; "\" for the root
};

// What the platform says of the drives and folders on a path.
class VolumeLayout {
 public:
  virtual ~VolumeLayout() = default;
  // The folder a drive letter stands for when it is a subst drive ("C:\data");
  // nothing for a drive of its own.
  virtual std::optional<std::wstring> SubstituteOf(wchar_t driveLetter) = 0;
  // The serial number of the volume at `root` ("\\?\C:\", "\\?\Volume{...}\").
  virtual std::optional<std::uint32_t> SerialOf(const std::wstring& root) = 0;
  struct Step {
    bool exists = false;
    bool reparse = false;   // the folder is a reparse point
    std::uint32_t tag = 0;  // its tag, when it could be read (0: it could not)
    std::wstring target;    // where a mount point or junction leads ("\??\Volume{...}\")
  };
  // A folder on the way, not followed.
  virtual Step StepAt(const std::wstring& path) = 0;
};

// The place of an extended drive path ("\\?\C:\..."); nothing when a link is
// on the way, a step cannot be read, or the path is not on a drive (a share
// is compared by its own name).
std::optional<VolumePlace> PlaceOf(std::wstring_view extendedPath, VolumeLayout& layout);

}  // namespace engine
