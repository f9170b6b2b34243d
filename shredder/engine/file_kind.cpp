#include "shredder/engine/file_kind.h"

#include <windows.h>

#include "winframe/handles.h"

namespace engine {

bool IsReparsePoint(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

unsigned long HardLinkCount(const std::string& path) {
  // No data access: the count can be read while others hold the file open
  // without sharing. The link itself is opened, not what it leads to.
  wf::UniqueFile file(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!file || !GetFileInformationByHandle(file.Get(), &info)) return 0;
  return info.nNumberOfLinks;
}

}  // namespace engine
