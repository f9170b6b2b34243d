#include "shredder/engine/delete_disposition.h"

namespace engine {

bool MarkDeletedPosix(HANDLE file) {
  // FileDispositionInfoEx of Windows 10, which the headers for Windows 7 do
  // not name; earlier systems refuse it.
  constexpr auto kDispositionInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(21);
  constexpr DWORD kDelete = 0x1, kPosixSemantics = 0x2;
  DWORD posix = kDelete | kPosixSemantics;
  return SetFileInformationByHandle(file, kDispositionInfoEx, &posix, sizeof(posix)) != FALSE;
}

bool MarkDeletedOnClose(HANDLE file) {
  FILE_DISPOSITION_INFO classic{TRUE};
  return SetFileInformationByHandle(file, FileDispositionInfo, &classic, sizeof(classic)) != FALSE;
}

}  // namespace engine
