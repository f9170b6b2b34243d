// A file's attributes and times, read and written as one record. Writing
// leaves the times alone when the modification time is zero.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace wf {

struct FileStatus {
  DWORD attributes = 0;
  FILETIME created{};
  FILETIME accessed{};
  FILETIME modified{};
  std::uint64_t size = 0;
};

// False when the path does not exist or cannot be read.
bool GetFileStatus(const std::string& path, FileStatus& status);

// Sets the attributes, and the times when `status.modified` is not zero.
// False when either could not be written.
bool SetFileStatus(const std::string& path, const FileStatus& status);

}  // namespace wf
