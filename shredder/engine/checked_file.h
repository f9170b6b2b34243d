// A file opened once for the whole of its wipe: checked, overwritten,
// renamed and deleted through this one handle. The handle does not share
// deletion, so while it is held nobody can rename, delete or replace the
// file under the name that was checked; and every check is made on the
// handle, never again on the path, so a name swapped for a link after the
// user was asked leads nowhere.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "winframe/handles.h"

namespace engine {

enum class FileCheck {
  File,         // a file reached where its path says
  Missing,      // nothing there
  Folder,       // a folder: it has no content of its own to overwrite
  Link,         // the entry itself is a link (symbolic link, junction, mount point)
  ThroughLink,  // the handle is not at the path: a link, or a folder on the way swapped for one
  HardLinked,   // the file has other names, which still use its content
  InUse,        // it cannot be opened as the wipe needs (held by another program, no access)
};

// Which file on which volume, whatever its names.
struct FileId {
  DWORD volume = 0;
  std::uint64_t index = 0;
  bool operator==(const FileId& other) const { return volume == other.volume && index == other.index; }
  bool operator<(const FileId& other) const {
    return volume != other.volume ? volume < other.volume : index < other.index;
  }
};

class CheckedFile {
 public:
  // Opens `path` (a full path in either form) without following a link at
  // its last component, and checks what it is. A file with other names is
  // HardLinked unless `otherNamesAllowed`.
  explicit CheckedFile(const std::wstring& path, bool otherNamesAllowed = false);

  FileCheck Check() const { return check_; }
  bool IsFile() const { return check_ == FileCheck::File; }
  // The "\\?\" form of the path, as every call here uses it.
  const std::wstring& ExtendedPath() const { return extended_; }
  FileId Id() const { return id_; }
  DWORD Names() const { return names_; }
  DWORD Attributes() const { return attributes_; }

  // Sets the attributes through the handle; the times stay as they are.
  bool SetAttributes(DWORD attributes);
  std::uint64_t Length() const;
  // A second handle to the same file for writing its content.
  wf::UniqueFile OpenForWriting() const;
  // Gives the file the name `extendedTarget` (on the same volume), replacing
  // what is there when `replace`.
  bool RenameTo(const std::wstring& extendedTarget, bool replace);
  // Deletes the file under the name it has now; it goes when the handle is
  // closed, which this does at once.
  bool Delete();

 private:
  std::wstring extended_;
  wf::UniqueFile handle_;
  FileCheck check_ = FileCheck::Missing;
  FileId id_;
  DWORD names_ = 0;
  DWORD attributes_ = 0;
};

// Whether the handle is at `extendedPath` and not somewhere a link led to:
// its final path is that path (letter case and short names aside), or, for
// a drive mapped to a share, the same path below the root on the same
// volume.
bool HandleIsAt(HANDLE handle, const std::wstring& extendedPath, DWORD volumeSerial);

// Makes a new empty file with a meaningless name (prefix, hexadecimal number,
// ".tmp") in `folder` and returns its "\\?\" path; only such a name, given
// out by the system, is ever replaced by a wiped file. Nothing when none can
// be made there.
std::optional<std::wstring> CreateTemporaryFile(const std::wstring& folder, const wchar_t* prefix);

}  // namespace engine
