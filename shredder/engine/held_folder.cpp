#include "shredder/engine/held_folder.h"

#include "shredder/engine/handle_place.h"

namespace engine {

FolderHold HoldFolder(const std::wstring& extended, DWORD access, wf::UniqueFile& held) {
  held.Reset(CreateFileW(extended.c_str(), access | FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!held) {
    switch (GetLastError()) {
      case ERROR_FILE_NOT_FOUND:
      case ERROR_PATH_NOT_FOUND:
        return FolderHold::Missing;
      case ERROR_SHARING_VIOLATION:
        return FolderHold::InUse;
      default:
        return FolderHold::Failed;
    }
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(held.Get(), &info)) return FolderHold::Failed;
  const bool folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const bool link = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  if (!folder || link || !HandleIsAt(held.Get(), extended, IdOf(info))) return FolderHold::Elsewhere;
  return FolderHold::Held;
}

}  // namespace engine
