#include "tests/support/temp_folder.h"

#include <windows.h>

#include <string>

#include "common/paths.h"
#include "tests/support/system_state.h"
#include "winframe/handles.h"
#include "winframe/text.h"

std::wstring Long(const std::wstring& path) {
  return paths::ToExtended(path).value_or(path);
}
std::wstring MakeDeepFolder(std::wstring root, const std::wstring& name) {
  while (root.size() <= 420) {
    root += L"\\" + name;
    if (!CreateDirectoryW(Long(root).c_str(), nullptr)) return {};
  }
  return root;
}
std::wstring Wide(const std::string& ansi) {
  return wf::Widen(ansi);
}
std::string Ansi(const std::wstring& wide) {
  return wf::Narrow(wide);
}

TempFolder::TempFolder(const std::wstring& root) {
  CreateDirectoryW(root.c_str(), nullptr);
  static unsigned counter = 0;
  path_ = root + L"\\t" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++counter);
  RemoveTree(path_);
  CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::TempFolder(const std::string& root) : TempFolder(Wide(root)) {}

TempFolder::~TempFolder() {
  RemoveTree(path_);
}

std::string TempFolder::Path() const {
  return Ansi(path_);
}

std::wstring TempFolder::WriteFile(const std::wstring& name, const std::string& content) const {
  const std::wstring path = name.find(L':') != std::wstring::npos ? name : *this / name;
  WriteWholeFile(path, content);
  return path;
}

std::string TempFolder::WriteFile(const std::string& name, const std::string& content) const {
  return Ansi(WriteFile(Wide(name), content));
}

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(Long(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadWholeFile(const std::wstring& path) {
  std::string content;
  wf::UniqueFile file(CreateFileW(Long(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                  nullptr));
  if (!file) return content;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file.Get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) content.append(buffer, got);
  return content;
}

bool WriteWholeFile(const std::wstring& path, const std::string& content) {
  wf::UniqueFile file(CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
         written == content.size();
}

void RemoveTree(const std::wstring& path) {
  const std::wstring longPath = Long(path);
  // The entry's own attributes: those of the path would be what a link leads
  // to, and nothing at all for a link whose target is gone.
  WIN32_FIND_DATAW self;
  wf::FindHandle found(FindFirstFileExW(longPath.c_str(), FindExInfoBasic, &self, FindExSearchNameMatch, nullptr, 0));
  const DWORD attributes = found ? self.dwFileAttributes : GetFileAttributesW(longPath.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesW(longPath.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    for (const std::wstring& name : NamesIn(path)) RemoveTree(path + L"\\" + name);
  }
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    RemoveSymbolicLink(path);
  } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    RemoveDirectoryW(longPath.c_str());
  } else {
    DeleteFileW(longPath.c_str());
  }
}

std::vector<std::wstring> NamesIn(const std::wstring& folder, const std::wstring& pattern) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW entry;
  wf::FindHandle find(FindFirstFileW((Long(folder) + L"\\" + pattern).c_str(), &entry));
  if (!find) return names;
  do {
    const std::wstring name = entry.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find.Get(), &entry));
  return names;
}

bool FileExists(const std::string& path) {
  return FileExists(Wide(path));
}
std::string ReadWholeFile(const std::string& path) {
  return ReadWholeFile(Wide(path));
}
bool WriteWholeFile(const std::string& path, const std::string& content) {
  return WriteWholeFile(Wide(path), content);
}
void RemoveTree(const std::string& path) {
  RemoveTree(Wide(path));
}
std::vector<std::string> NamesIn(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  for (const std::wstring& name : NamesIn(Wide(folder), Wide(pattern))) names.push_back(Ansi(name));
  return names;
}
