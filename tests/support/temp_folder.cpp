#include "tests/support/temp_folder.h"

#include "tests/support/system_state.h"

#include <windows.h>

#include <cstdio>
#include <string>

TempFolder::TempFolder(const std::string& root) {
  CreateDirectoryA(root.c_str(), nullptr);
  static unsigned counter = 0;
  path_ = root + "\\t" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
  RemoveTree(path_);
  CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

std::string TempFolder::WriteFile(const std::string& name, const std::string& content) const {
  const std::string path = name.find(':') != std::string::npos ? name : *this / name;
  WriteWholeFile(path, content);
  return path;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadWholeFile(const std::string& path) {
  std::string content;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0) content.append(buffer, got);
    std::fclose(file);
  }
  return content;
}

bool WriteWholeFile(const std::string& path, const std::string& content) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool ok = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  return std::fclose(file) == 0 && ok;
}

void RemoveTree(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesA(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  // A link is removed itself, never followed.
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = entry.cFileName;
        if (name != "." && name != "..") RemoveTree(path + "\\" + name);
      } while (FindNextFileA(find, &entry));
      FindClose(find);
    }
  }
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    RemoveSymbolicLink(path);
  } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    RemoveDirectoryA(path.c_str());
  } else {
    DeleteFileA(path.c_str());
  }
}
