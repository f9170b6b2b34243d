#include "winframe/file_status.h"

#include "winframe/handles.h"

namespace wf {

bool GetFileStatus(const std::string& path, FileStatus& status) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
  status.attributes = data.dwFileAttributes;
  status.created = data.ftCreationTime;
  status.accessed = data.ftLastAccessTime;
  status.modified = data.ftLastWriteTime;
  status.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return true;
}

bool SetFileStatus(const std::string& path, const FileStatus& status) {
  if (!SetFileAttributesA(path.c_str(), status.attributes)) return false;
  if (status.modified.dwLowDateTime == 0 && status.modified.dwHighDateTime == 0) return true;
  UniqueFile file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file) return false;
  const FILETIME* created = (status.created.dwLowDateTime | status.created.dwHighDateTime) ? &status.created : nullptr;
  const FILETIME* accessed =
      (status.accessed.dwLowDateTime | status.accessed.dwHighDateTime) ? &status.accessed : nullptr;
  return SetFileTime(file.Get(), created, accessed, &status.modified) != FALSE;
}

}  // namespace wf
