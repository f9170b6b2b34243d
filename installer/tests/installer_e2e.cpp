// The installer and its uninstaller as an administrator runs them: silently
// with /S, and page by page (with a picture of every page). They run the
// shipped 32-bit setup.exe; a test bed that runs 64-bit programs only runs
// the installer made from the same script for 64-bit Windows instead, on
// which the 32-bit extension has no 32-bit regsvr32 to register it and is
// left out, as on a 64-bit Windows without 32-bit support.
#include <aclapi.h>
#include <gtest/gtest.h>
#include <sddl.h>
#include <shlobj.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "shred_version.h"
#include "shredder/resources/resource.h"
#include "tests/e2e/support/app_folder.h"
#include "tests/support/registry_snapshot.h"
#include "tests/support/system_state.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr char kClsid[] = "{B7847D3E-09F3-11D4-8F6D-0080AD87DD41}";
// The command of Windows 11's first menu, in the same DLL.
constexpr char kCommandClsid[] = "{5B3B85C7-E5CE-4320-9A57-8D321105CA9E}";
constexpr char kMenuPackageFamilyValue[] = "MenuPackageFamily";
constexpr char kHandlerKey[] = "\\ShellEx\\ContextMenuHandlers\\RuzeVoriduruShlExt";
constexpr char kApprovedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\MORVANE Shredder";
constexpr char kVendorKey[] = "Software\\Brinmoor";
constexpr char kProgramKey[] = "Software\\Brinmoor\\M-Shredder";
const std::string kRecycleBinShell = "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\shell";
const std::string kVerbKey = kRecycleBinShell + "\\M-Shredder";
const std::string kCommandKey = kVerbKey + "\\command";
constexpr char kSetupCaption[] = "MORVANE Shredder セットアップ";
constexpr char kUninstallCaption[] = "MORVANE Shredder アンインストール";
constexpr char kOptionsCaption[] = "オプション設定";
constexpr char kFontSubstitutes[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes";
constexpr char kWizardFont[] = "ＭＳ Ｐゴシック";
constexpr char kBedFont[] = "IPAPGothic";
constexpr int kNextButton = 1;  // the button that moves on to the next page
constexpr int kDirectoryBox = 1019;

std::string SetupProgram() {
  const std::string bin = BuildBinFolder();
  const std::string installer = bin.substr(0, bin.find_last_of('\\')) + "\\installer\\";
  return TestBedRuns32Bit() ? installer + SHRED_SETUP_NAME : installer + "test\\" SHRED_TEST_SETUP_NAME;
}

// The registry views of a 64-bit Windows, each with the extension it should
// hold once installed.
struct View {
  REGSAM flag;
  const char* dll;
};
constexpr View kViews[] = {{KEY_WOW64_64KEY, "shredmenu.dll"}, {KEY_WOW64_32KEY, "shredmenu32.dll"}};

std::string ScreenshotFolder() {
  const std::string bin = BuildBinFolder();
  return bin.substr(0, bin.find_last_of('\\')) + "\\installer\\screenshots";
}

std::string KnownFolder(int csidl) {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

std::string InstallDir() {
  return KnownFolder(CSIDL_PROGRAM_FILES) + "\\MORVANE Shredder";
}
std::string Installed(const std::string& name) {
  return InstallDir() + "\\" + name;
}
std::string Shortcut() {
  return KnownFolder(CSIDL_COMMON_PROGRAMS) + "\\MORVANE Shredder.lnk";
}

// The account's own folder of the program under one of its known folders.
std::string UserFolder(int csidl) {
  return KnownFolder(csidl) + "\\MORVANE Shredder";
}

// The security of an installed file or folder as text (SDDL), and every
// right it lets an account that is not an administrator write with: the
// Users group, Everyone, Authenticated Users and interactive logons.
struct Security {
  std::string text;
  std::vector<std::string> writesForUsers;
};

Security SecurityOf(const std::string& path) {
  Security security;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  PACL dacl = nullptr;
  if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                            &descriptor) != ERROR_SUCCESS) {
    security.text = "(unreadable)";
    return security;
  }
  char* text = nullptr;
  if (ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                           &text, nullptr)) {
    security.text = text;
    LocalFree(text);
  }
  constexpr DWORD kWrites = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_DELETE_CHILD |
                            FILE_WRITE_ATTRIBUTES | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
  for (const char* who : {"S-1-5-32-545", "S-1-1-0", "S-1-5-11", "S-1-5-4"}) {
    PSID sid = nullptr;
    if (!ConvertStringSidToSidA(who, &sid)) continue;
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
      ACE_HEADER* header = nullptr;
      if (!GetAce(dacl, i, reinterpret_cast<void**>(&header)) || header->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
      auto* allowed = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
      if (EqualSid(&allowed->SidStart, sid) && (allowed->Mask & kWrites) != 0) {
        char mask[16];
        std::snprintf(mask, sizeof(mask), "%lx", static_cast<unsigned long>(allowed->Mask));
        security.writesForUsers.push_back(std::string(who) + " 0x" + mask);
      }
    }
    LocalFree(sid);
  }
  LocalFree(descriptor);
  return security;
}

std::optional<std::string> RegString(HKEY root, const std::string& key, const char* name, REGSAM view = 0) {
  const std::optional<RegistryValue> value = ReadRegistryValue(root, key, name, view);
  if (!value || value->type != REG_SZ) return std::nullopt;
  return value->bytes.substr(0, value->bytes.find('\0'));
}

// A path in double quotes, as a command line names a program.
std::string Quoted(const std::string& path) {
  std::string quoted = "\"";
  quoted += path;
  quoted += '"';
  return quoted;
}

// What a 32-bit program sees, asked of the 32-bit reg.exe: the string value
// `name` (nullptr: the default) of `key` ("HKCR\\...", "HKLM\\..."); nothing
// when it is not there. A 64-bit caller cannot ask it under Wine: Wine sends
// its KEY_WOW64_32KEY requests to Wow6432Node even for the keys that Windows
// 7 and later share between the views (*\\ShellEx, Folder\\ShellEx,
// Drive\\ShellEx, the ProgIDs), where a 32-bit open dialog finds the handler
// that the 32-bit regsvr32 registered.
std::optional<std::string> RegString32(const std::string& key, const char* name) {
  TempFolder folder("C:\\e2e");
  const std::string output = folder.Path() + "\\query.txt";
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE file = CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string line = Quoted(KnownFolder(CSIDL_SYSTEMX86) + "\\reg.exe");
  line += " query " + Quoted(key);
  line += name ? " /v " + Quoted(name) : std::string(" /ve");
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = file;
  startup.hStdError = file;
  PROCESS_INFORMATION info{};
  const BOOL started =
      CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info);
  CloseHandle(file);
  if (!started) {
    ADD_FAILURE() << "cannot start " << line << " (error " << GetLastError() << ")";
    return std::nullopt;
  }
  CloseHandle(info.hThread);
  DWORD code = 1;
  if (WaitForSingleObject(info.hProcess, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hProcess);
  if (code != 0) return std::nullopt;
  // "    <name>    REG_SZ    <data>"
  const std::string text = ReadWholeFile(output);
  constexpr char kType[] = "    REG_SZ    ";
  const std::size_t at = text.find(kType);
  if (at == std::string::npos) return std::nullopt;
  const std::size_t start = at + sizeof(kType) - 1;
  return text.substr(start, text.find_first_of("\r\n", start) - start);
}

std::optional<DWORD> RegNumber(HKEY root, const std::string& key, const char* name) {
  const std::optional<RegistryValue> value = ReadRegistryValue(root, key, name);
  if (!value || value->type != REG_DWORD || value->bytes.size() != sizeof(DWORD)) return std::nullopt;
  DWORD number = 0;
  value->bytes.copy(reinterpret_cast<char*>(&number), sizeof(number));
  return number;
}

void SetRegString(HKEY root, const std::string& key, const std::string& text) {
  HKEY handle = nullptr;
  ASSERT_EQ(RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr), ERROR_SUCCESS);
  RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
  RegCloseKey(handle);
}

// The build of Windows the bed plays, as the kernel gives it (the setup asks
// the same).
unsigned WindowsBuild() {
  using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto getVersion = reinterpret_cast<GetVersion>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetVersion")));
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
  return getVersion && getVersion(&version) == 0 ? version.dwBuildNumber : 0;
}

// install.log, which the setup writes in UTF-16 with a byte-order mark.
std::optional<std::wstring> InstallLog() {
  const std::string bytes = ReadWholeFile(Installed("install.log"));
  if (bytes.size() < 2 || bytes.compare(0, 2, "\xFF\xFE") != 0) return std::nullopt;
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / sizeof(wchar_t));
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs = 30000) {
  for (int waited = 0; waited < timeoutMs; waited += 100) {
    if (done()) return true;
    Sleep(100);
  }
  return done();
}

DWORD RunToEnd(const std::string& commandLine) {
  uidrv::Process process = uidrv::Start(commandLine);
  if (!process) return static_cast<DWORD>(-1);
  const DWORD code = uidrv::WaitExit(process, 120000);
  uidrv::Close(process);
  return code;
}

// The uninstaller copies itself out of the folder it removes and returns at
// once; the copy removes the uninstall entry last.
bool UninstallSilently() {
  const std::optional<std::string> quiet = RegString(HKEY_LOCAL_MACHINE, kUninstallKey, "QuietUninstallString");
  if (!quiet) return true;
  return RunToEnd(*quiet) == 0 && WaitFor([] { return !RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey); }, 60000);
}

bool Contains(std::string text, std::string part) {
  const auto lower = [](std::string& s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  };
  lower(text);
  lower(part);
  return text.find(part) != std::string::npos;
}

// Every key under HKEY_CLASSES_ROOT whose name or string values name the
// extension, the verb or the installed program.
void FindOurs(HKEY parent, const std::string& path, const std::vector<std::string>& marks, REGSAM view,
              std::vector<std::string>& found) {
  const std::optional<RegistryKeyContents> contents = ReadRegistryKey(parent, path, view);
  if (!contents) return;
  const auto marked = [&](const std::string& text) {
    return std::any_of(marks.begin(), marks.end(), [&](const std::string& mark) { return Contains(text, mark); });
  };
  for (const auto& [name, value] : contents->values) {
    if (value.type == REG_SZ && (marked(name) || marked(value.bytes))) found.push_back(path + " : " + name);
  }
  for (const std::string& child : contents->subkeys) {
    const std::string childPath = path.empty() ? child : path + "\\" + child;
    if (marked(child)) {
      found.push_back(childPath);
    } else {
      FindOurs(parent, childPath, marks, view, found);
    }
  }
}

std::vector<std::string> OursUnderClassesRoot(REGSAM view) {
  std::vector<std::string> found;
  FindOurs(HKEY_CLASSES_ROOT, "", {"RuzeVoriduru", "{B7847D3", kCommandClsid, "M-Shredder", InstallDir()}, view, found);
  return found;
}

// The text of a control of the wizard's current page (a child dialog).
std::string PageText(HWND wizard, int id) {
  for (const uidrv::ControlInfo& control : uidrv::Controls(wizard)) {
    if (control.id == id && control.visible) return control.text;
  }
  return {};
}

// The first visible dialog window (of any process) that `match` takes.
HWND WaitDialogWhere(const std::function<bool(const uidrv::WindowInfo&)>& match, int timeoutMs = 30000) {
  HWND found = nullptr;
  WaitFor(
      [&] {
        for (const uidrv::WindowInfo& window : uidrv::TopLevelWindows()) {
          if (window.className == uidrv::kDialogClass && match(window)) {
            found = window.hwnd;
            return true;
          }
        }
        return false;
      },
      timeoutMs);
  return found;
}

// A wizard window; its pages add to its caption.
bool IsWizard(const uidrv::WindowInfo& window, const std::string& caption) {
  return window.caption.rfind(caption, 0) == 0;
}

HWND WaitWizard(const std::string& caption) {
  return WaitDialogWhere([&](const uidrv::WindowInfo& window) { return IsWizard(window, caption); });
}

// A message box whose text holds `part`.
HWND WaitMessageBox(const std::string& part) {
  return WaitDialogWhere(
      [&](const uidrv::WindowInfo& window) { return uidrv::MessageText(window.hwnd).find(part) != std::string::npos; });
}

// Ends the wizards a failed test leaves open: the setup it started, or the
// copy of itself that the uninstaller started.
void EndOpenWizards() {
  for (const uidrv::WindowInfo& window : uidrv::TopLevelWindows()) {
    if (window.className != uidrv::kDialogClass ||
        !(IsWizard(window, kSetupCaption) || IsWizard(window, kUninstallCaption))) {
      continue;
    }
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, window.pid)) {
      TerminateProcess(process, 1);
      WaitForSingleObject(process, 10000);
      CloseHandle(process);
    }
  }
}

// Removes a link by its Linux name: one whose target is gone is not seen by
// the Windows calls at all.
void RemoveLink(const std::string& link) {
  const std::optional<std::string> unixLink = UnixPathOf(Wide(link));
  if (!unixLink || !StartUnix("/bin/rm -f \"" + *unixLink + "\"")) return;
  const std::string folder = link.substr(0, link.find_last_of('\\'));
  const std::string name = link.substr(folder.size() + 1);
  WaitFor(
      [&] {
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
        if (find == INVALID_HANDLE_VALUE) return true;
        bool listed = false;
        do {
          listed = listed || _stricmp(entry.cFileName, name.c_str()) == 0;
        } while (FindNextFileA(find, &entry));
        FindClose(find);
        return !listed;
      },
      5000);
}

// Ends a program the test started, when a failed check left it running.
class Started {
 public:
  explicit Started(uidrv::Process process) : process_(process) {}
  ~Started() {
    if (!process_) return;
    if (uidrv::WaitExit(process_, 0) == STILL_ACTIVE) uidrv::Kill(process_);
    uidrv::Close(process_);
  }
  Started(const Started&) = delete;
  Started& operator=(const Started&) = delete;
  uidrv::Process& operator*() { return process_; }

 private:
  uidrv::Process process_;
};

class Installer : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!FileExists(SetupProgram())) {
      GTEST_SKIP() << "the installer was not built (cmake --build --preset win64 --target installer): "
                   << SetupProgram();
    }
    std::printf("installer: %s\n", SetupProgram().c_str());
    ASSERT_TRUE(UninstallSilently()) << "an earlier installation does not go";
    Clear();
  }
  void TearDown() override {
    EndOpenWizards();
    UninstallSilently();
    Clear();
  }
  static void Clear() {
    if (FileExists(InstallDir())) ChangeUnixMode(Wide(InstallDir()), "755");
    RemoveLink(Installed("work_temp"));
    RemoveTree(InstallDir());
  }

  void InstallSilently() {
    ASSERT_EQ(RunToEnd(Quoted(SetupProgram()) + " /S"), 0u);
    ASSERT_TRUE(FileExists(Installed("uninstall.exe")));
  }

  RegistryTreeGuard shell_{HKEY_CLASSES_ROOT, kRecycleBinShell};
  RegistryTreeGuard vendor_{HKEY_CURRENT_USER, kVendorKey};
};

TEST_F(Installer, SilentInstallSetsEverythingUpAndTheSilentUninstallTakesItAway) {
  InstallSilently();
  for (const char* name : {"binshredder.exe", "shredmenu.dll", "morvane-shredder.chm"}) {
    EXPECT_TRUE(FileExists(Installed(name))) << name;
  }
  // Nobody but administrators may write there: no settings file is made for
  // every account, and no right is given to write one.
  EXPECT_FALSE(FileExists(Installed("OPTION.INI")));
  for (const std::string& name : {std::string(), std::string("binshredder.exe"), std::string("shredmenu.dll"),
                                  std::string("morvane-shredder.chm"), std::string("uninstall.exe")}) {
    const std::string path = name.empty() ? InstallDir() : Installed(name);
    const Security security = SecurityOf(path);
    std::printf("security of %s: %s\n", path.c_str(), security.text.c_str());
    EXPECT_EQ(security.writesForUsers, std::vector<std::string>{}) << path << ": " << security.text;
  }
  EXPECT_EQ(ImageMachine(Installed("binshredder.exe")), IMAGE_FILE_MACHINE_AMD64);
  EXPECT_EQ(ImageMachine(Installed("shredmenu.dll")), IMAGE_FILE_MACHINE_AMD64);
  for (const View& view : kViews) {
    const bool expected = view.flag == KEY_WOW64_64KEY || TestBedRuns32Bit();
    SCOPED_TRACE(view.dll);
    EXPECT_EQ(FileExists(Installed(view.dll)), expected);
    const std::optional<std::string> server =
        RegString(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kClsid + "\\InprocServer32", nullptr, view.flag);
    if (!expected) {
      EXPECT_EQ(server, std::nullopt);
      continue;
    }
    EXPECT_EQ(server, Installed(view.dll));
    if (view.flag == KEY_WOW64_32KEY) continue;  // below, as a 32-bit program sees it
    for (const char* kind : {"*", "Folder", "Drive"}) {
      EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, std::string(kind) + kHandlerKey, nullptr, view.flag), kClsid);
    }
    EXPECT_TRUE(RegString(HKEY_LOCAL_MACHINE, kApprovedKey, kClsid, view.flag));
  }
  if (TestBedRuns32Bit()) {
    EXPECT_EQ(RegString32(std::string("HKCR\\CLSID\\") + kClsid + "\\InprocServer32", nullptr),
              Installed("shredmenu32.dll"));
    for (const char* kind : {"*", "Folder", "Drive"}) {
      EXPECT_EQ(RegString32(std::string("HKCR\\") + kind + kHandlerKey, nullptr), kClsid) << kind;
    }
    EXPECT_TRUE(RegString32(std::string("HKLM\\") + kApprovedKey, kClsid));
    EXPECT_EQ(ImageMachine(Installed("shredmenu32.dll")), IMAGE_FILE_MACHINE_I386);
  }
  EXPECT_TRUE(FileExists(Shortcut()));

  // Wine plays a Windows before 11: the package of the first menu is left
  // out, and the log says why; the classic menu above is all there is.
  ASSERT_LT(WindowsBuild(), 22000u);
  EXPECT_EQ(InstallLog(), L"Windows 11 の右クリックメニュー: Windows のビルド " + std::to_wstring(WindowsBuild()) +
                              L" のため登録しません。右クリックメニューはこれまでどおりです。\r\n");
  for (const char* name : {"morvane-shredder.msix", "morvane-shredder.png"}) {
    EXPECT_FALSE(FileExists(Installed(name))) << name;
  }
  for (const View& view : kViews) {
    EXPECT_FALSE(ReadRegistryValue(HKEY_LOCAL_MACHINE, kProgramKey, kMenuPackageFamilyValue, view.flag)) << view.dll;
  }

  EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), "MORVANE Shredder");
  EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion"), BINSHREDDER_VERSION_TEXT);
  EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kUninstallKey, "Publisher"), "MORVANE");
  EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kUninstallKey, "InstallLocation"), InstallDir());
  EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon"), Installed("binshredder.exe") + ",0");
  EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"), Quoted(Installed("uninstall.exe")));
  EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, kUninstallKey, "QuietUninstallString"),
            Quoted(Installed("uninstall.exe")) + " /S");
  EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, kUninstallKey, "NoModify"), 1u);
  EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, kUninstallKey, "NoRepair"), 1u);
  // In KiB: the program and the extension alone are more than one MiB.
  EXPECT_GT(RegNumber(HKEY_LOCAL_MACHINE, kUninstallKey, "EstimatedSize").value_or(0), 1024u);

  // The installed program starts as the shortcut starts it, for an account
  // that may not write in the program folder (Wine runs every program as
  // one account, which may write anywhere: the folder is made read-only the
  // Linux way), adds the recycle bin's verb through its options, and closes.
  const std::string settings = UserFolder(CSIDL_APPDATA);
  const std::string work = UserFolder(CSIDL_LOCAL_APPDATA);
  RemoveTree(settings);
  RemoveTree(work);
  ASSERT_TRUE(ChangeUnixMode(Wide(InstallDir()), "555"));
  Started started(uidrv::Start(Quoted(Installed("binshredder.exe")), InstallDir()));
  uidrv::Process& program = *started;
  ASSERT_TRUE(program);
  HWND window = uidrv::WaitWindow(uidrv::kDialogClass, "Tessaro", 30000, program.pid);
  ASSERT_TRUE(window);
  uidrv::Press(window, IDC_OPTION);
  HWND options = uidrv::WaitDialog(kOptionsCaption, uidrv::kDefaultTimeoutMs, program.pid);
  ASSERT_TRUE(options);
  uidrv::Click(options, IDC_RBVERB);
  EXPECT_TRUE(WaitFor([] { return RegistryKeyExists(HKEY_CLASSES_ROOT, kCommandKey); }));
  uidrv::Press(options, IDOK);
  ASSERT_TRUE(uidrv::WaitGone(options));
  uidrv::Post(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(uidrv::WaitExit(program), 0u);
  ASSERT_TRUE(ChangeUnixMode(Wide(InstallDir()), "755"));
  EXPECT_EQ(RegString(HKEY_CURRENT_USER, kProgramKey, "Path"), Installed("binshredder.exe"));
  // The account's own settings; nothing beside the program.
  EXPECT_NE(ReadWholeFile(settings + "\\OPTION.INI").find("OverWriteTimes=3"), std::string::npos);
  EXPECT_FALSE(FileExists(Installed("OPTION.INI")));
  EXPECT_FALSE(FileExists(Installed("work_temp")));
  // Work folders as an interrupted erase leaves them: the account's own, and
  // one of an earlier version beside the program.
  CreateDirectoryA(work.c_str(), nullptr);
  CreateDirectoryA((work + "\\work_temp").c_str(), nullptr);
  WriteWholeFile(work + "\\work_temp\\left.tmp", "wiped");
  CreateDirectoryA(Installed("work_temp").c_str(), nullptr);
  WriteWholeFile(Installed("work_temp\\left.tmp"), "wiped");

  ASSERT_TRUE(UninstallSilently());
  for (const char* name : {"binshredder.exe", "shredmenu.dll", "shredmenu32.dll", "morvane-shredder.chm",
                           "uninstall.exe", "work_temp", "install.log"}) {
    EXPECT_FALSE(FileExists(Installed(name))) << name;
  }
  EXPECT_FALSE(FileExists(work));
  EXPECT_TRUE(FileExists(settings + "\\OPTION.INI")) << "a silent uninstall keeps the settings";
  RemoveTree(settings);
  EXPECT_FALSE(FileExists(Shortcut()));
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  for (const View& view : kViews) {
    EXPECT_FALSE(RegString(HKEY_LOCAL_MACHINE, kApprovedKey, kClsid, view.flag)) << view.dll;
    EXPECT_EQ(OursUnderClassesRoot(view.flag), std::vector<std::string>{}) << view.dll;
  }
  if (TestBedRuns32Bit()) {
    EXPECT_FALSE(RegString32(std::string("HKCR\\CLSID\\") + kClsid, nullptr));
    for (const char* kind : {"*", "Folder", "Drive"}) {
      EXPECT_FALSE(RegString32(std::string("HKCR\\") + kind + kHandlerKey, nullptr)) << kind;
    }
    EXPECT_FALSE(RegString32(std::string("HKLM\\") + kApprovedKey, kClsid));
  }
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, kRecycleBinShell)) << "the verb was the shell key's only one";
  EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kVendorKey));
}

TEST_F(Installer, TheUninstallerTakesOnlyWhatIsOurs) {
  InstallSilently();
  // The verb of a copy elsewhere, with another verb beside it.
  const std::string elsewhere = "\"C:\\Other Place\\binshredder.exe\" -C";
  SetRegString(HKEY_CLASSES_ROOT, kCommandKey, elsewhere);
  SetRegString(HKEY_CLASSES_ROOT, kRecycleBinShell + "\\OtherVerb\\command", "other.exe");
  SetRegString(HKEY_CURRENT_USER, kProgramKey, "");
  // A standard user may change the work folder: a link put in its place must
  // not lead the uninstaller to the files it points at.
  TempFolder elsewhereFolder("C:\\installer e2e");
  const std::string kept = elsewhereFolder.WriteFile("kept.txt", "not the program's");
  ASSERT_TRUE(MakeSymbolicLink(elsewhereFolder.Path(), Installed("work_temp")));

  ASSERT_TRUE(UninstallSilently());
  EXPECT_TRUE(FileExists(kept));
  EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, kCommandKey, nullptr), elsewhere);
  EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, kRecycleBinShell + "\\OtherVerb"));
  EXPECT_FALSE(FileExists(Installed("binshredder.exe")));
}

TEST_F(Installer, AVerbNamingTheInstalledProgramWithoutQuotesGoesTooAndTheShellKeyStaysForOthers) {
  InstallSilently();
  SetRegString(HKEY_CLASSES_ROOT, kRecycleBinShell + "\\OtherVerb\\command", "other.exe");
  std::string unquoted = Installed("binshredder.exe") + " -C";
  std::transform(unquoted.begin(), unquoted.end(), unquoted.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  SetRegString(HKEY_CLASSES_ROOT, kCommandKey, unquoted);

  ASSERT_TRUE(UninstallSilently());
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, kVerbKey));
  EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, kRecycleBinShell + "\\OtherVerb"));
}

// Moves through a wizard page by page: pictures the page once its Next
// button reads differently from the last page's (every page of these
// wizards names it differently) and is enabled, then presses it.
class Wizard {
 public:
  Wizard(HWND window, std::string shots) : window_(window), shots_(std::move(shots)) {}

  bool Page(const std::string& pictureName) {
    const bool ready = WaitFor([&] {
      return IsWindow(window_) && uidrv::ControlText(window_, kNextButton) != lastButton_ &&
             uidrv::IsControlEnabled(window_, kNextButton);
    });
    if (!ready) return false;
    lastButton_ = uidrv::ControlText(window_, kNextButton);
    Sleep(500);  // let the page paint
    uidrv::Screenshot(window_, shots_ + "\\" + pictureName + ".png");
    return true;
  }
  void Next() { uidrv::Press(window_, kNextButton); }
  HWND Window() const { return window_; }

 private:
  HWND window_;
  std::string shots_;
  std::string lastButton_;
};

TEST_F(Installer, ThePagesLeadThroughInstallAndUninstallAndNoDeletesTheSettings) {
  const std::string shots = ScreenshotFolder();
  CreateDirectoryA(shots.c_str(), nullptr);
  // The wizard's Japanese font, which the test bed lacks, stood in for as the
  // bed stands in for the program's fonts, so the pages are laid out as on
  // Windows.
  // In both views: the wizard of the shipped setup is a 32-bit program.
  RegistryTreeGuard fonts64(HKEY_LOCAL_MACHINE, kFontSubstitutes, KEY_WOW64_64KEY);
  RegistryTreeGuard fonts32(HKEY_LOCAL_MACHINE, kFontSubstitutes, KEY_WOW64_32KEY);
  for (const View& view : kViews) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kFontSubstitutes, 0, KEY_SET_VALUE | view.flag, &key), ERROR_SUCCESS);
    RegSetValueExA(key, kWizardFont, 0, REG_SZ, reinterpret_cast<const BYTE*>(kBedFont), sizeof(kBedFont));
    RegCloseKey(key);
  }

  Started started(uidrv::Start(Quoted(SetupProgram())));
  uidrv::Process& setup = *started;
  ASSERT_TRUE(setup);
  Wizard install(WaitWizard(kSetupCaption), shots);
  ASSERT_TRUE(install.Window());
  ASSERT_TRUE(install.Page("setup-1-welcome"));
  install.Next();
  ASSERT_TRUE(install.Page("setup-2-folder"));
  EXPECT_EQ(PageText(install.Window(), kDirectoryBox), InstallDir());
  install.Next();
  ASSERT_TRUE(install.Page("setup-3-progress"));
  EXPECT_TRUE(FileExists(Installed("binshredder.exe")));
  install.Next();
  ASSERT_TRUE(install.Page("setup-4-finish"));
  install.Next();
  EXPECT_EQ(uidrv::WaitExit(setup, 30000), 0u);
  ASSERT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));

  // Settings as a first start leaves them: the account's own, and the
  // defaults an administrator left in the program folder.
  const std::string settings = UserFolder(CSIDL_APPDATA);
  CreateDirectoryA(settings.c_str(), nullptr);
  WriteWholeFile(settings + "\\OPTION.INI", "[ProgramData]\r\nOverWriteTimes=5\r\n");
  WriteWholeFile(Installed("OPTION.INI"), "[ProgramData]\r\nOverWriteTimes=4\r\n");

  // The uninstaller runs from a copy of itself, a process of its own.
  ASSERT_EQ(RunToEnd(Quoted(Installed("uninstall.exe"))), 0u);
  Wizard uninstall(WaitWizard(kUninstallCaption), shots);
  ASSERT_TRUE(uninstall.Window());
  ASSERT_TRUE(uninstall.Page("uninstall-1-confirm"));
  uninstall.Next();
  HWND question = WaitMessageBox("OPTION.INI");
  ASSERT_TRUE(question);
  Sleep(300);
  uidrv::Screenshot(question, shots + "\\uninstall-2-keep-settings.png");
  uidrv::Press(question, IDNO);
  ASSERT_TRUE(uninstall.Page("uninstall-3-progress"));
  uninstall.Next();
  ASSERT_TRUE(uninstall.Page("uninstall-4-finish"));
  uninstall.Next();
  EXPECT_TRUE(WaitFor([] { return !RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey); }));
  EXPECT_FALSE(FileExists(InstallDir())) << "answered No: the settings go and the folder with them";
  EXPECT_FALSE(FileExists(settings)) << "answered No: the account's own settings go too";
}

}  // namespace
