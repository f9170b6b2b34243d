#include "tests/support/system_state.h"

#include <shellapi.h>

#include "shredder/recyclebin/recycle_bin_rules.h"

std::optional<RegistryValue> ReadRegistryValue(HKEY root, const std::string& subkey, const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::nullopt;
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

std::optional<RegistryKeyContents> ReadRegistryKey(HKEY root, const std::string& subkey) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
  RegistryKeyContents contents;
  std::vector<char> name(16384);
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(name.size());
    if (RegEnumValueA(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    const std::string valueName(name.data(), length);
    if (auto value = ReadRegistryValue(root, subkey, valueName.empty() ? nullptr : valueName.c_str())) {
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

bool RegistryKeyExists(HKEY root, const std::string& subkey) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void DeleteRegistryTree(HKEY root, const std::string& subkey) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  char name[256];
  // Always take the first child: the indexes shift as children go.
  for (;;) {
    DWORD length = sizeof(name);
    if (RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    DeleteRegistryTree(root, subkey + "\\" + name);
  }
  RegCloseKey(key);
  RegDeleteKeyA(root, subkey.c_str());
}

bool SetClipboardText(const std::string& text) {
  if (!OpenClipboard(nullptr)) return false;
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
  CloseClipboard();
  return ok;
}

std::optional<std::string> ClipboardText() {
  if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(nullptr)) return std::nullopt;
  std::optional<std::string> text;
  if (HANDLE block = GetClipboardData(CF_TEXT)) {
    if (const char* data = static_cast<const char*>(GlobalLock(block))) {
      text = std::string(data);
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
  return text;
}

bool ClearClipboard() {
  if (!OpenClipboard(nullptr)) return false;
  const bool ok = EmptyClipboard() != FALSE;
  CloseClipboard();
  return ok;
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
  const HRESULT result = SHEmptyRecycleBinA(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
  return SUCCEEDED(result) || RecycleBinItems() == 0;
}

std::optional<std::string> UnixPathOf(const std::string& windowsPath) {
  using Convert = char*(CDECL*)(const WCHAR*);
  const auto convert = reinterpret_cast<Convert>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return std::nullopt;
  WCHAR wide[MAX_PATH];
  if (!MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH)) return std::nullopt;
  char* unixPath = convert(wide);
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
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return false;
  // Wine hands out no usable handles for a Linux process.
  return true;
}

namespace {

bool WaitUntil(bool (*done)(const std::string&), const std::string& path) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (done(path)) return true;
    Sleep(50);
  }
  return false;
}

bool IsLink(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool IsGone(const std::string& path) { return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES; }

}  // namespace

bool MakeSymbolicLink(const std::string& target, const std::string& link) {
  const auto unixTarget = UnixPathOf(target);
  const auto unixLink = UnixPathOf(link);
  if (!unixTarget || !unixLink) return false;
  // Wine splits the line into arguments by the Windows rules: double quotes.
  return StartUnix("/bin/ln -s \"" + *unixTarget + "\" \"" + *unixLink + "\"") && WaitUntil(IsLink, link);
}

bool RemoveSymbolicLink(const std::string& link) {
  if (IsGone(link)) return true;
  const auto unixLink = UnixPathOf(link);
  return unixLink && StartUnix("/bin/rm -f \"" + *unixLink + "\"") && WaitUntil(IsGone, link);
}

std::string UserRecycleBinFolder() {
  char user[257] = {};
  char computer[257] = {};
  DWORD userSize = sizeof(user);
  DWORD computerSize = sizeof(computer);
  GetUserNameA(user, &userSize);
  GetComputerNameA(computer, &computerSize);
  BYTE sid[1000];
  DWORD sidSize = sizeof(sid);
  char domain[257];
  DWORD domainSize = sizeof(domain);
  SID_NAME_USE use;
  std::vector<std::uint32_t> values;
  if (LookupAccountNameA(computer, recyclebin::AccountName(user, computer).c_str(), sid, &sidSize, domain,
                         &domainSize, &use)) {
    for (UCHAR i = 0; i < *GetSidSubAuthorityCount(sid); ++i) values.push_back(*GetSidSubAuthority(sid, i));
  }
  return "C:\\Recycler\\" + recyclebin::SidText(values);
}
