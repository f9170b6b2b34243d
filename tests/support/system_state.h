// Reading and resetting what the program leaves behind: registry values,
// the clipboard, the recycle bin.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

struct RegistryValue {
  DWORD type = 0;
  std::string bytes;  // exactly as stored, no terminator added
};

// `view` picks a registry view (KEY_WOW64_32KEY, KEY_WOW64_64KEY); 0 is the
// test program's own.
std::optional<RegistryValue> ReadRegistryValue(HKEY root, const std::string& subkey, const char* name, REGSAM view = 0);

// A key's own values (by name, "" for the default) and the names of its
// direct subkeys; nothing when it does not open.
struct RegistryKeyContents {
  std::vector<std::pair<std::string, RegistryValue>> values;
  std::vector<std::string> subkeys;
};
std::optional<RegistryKeyContents> ReadRegistryKey(HKEY root, const std::string& subkey, REGSAM view = 0);
bool RegistryKeyExists(HKEY root, const std::string& subkey, REGSAM view = 0);
// Deletes a key with all its subkeys; no error when it is missing.
void DeleteRegistryTree(HKEY root, const std::string& subkey, REGSAM view = 0);

// The machine a program or DLL is built for (IMAGE_FILE_MACHINE_I386, _AMD64),
// from its PE header; 0 when it is none.
WORD ImageMachine(const std::string& path);

// A drop handle as the platform hands one to WM_DROPFILES: a global block
// with a DROPFILES header and the names in UTF-16, as Explorer makes it.
class DropHandle {
 public:
  explicit DropHandle(const std::vector<std::wstring>& paths);
  ~DropHandle();
  DropHandle(const DropHandle&) = delete;
  DropHandle& operator=(const DropHandle&) = delete;
  HDROP Handle() const { return static_cast<HDROP>(memory_); }
  // For a receiver that frees it (the window's DragFinish).
  HDROP Release();

 private:
  HGLOBAL memory_;
};

// Puts text (CF_TEXT) on the clipboard, replacing what was there.
bool SetClipboardText(const std::string& text);
// The CF_TEXT content, or nothing when there is none.
std::optional<std::string> ClipboardText();
bool ClearClipboard();
// Whether the clipboard holds a format that Explorer would paste as files.
bool ClipboardHoldsFiles();

// The Linux path of a Windows path (Wine's own conversion).
std::optional<std::string> UnixPathOf(const std::wstring& windowsPath);
// Starts a Linux program (Wine runs it natively), for what the Windows calls
// cannot do under Wine, such as symbolic links. Wine gives no handle to wait
// on, so callers poll for the effect.
bool StartUnix(const std::string& commandLine);
// Sets the Linux permission bits (chmod `mode`) of a file or folder and
// waits until that is done: under Wine this is how a folder becomes one the
// account may not write, as its own security calls change nothing on disk.
bool ChangeUnixMode(const std::wstring& path, const std::string& mode);
// A Linux symbolic link at `link` to `target` (both Windows paths); Wine
// shows one to a folder as a reparse point, as Windows shows a junction.
// A Linux symbolic link to a file is shown as the file itself; only its
// final path tells it apart.
bool MakeSymbolicLink(const std::wstring& target, const std::wstring& link);
bool RemoveSymbolicLink(const std::wstring& link);
bool MakeSymbolicLink(const std::string& target, const std::string& link);
bool RemoveSymbolicLink(const std::string& link);
// Replaces what is at `path` with a link to `target` in one rename, as a
// program of another account would between a question and its answer.
bool SwapForSymbolicLink(const std::wstring& target, const std::wstring& path);

// The SID of the account the tests run as, as text.
std::wstring UserSid();
// The current user's recycle-bin folder on C: as earlier Windows named it on
// an NTFS drive: "C:\Recycler\<SID text>".
std::string UserRecycleBinFolder();

// Moves a file or folder to the recycle bin (Wine's trash).
bool MoveToRecycleBin(const std::string& path);
// Items in the recycle bin of drive C:.
long long RecycleBinItems();
bool EmptyRecycleBin();
