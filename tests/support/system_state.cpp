#include "tests/support/system_state.h"

#include <sddl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdint>
#include <utility>

#include "tests/support/temp_folder.h"
#include "winframe/handles.h"

std::optional<RegistryValue> ReadRegistryValue(HKEY root, const std::string& subkey, const char* name, REGSAM view) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) return std::nullopt;
  RegistryValue value;
  DWORD size = 0;
  LSTATUS status = RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size);
  if (status == ERROR_SUCCESS) {
    value.bytes.resize(size);
    status = RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(value.bytes.data()), &size);
    value.bytes.resize(size);
  }
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return std::nullopt;
  return value;
}

std::optional<RegistryKeyContents> ReadRegistryKey(HKEY root, const std::string& subkey, REGSAM view) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return std::nullopt;
  RegistryKeyContents contents;
  std::vector<char> name(16384);
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(name.size());
    if (RegEnumValueA(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    const std::string valueName(name.data(), length);
    if (auto value = ReadRegistryValue(root, subkey, valueName.empty() ? nullptr : valueName.c_str(), view)) {
      contents.values.emplace_back(valueName, *value);
    }
  }
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(name.size());
    if (RegEnumKeyExA(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    contents.subkeys.emplace_back(name.data(), length);
  }
  RegCloseKey(key);
  return contents;
}

bool RegistryKeyExists(HKEY root, const std::string& subkey, REGSAM view) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void DeleteRegistryTree(HKEY root, const std::string& subkey, REGSAM view) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_ALL_ACCESS | view, &key) != ERROR_SUCCESS) return;
  char name[256];
  // Always take the first child: the indexes shift as children go.
  for (;;) {
    DWORD length = sizeof(name);
    if (RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    DeleteRegistryTree(root, subkey + "\\" + name, view);
  }
  RegCloseKey(key);
  RegDeleteKeyExA(root, subkey.c_str(), view, 0);
}

WORD ImageMachine(const std::string& path) {
  const std::string image = ReadWholeFile(path);
  if (image.size() < 0x40 || image.compare(0, 2, "MZ") != 0) return 0;
  std::uint32_t header = 0;
  image.copy(reinterpret_cast<char*>(&header), sizeof header, 0x3C);
  if (header > image.size() - 6 || image.compare(header, 4, std::string("PE\0\0", 4)) != 0) return 0;
  WORD machine = 0;
  image.copy(reinterpret_cast<char*>(&machine), sizeof machine, header + 4);
  return machine;
}

DropHandle::DropHandle(const std::vector<std::wstring>& paths) {
  std::size_t names = 1;
  for (const std::wstring& path : paths) names += path.size() + 1;
  memory_ = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names * sizeof(wchar_t));
  if (!memory_) return;
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory_));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  auto* name = reinterpret_cast<wchar_t*>(header + 1);
  for (const std::wstring& path : paths) {
    memcpy(name, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
    name += path.size() + 1;
  }
  GlobalUnlock(memory_);
}

DropHandle::~DropHandle() {
  if (memory_) GlobalFree(memory_);
}

HDROP DropHandle::Release() {
  return static_cast<HDROP>(std::exchange(memory_, nullptr));
}

bool ClipboardHoldsFiles() {
  for (const wchar_t* name : {L"Shell IDList Array", L"FileNameW", L"FileName"}) {
    if (IsClipboardFormatAvailable(RegisterClipboardFormatW(name))) return true;
  }
  return IsClipboardFormatAvailable(CF_HDROP) != FALSE;
}

bool SetClipboardText(const std::string& text) {
  const wf::ClipboardSession clipboard(nullptr);
  if (!clipboard.IsOpen()) return false;
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  bool ok = false;
  if (block) {
    if (void* data = GlobalLock(block)) {
      memcpy(data, text.c_str(), text.size() + 1);
      GlobalUnlock(block);
      ok = SetClipboardData(CF_TEXT, block) != nullptr;
    }
    if (!ok) GlobalFree(block);
  }
  return ok;
}

std::optional<std::string> ClipboardText() {
  if (!IsClipboardFormatAvailable(CF_TEXT)) return std::nullopt;
  const wf::ClipboardSession clipboard(nullptr);
  if (!clipboard.IsOpen()) return std::nullopt;
  std::optional<std::string> text;
  if (HANDLE block = GetClipboardData(CF_TEXT)) {
    if (const char* data = static_cast<const char*>(GlobalLock(block))) {
      text = std::string(data);
      GlobalUnlock(block);
    }
  }
  return text;
}

bool ClearClipboard() {
  const wf::ClipboardSession clipboard(nullptr);
  return clipboard.IsOpen() && EmptyClipboard() != FALSE;
}

bool MoveToRecycleBin(const std::string& path) {
  std::string from = path;
  from.push_back('\0');  // the list ends with an empty name
  SHFILEOPSTRUCTA operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  return SHFileOperationA(&operation) == 0 && !operation.fAnyOperationsAborted;
}

long long RecycleBinItems() {
  SHQUERYRBINFO info{};
  info.cbSize = sizeof(info);
  if (SHQueryRecycleBinA("C:\\", &info) != S_OK) return -1;
  return info.i64NumItems;
}

bool EmptyRecycleBin() {
  const HRESULT result =
      SHEmptyRecycleBinA(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
  return SUCCEEDED(result) || RecycleBinItems() == 0;
}

std::optional<std::string> UnixPathOf(const std::wstring& windowsPath) {
  using Convert = char*(CDECL*)(const WCHAR*);
  const auto convert = reinterpret_cast<Convert>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return std::nullopt;
  char* unixPath = convert(windowsPath.c_str());
  if (!unixPath) return std::nullopt;
  std::string result(unixPath);
  HeapFree(GetProcessHeap(), 0, unixPath);
  return result;
}

bool StartUnix(const std::string& commandLine) {
  std::string line = "\\\\?\\unix" + commandLine;
  for (std::size_t i = 0; i < line.size() && line[i] != ' '; ++i) {
    if (line[i] == '/') line[i] = '\\';
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return false;
  // Wine hands out no usable handles for a Linux process.
  return true;
}

namespace {

bool IsThere(const std::wstring& path) {
  return GetFileAttributesW(Long(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WaitUntil(bool there, const std::wstring& path) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (IsThere(path) == there) return true;
    Sleep(50);
  }
  return false;
}

}  // namespace

bool MakeSymbolicLink(const std::wstring& target, const std::wstring& link) {
  const auto unixTarget = UnixPathOf(target);
  const auto unixLink = UnixPathOf(link);
  if (!unixTarget || !unixLink) return false;
  // Wine splits the line into arguments by the Windows rules: double quotes.
  return StartUnix("/bin/ln -s \"" + *unixTarget + "\" \"" + *unixLink + "\"") && WaitUntil(true, link);
}

bool ChangeUnixMode(const std::wstring& path, const std::string& mode) {
  const auto unixPath = UnixPathOf(path);
  wchar_t temporary[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, temporary);
  const std::wstring done = std::wstring(temporary) + L"chmod-done-" + std::to_wstring(GetCurrentProcessId());
  const auto unixDone = UnixPathOf(done);
  if (!unixPath || !unixDone) return false;
  DeleteFileW(done.c_str());
  const bool changed =
      StartUnix("/bin/sh -c \"chmod " + mode + " '" + *unixPath + "' && touch '" + *unixDone + "'\"") &&
      WaitUntil(true, done);
  DeleteFileW(done.c_str());
  return changed;
}

bool RemoveSymbolicLink(const std::wstring& link) {
  if (!IsThere(link)) return true;
  const auto unixLink = UnixPathOf(link);
  return unixLink && StartUnix("/bin/rm -f \"" + *unixLink + "\"") && WaitUntil(false, link);
}

bool SwapForSymbolicLink(const std::wstring& target, const std::wstring& path) {
  const auto unixTarget = UnixPathOf(target);
  const auto unixPath = UnixPathOf(path);
  if (!unixTarget || !unixPath) return false;
  // One step, as an attacker would: the name never stands empty.
  const std::string temporary = *unixPath + ".swap";
  return StartUnix("/bin/ln -s \"" + *unixTarget + "\" \"" + temporary + "\"") && WaitUntil(true, path + L".swap") &&
         StartUnix("/bin/mv -T \"" + temporary + "\" \"" + *unixPath + "\"") && WaitUntil(false, path + L".swap");
}

bool MakeSymbolicLink(const std::string& target, const std::string& link) {
  return MakeSymbolicLink(Wide(target), Wide(link));
}
bool RemoveSymbolicLink(const std::string& link) {
  return RemoveSymbolicLink(Wide(link));
}

std::wstring UserSid() {
  wf::UniqueHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put())) return {};
  BYTE buffer[512];
  DWORD size = sizeof(buffer);
  if (!GetTokenInformation(token.Get(), TokenUser, buffer, size, &size)) return {};
  wchar_t* text = nullptr;
  if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &text)) return {};
  std::wstring sid(text);
  LocalFree(text);
  return sid;
}

std::string UserRecycleBinFolder() {
  return "C:\\Recycler\\" + Ansi(UserSid());
}
