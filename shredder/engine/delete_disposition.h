// Deleting a file through a handle that is open on it, so that the name
// that goes is the one the handle holds, whatever happens to the path.
#pragma once

#include <windows.h>

namespace engine {

// Marks the file for deletion with POSIX semantics: its name goes as soon as
// this handle is closed, even while another program still has the file
// open. False where the platform has no such semantics (before Windows 10,
// FAT, Wine).
bool MarkDeletedPosix(HANDLE file);

// Marks the file for deletion when its last handle is closed, which the
// system does however the process ends; false, with GetLastError, when the
// file may not be deleted.
bool MarkDeletedOnClose(HANDLE file);

// POSIX semantics where there are any, the classic disposition where not.
inline bool MarkDeleted(HANDLE file) {
  return MarkDeletedPosix(file) || MarkDeletedOnClose(file);
}

}  // namespace engine
