// A file opened once for the whole of its wipe: checked, overwritten,
// renamed and deleted through this one handle. The handle does not share
// deletion, so while it is held nobody can rename, delete or replace the
// file under the name that was checked; and every check is made on the
// handle, never again on the path, so a name swapped for a link after the
// user was asked leads nowhere.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "shredder/engine/file_facts.h"
#include "shredder/engine/handle_place.h"
#include "winframe/handles.h"

namespace engine {

enum class FileCheck {
  File,         // a file reached where its path says (its content may lie elsewhere: Content())
  Missing,      // nothing there
  Folder,       // a folder: it has no content of its own to overwrite
  Link,         // the entry itself is a link (symbolic link, junction, mount point)
  ThroughLink,  // the handle is not at the path: a link, or a folder on the way swapped for one
  HardLinked,   // the file has other names, which still use its content
  InUse,        // it cannot be opened as the wipe needs (held by another program, no access)
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
  // Whether new content lands where the old lies (file_facts.h).
  ContentPlace Content() const { return PlaceOfContent(attributes_, tag_); }
  HANDLE Handle() const { return handle_.Get(); }
  // The system's code for what last failed on this file: the opening
  // (Missing, InUse), or a call below that returned false; 0 when the system
  // gave none.
  DWORD Error() const { return error_; }

  // Sets the attributes through the handle; the times stay as they are.
  bool SetAttributes(DWORD attributes);
  std::uint64_t Length() const;
  // A second handle to the same file for writing its content.
  wf::UniqueFile OpenForWriting() const;
  // Gives the file the name `extendedTarget` (on the same volume), replacing
  // what is there when `replace`.
  bool RenameTo(const std::wstring& extendedTarget, bool replace);
  // Removes the file's name through the handle, which is closed: at once
  // even while another program keeps the file open (POSIX semantics) where
  // the platform has them; where it has not, only when no other program has
  // the file open, since the name would otherwise stay until that program
  // lets go. True when the name is gone; false with the handle still open
  // (the file keeps the name it has) or, rarely, with the name left for
  // whoever still holds the file.
  bool Remove();

 private:
  // Whether another program has the file open for its content.
  bool OpenElsewhere() const;

  std::wstring extended_;
  wf::UniqueFile handle_;
  FileCheck check_ = FileCheck::Missing;
  DWORD error_ = 0;
  FileId id_;
  DWORD names_ = 0;
  DWORD attributes_ = 0;
  std::uint32_t tag_ = 0;  // the reparse tag, when it is a reparse point
};

// What the platform says of an open file or folder.
struct FileFacts {
  DWORD attributes = 0;
  std::uint32_t tag = 0;   // the reparse tag, when it is a reparse point
  bool elsewhere = false;  // not a link, and yet the handle is not at its path (HandleIsAt)
};

// Stands in for what the platform says of a file or folder, for tests of what
// Wine cannot present (compressed and encrypted files, reparse points of
// every kind, a handle that a link led elsewhere); null restores the
// platform's word.
using FactsOverride = void (*)(const std::wstring& extendedPath, FileFacts& facts);
void SetFactsOverride(FactsOverride override);

// The facts of `handle`, opened without following a link at `extendedPath`,
// whose information is `info`: the platform's, or its stand-in's.
FileFacts FactsOf(HANDLE handle, const std::wstring& extendedPath, const BY_HANDLE_FILE_INFORMATION& info);

// Whether the directory entry at `extendedPath` is a link. Where the platform
// opened what a link leads to (Wine does, for a link to a folder), the entry
// itself still says that it is one.
bool EntryIsLink(const std::wstring& extendedPath);

}  // namespace engine
