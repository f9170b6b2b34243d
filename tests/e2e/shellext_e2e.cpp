// shredmenu.dll as the system meets it: registered and removed by regsvr32,
// created through the registry by a client that plays Explorer's part (Wine's
// own shell does not load context-menu handlers), and handing the selection
// to the program recorded under "Path", started with "-D", or for a drive
// starting it with "-F" and the drive's root.
#include <gtest/gtest.h>
#include <objbase.h>
#include <oleauto.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/handoff_list.h"
#include "common/program_contract.h"
#include "tests/e2e/support/app_folder.h"
#include "tests/support/system_state.h"
#include "tests/support/temp_folder.h"
#include "winframe/handles.h"

// COM interfaces have no virtual destructor by design; the test's data
// object is never deleted through one.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace {

constexpr char kClsidText[] = "{B7847D3E-09F3-11D4-8F6D-0080AD87DD41}";
constexpr char kLibidText[] = "{B7847D31-09F3-11D4-8F6D-0080AD87DD41}";
constexpr char kIidText[] = "{B7847D3D-09F3-11D4-8F6D-0080AD87DD41}";
constexpr CLSID kClsid = {0xB7847D3E, 0x09F3, 0x11D4, {0x8F, 0x6D, 0x00, 0x80, 0xAD, 0x87, 0xDD, 0x41}};
constexpr GUID kLibid = {0xB7847D31, 0x09F3, 0x11D4, {0x8F, 0x6D, 0x00, 0x80, 0xAD, 0x87, 0xDD, 0x41}};
constexpr IID kIid = {0xB7847D3D, 0x09F3, 0x11D4, {0x8F, 0x6D, 0x00, 0x80, 0xAD, 0x87, 0xDD, 0x41}};
constexpr char kProgId[] = "RuzeVoriduru.RuzeVoriduruShlExt.1";
constexpr char kVersionIndependentProgId[] = "RuzeVoriduru.RuzeVoriduruShlExt";
constexpr char kApprovedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
constexpr char kProgramKey[] = "Software\\Brinmoor\\M-Shredder";
constexpr char kHelpText[] = "MORVANE Shredderでファイルを完全に抹消します";
constexpr wchar_t kHelpTextWide[] = L"MORVANE Shredderでファイルを完全に抹消します";

const std::string kFolder = "C:\\e2e\\shellext";
const std::string kDll = kFolder + "\\shredmenu.dll";
const std::string kRecorder = kFolder + "\\recorder\\handoff_recorder.exe";
const std::string kStartsLog = kFolder + "\\recorder\\starts.log";
const std::string kClsidKey = std::string("CLSID\\") + kClsidText;
// The command of Windows 11's first menu, in the same DLL.
constexpr char kCommandClsidText[] = "{5B3B85C7-E5CE-4320-9A57-8D321105CA9E}";
constexpr CLSID kCommandClsid = {0x5B3B85C7, 0xE5CE, 0x4320, {0x9A, 0x57, 0x8D, 0x32, 0x11, 0x05, 0xCA, 0x9E}};
const std::string kCommandClsidKey = std::string("CLSID\\") + kCommandClsidText;
const std::string kTypeLibKey = std::string("TypeLib\\") + kLibidText;
const std::vector<std::string> kSharedKeys = {"CLSID",
                                              "*",
                                              "*\\ShellEx",
                                              "*\\ShellEx\\ContextMenuHandlers",
                                              "Folder",
                                              "Folder\\ShellEx",
                                              "Folder\\ShellEx\\ContextMenuHandlers",
                                              "Drive",
                                              "Drive\\ShellEx",
                                              "Drive\\ShellEx\\ContextMenuHandlers"};
const std::string kFilesHandler = "*\\ShellEx\\ContextMenuHandlers\\RuzeVoriduruShlExt";
const std::string kFolderHandler = "Folder\\ShellEx\\ContextMenuHandlers\\RuzeVoriduruShlExt";
const std::string kDriveHandler = "Drive\\ShellEx\\ContextMenuHandlers\\RuzeVoriduruShlExt";
// Where each kind of item keeps its handlers; another program's handler is
// placed in each, and must outlive ours.
const std::vector<std::string> kHandlerLists = {
    "*\\ShellEx\\ContextMenuHandlers", "Folder\\ShellEx\\ContextMenuHandlers", "Drive\\ShellEx\\ContextMenuHandlers"};

// A fresh copy of the DLL and of the recording stand-in, once per run.
void InstallCopies() {
  static bool installed = false;
  if (installed) return;
  RemoveTree(kFolder);
  CreateDirectoryA("C:\\e2e", nullptr);
  CreateDirectoryA(kFolder.c_str(), nullptr);
  CreateDirectoryA((kFolder + "\\recorder").c_str(), nullptr);
  ASSERT_TRUE(CopyFileA((BuildBinFolder() + "\\shredmenu.dll").c_str(), kDll.c_str(), FALSE));
  ASSERT_TRUE(CopyFileA((BuildBinFolder() + "\\handoff_recorder.exe").c_str(), kRecorder.c_str(), FALSE));
  installed = true;
}

DWORD Regsvr32(const std::string& switches) {
  uidrv::Process process = uidrv::Start("regsvr32.exe " + switches + " \"" + kDll + "\"");
  const DWORD code = uidrv::WaitExit(process, 30000);
  uidrv::Close(process);
  return code;
}

// A REG_SZ value as text, without the terminator the platform may keep.
std::optional<std::string> RegText(HKEY root, const std::string& key, const char* name) {
  const std::optional<RegistryValue> value = ReadRegistryValue(root, key, name);
  if (!value || value->type != REG_SZ) return std::nullopt;
  return value->bytes.substr(0, value->bytes.find('\0'));
}

void SetDefault(const std::string& key, const std::string& text) {
  HKEY handle = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
  RegCloseKey(handle);
}

// Every key and value below `path`, sorted, for comparing registry states.
void Dump(HKEY root, const std::string& path, std::string& out) {
  std::optional<RegistryKeyContents> contents = ReadRegistryKey(root, path);
  if (!contents) {
    out += path + " (none)\n";
    return;
  }
  std::vector<std::string> values;
  for (const auto& [name, value] : contents->values) {
    values.push_back("  " + name + " " + std::to_string(value.type) + " " + value.bytes);
  }
  std::sort(values.begin(), values.end());
  std::sort(contents->subkeys.begin(), contents->subkeys.end());
  out += path + "\n";
  for (const std::string& value : values) out += value + "\n";
  for (const std::string& child : contents->subkeys) Dump(root, path + "\\" + child, out);
}

std::string RegistrationState() {
  std::string state;
  for (const std::string& key : {std::string(kProgId), std::string(kVersionIndependentProgId), kClsidKey,
                                 kCommandClsidKey, kTypeLibKey, std::string("Interface\\") + kIidText}) {
    Dump(HKEY_CLASSES_ROOT, key, state);
  }
  for (const std::string& key : kHandlerLists) Dump(HKEY_CLASSES_ROOT, key, state);
  const std::optional<RegistryValue> approval = ReadRegistryValue(HKEY_LOCAL_MACHINE, kApprovedKey, kClsidText);
  state += "approval " + (approval ? approval->bytes : std::string("(none)")) + "\n";
  return state;
}

class ShellExtRegistration : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallCopies();
    ASSERT_EQ(Regsvr32("/u /s"), 0u);
    for (const std::string& list : kHandlerLists) {
      SetDefault(list + "\\OtherHandler", "{00000000-0000-0000-0000-000000000001}");
    }
  }
  void TearDown() override {
    Regsvr32("/u /s");
    for (const std::string& list : kHandlerLists) DeleteRegistryTree(HKEY_CLASSES_ROOT, list + "\\OtherHandler");
  }
};

TEST_F(ShellExtRegistration, RegisterWritesEveryEntryAndUnregisterRemovesAllButTheSharedKeys) {
  ASSERT_EQ(Regsvr32("/s"), 0u);
  const struct {
    std::string key;
    const char* name;
    std::string text;
  } expected[] = {
      {kProgId, nullptr, "RuzeVoriduruShlExt Class"},
      {std::string(kProgId) + "\\CLSID", nullptr, kClsidText},
      {kVersionIndependentProgId, nullptr, "RuzeVoriduruShlExt Class"},
      {std::string(kVersionIndependentProgId) + "\\CLSID", nullptr, kClsidText},
      {std::string(kVersionIndependentProgId) + "\\CurVer", nullptr, kProgId},
      {kClsidKey, nullptr, "RuzeVoriduruShlExt Class"},
      {kClsidKey + "\\ProgID", nullptr, kProgId},
      {kClsidKey + "\\VersionIndependentProgID", nullptr, kVersionIndependentProgId},
      {kClsidKey + "\\InprocServer32", nullptr, kDll},
      {kClsidKey + "\\InprocServer32", "ThreadingModel", "Apartment"},
      {kClsidKey + "\\TypeLib", nullptr, kLibidText},
      {kCommandClsidKey, nullptr, "MORVANE Shredder Explorer command"},
      {kCommandClsidKey + "\\InprocServer32", nullptr, kDll},
      {kCommandClsidKey + "\\InprocServer32", "ThreadingModel", "Apartment"},
      {kFilesHandler, nullptr, kClsidText},
      {kFolderHandler, nullptr, kClsidText},
      {kDriveHandler, nullptr, kClsidText},
      {kTypeLibKey + "\\1.0", nullptr, "RuzeVoriduru 1.0 Type Library"},
      {kTypeLibKey + (sizeof(void*) == 8 ? "\\1.0\\0\\win64" : "\\1.0\\0\\win32"), nullptr, kDll},
  };
  for (const auto& entry : expected) {
    EXPECT_EQ(RegText(HKEY_CLASSES_ROOT, entry.key, entry.name), entry.text) << entry.key;
  }
  EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, kClsidKey + "\\Programmable"));
  EXPECT_FALSE(ReadRegistryValue(HKEY_CLASSES_ROOT, kClsidKey + "\\Programmable", nullptr)) << "no default value";
  const std::optional<RegistryValue> approval = ReadRegistryValue(HKEY_LOCAL_MACHINE, kApprovedKey, kClsidText);
  ASSERT_TRUE(approval);
  EXPECT_EQ(approval->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(approval->bytes, std::string("RuzeVoriduruShlExt extension", 29));  // with its NUL

  ASSERT_EQ(Regsvr32("/u /s"), 0u);
  for (const std::string& key : {std::string(kProgId), std::string(kVersionIndependentProgId), kClsidKey,
                                 kCommandClsidKey, kFilesHandler, kFolderHandler, kDriveHandler, kTypeLibKey}) {
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, key)) << key;
  }
  for (const std::string& key : kSharedKeys) EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, key)) << key;
  for (const std::string& list : kHandlerLists) {
    EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, list + "\\OtherHandler")) << list;
  }
  EXPECT_FALSE(ReadRegistryValue(HKEY_LOCAL_MACHINE, kApprovedKey, kClsidText));

  // Removing what is gone already is no failure and changes nothing.
  const std::string removed = RegistrationState();
  EXPECT_EQ(Regsvr32("/u /s"), 0u);
  EXPECT_EQ(RegistrationState(), removed);
}

TEST_F(ShellExtRegistration, RegisteringTwiceGivesTheSameStateWithTheForceRemoveKeysRebuilt) {
  ASSERT_EQ(Regsvr32("/s"), 0u);
  const std::string once = RegistrationState();
  SetDefault(kClsidKey + "\\Stale", "left by an older version");
  SetDefault(kFilesHandler + "\\Stale", "left by an older version");
  SetDefault(kDriveHandler + "\\Stale", "left by an older version");
  SetDefault(kCommandClsidKey + "\\Stale", "left by an older version");
  ASSERT_EQ(Regsvr32("/s"), 0u);
  EXPECT_EQ(RegistrationState(), once);
}

// --- A client in Explorer's place ---

template <typename T>
class Ref {
 public:
  Ref() = default;
  ~Ref() { Reset(); }
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;
  T* Get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  void** Put() {
    Reset();
    return reinterpret_cast<void**>(&pointer_);
  }
  void Reset() {
    if (pointer_) pointer_->Release();
    pointer_ = nullptr;
  }

 private:
  T* pointer_ = nullptr;
};

// A selection as Explorer hands it over: a data object with a drop list.
class DropData final : public IDataObject {
 public:
  explicit DropData(std::string block) : block_(std::move(block)) {}
  ~DropData() { EXPECT_EQ(references_, 0) << "the extension kept a reference to the selection"; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDataObject)) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IDataObject*>(this);
    AddRef();
    return S_OK;
  }
  // Lives on the test's stack; the count only checks the balance.
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references_); }

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, block_.size());
    if (!block) return E_OUTOFMEMORY;
    std::copy(block_.begin(), block_.end(), static_cast<char*>(GlobalLock(block)));
    GlobalUnlock(block);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = block;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    const bool offered = !block_.empty() && format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL);
    return offered ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  std::string block_;  // empty: no drop list offered
  int references_ = 0;
};

std::wstring Wide(const std::string& ansi) {
  std::wstring wide(ansi.size(), L'\0');
  wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                                           wide.data(), static_cast<int>(wide.size()))));
  return wide;
}

// A drop list of UTF-16 names, as Explorer makes them.
std::string WideDropList(const std::vector<std::wstring>& names) {
  DROPFILES header{};
  header.pFiles = sizeof(DROPFILES);
  header.fWide = TRUE;
  std::string block(reinterpret_cast<const char*>(&header), sizeof(header));
  for (const std::wstring& name : names) {
    block.append(reinterpret_cast<const char*>(name.c_str()), (name.size() + 1) * sizeof(wchar_t));
  }
  block.append(sizeof(wchar_t), '\0');
  return block;
}

std::string WideDropList(const std::vector<std::string>& ansiNames) {
  std::vector<std::wstring> names;
  for (const std::string& name : ansiNames) names.push_back(Wide(name));
  return WideDropList(names);
}

// A drop list of ANSI names, as older programs make them.
std::string AnsiDropList(const std::vector<std::string>& names) {
  DROPFILES header{};
  header.pFiles = sizeof(DROPFILES);
  std::string block(reinterpret_cast<const char*>(&header), sizeof(header));
  for (const std::string& name : names) block.append(name).append(1, '\0');
  block.append(1, '\0');
  return block;
}

std::optional<std::string> ClipboardBlock(UINT format) {
  // The program the command started may be reading it this moment.
  const wf::ClipboardSession clipboard(nullptr);
  if (!clipboard.IsOpen()) return std::nullopt;
  std::optional<std::string> bytes;
  if (HANDLE block = GetClipboardData(format)) {
    if (const char* data = static_cast<const char*>(GlobalLock(block))) {
      bytes = std::string(data, GlobalSize(block));
      GlobalUnlock(block);
    }
  }
  return bytes;
}

// The hand-off's UTF-16 list on the clipboard, beside its text.
std::optional<std::vector<std::wstring>> ClipboardWideList() {
  const std::optional<std::string> bytes = ClipboardBlock(RegisterClipboardFormatW(contract::kHandOffListFormat));
  if (!bytes) return std::nullopt;
  return handoff::ReadWideListBlock(
      std::wstring(reinterpret_cast<const wchar_t*>(bytes->data()), bytes->size() / sizeof(wchar_t)));
}

// The value as the earlier, ANSI version of binshredder wrote it: REG_SZ,
// counted without a terminator. The extension reads it in UTF-16 all the same.
void SetProgramPath(const std::string& path) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.data()), static_cast<DWORD>(path.size()));
  RegCloseKey(key);
}

std::vector<std::string> RecordedStarts(std::size_t atLeast, int timeoutMs = 15000) {
  std::vector<std::string> lines;
  for (int waited = 0;; waited += 100) {
    lines.clear();
    const std::string log = ReadWholeFile(kStartsLog);
    for (std::size_t at = 0, end; (end = log.find('\n', at)) != std::string::npos; at = end + 1) {
      lines.push_back(log.substr(at, end - at));
    }
    if (lines.size() >= atLeast || waited >= timeoutMs) return lines;
    Sleep(100);
  }
}

// Explorer's part once the handlers have filled `menu`: it is shown at the
// right-click, and the user goes down to the second item, opens its popup and
// takes the popup's first item with the keys the menu's loop reads; the
// screen with the popup open is saved as `picture`. The identifier chosen.
UINT ChooseSecondItemsFirstCommand(HMENU menu, const std::string& picture) {
  HWND window = CreateWindowExW(0, L"STATIC", L"PC", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 320, 220, nullptr,
                                nullptr, nullptr, nullptr);
  std::thread user([window, picture] {
    // Menus are found by class alone: reading a caption would send a message
    // to the thread that waits in the menu.
    const auto waitForMenus = [](std::size_t count) {
      for (int i = 0; i < 150; ++i, Sleep(100)) {
        std::size_t open = 0;
        for (HWND m = nullptr; (m = FindWindowExW(nullptr, m, L"#32768", nullptr)) != nullptr;)
          open += IsWindowVisible(m);
        if (open == count) return;
      }
    };
    waitForMenus(1);
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RIGHT}) PostMessageW(window, WM_KEYDOWN, key, 0);
    waitForMenus(2);
    uidrv::Screenshot(nullptr, picture);
    PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
    waitForMenus(0);
    PostMessageW(window, WM_CANCELMODE, 0, 0);  // ends the menu's loop, whatever happened
  });
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN, 120, 130, 0, window, nullptr));
  user.join();
  DestroyWindow(window);
  return chosen;
}

constexpr char kSentinel[] = "what the user copied before";

class ShellExtClient : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InstallCopies();
    ASSERT_EQ(Regsvr32("/s"), 0u);
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    owner_ = CreateWindowExA(0, "STATIC", "explorer stand-in", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  }
  static void TearDownTestSuite() {
    DestroyWindow(owner_);
    CoUninitialize();
    Regsvr32("/u /s");
  }

  void SetUp() override {
    DeleteFileA(kStartsLog.c_str());
    SetProgramPath(kRecorder);
    ASSERT_TRUE(SetClipboardText(kSentinel));
    a_ = files_.WriteFile("a.txt", "a");
    japanese_ = files_.WriteFile("表示.txt", "b");  // the trail byte of 表 is a backslash
    folder_ = files_ / "フォルダ";
    CreateDirectoryA(folder_.c_str(), nullptr);
  }
  void TearDown() override { DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Brinmoor"); }

  static void Create(Ref<IUnknown>& object) {
    ASSERT_EQ(CoCreateInstance(kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.Put()), S_OK);
  }
  // A new handler, initialised with `selection` as Explorer does it.
  static void CreateFor(const std::string& selection, Ref<IContextMenu>& menu) {
    Ref<IUnknown> object;
    Create(object);
    Ref<IShellExtInit> init;
    ASSERT_EQ(object->QueryInterface(IID_IShellExtInit, init.Put()), S_OK);
    DropData data(selection);
    ASSERT_EQ(init->Initialize(nullptr, &data, nullptr), S_OK);
    ASSERT_EQ(object->QueryInterface(IID_IContextMenu, menu.Put()), S_OK);
  }
  static HRESULT Invoke(IContextMenu* menu, LPCSTR verb) {
    CMINVOKECOMMANDINFO invocation{};
    invocation.cbSize = sizeof(invocation);
    invocation.hwnd = owner_;
    invocation.lpVerb = verb;
    invocation.nShow = SW_SHOWNORMAL;
    return menu->InvokeCommand(&invocation);
  }

  // The real command, after refused ones, is the only start the stand-in
  // ever records: a start by an earlier call would have come before it.
  static void ExpectTheOnlyStartAfterCommandZero(IContextMenu* menu) {
    ASSERT_EQ(Invoke(menu, MAKEINTRESOURCEA(0)), S_OK);
    EXPECT_EQ(RecordedStarts(1).size(), 1u);
    Sleep(500);
    EXPECT_EQ(RecordedStarts(1).size(), 1u);
  }

  static HWND owner_;
  TempFolder files_{"C:\\e2e\\shellext-files"};
  std::string a_;
  std::string japanese_;
  std::string folder_;
};

HWND ShellExtClient::owner_ = nullptr;

TEST_F(ShellExtClient, AnswersItsFourInterfacesInOrderAndNoOthers) {
  Ref<IUnknown> object;
  Create(object);
  // The first interface of the search order also answers IUnknown and
  // IDispatch, so those three are one pointer.
  Ref<IUnknown> first;
  ASSERT_EQ(object->QueryInterface(kIid, first.Put()), S_OK);
  EXPECT_EQ(first.Get(), object.Get());
  for (const IID* iid : {&IID_IDispatch, &IID_IUnknown}) {
    Ref<IUnknown> answer;
    ASSERT_EQ(object->QueryInterface(*iid, answer.Put()), S_OK);
    EXPECT_EQ(answer.Get(), object.Get());
  }
  for (const IID* iid : {&IID_IShellExtInit, &IID_IContextMenu}) {
    Ref<IUnknown> answer;
    ASSERT_EQ(object->QueryInterface(*iid, answer.Put()), S_OK);
    Ref<IUnknown> identity;
    ASSERT_EQ(answer->QueryInterface(IID_IUnknown, identity.Put()), S_OK);
    EXPECT_EQ(identity.Get(), object.Get());
  }
  for (const IID* iid : {&IID_IClassFactory, &IID_IContextMenu2, &IID_IContextMenu3, &IID_IPersist,
                         &IID_IShellPropSheetExt, &IID_IDataObject}) {
    void* answer = reinterpret_cast<void*>(1);
    EXPECT_EQ(object->QueryInterface(*iid, &answer), E_NOINTERFACE);
    EXPECT_EQ(answer, nullptr);
  }
}

TEST_F(ShellExtClient, DispatchDescribesItselfFromTheEmbeddedTypeLibrary) {
  Ref<IUnknown> object;
  Create(object);
  Ref<IDispatch> dispatch;
  ASSERT_EQ(object->QueryInterface(IID_IDispatch, dispatch.Put()), S_OK);
  UINT count = 0;
  ASSERT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
  Ref<ITypeInfo> info;
  ASSERT_EQ(dispatch->GetTypeInfo(0, 0, reinterpret_cast<ITypeInfo**>(info.Put())), S_OK);
  TYPEATTR* type = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&type), S_OK);
  EXPECT_TRUE(IsEqualGUID(type->guid, kIid));
  info->ReleaseTypeAttr(type);

  Ref<ITypeLib> library;
  UINT index = 0;
  ASSERT_EQ(info->GetContainingTypeLib(reinterpret_cast<ITypeLib**>(library.Put()), &index), S_OK);
  TLIBATTR* attributes = nullptr;
  ASSERT_EQ(library->GetLibAttr(&attributes), S_OK);
  EXPECT_TRUE(IsEqualGUID(attributes->guid, kLibid));
  EXPECT_EQ(attributes->wMajorVerNum, 1);
  EXPECT_EQ(attributes->wMinorVerNum, 0);
  library->ReleaseTLibAttr(attributes);
  BSTR help = nullptr;
  ASSERT_EQ(library->GetDocumentation(-1, nullptr, &help, nullptr, nullptr), S_OK);
  EXPECT_STREQ(help, L"RuzeVoriduru 1.0 Type Library");
  SysFreeString(help);
  Ref<ITypeInfo> coclass;
  ASSERT_EQ(library->GetTypeInfoOfGuid(kClsid, reinterpret_cast<ITypeInfo**>(coclass.Put())), S_OK);

  // No automation members of its own.
  wchar_t member[] = L"Shred";
  LPOLESTR names[] = {member};
  DISPID id = 0;
  EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id), DISP_E_UNKNOWNNAME);
  DISPPARAMS none{};
  EXPECT_EQ(dispatch->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(dispatch->GetTypeInfo(1, 0, reinterpret_cast<ITypeInfo**>(info.Put())), DISP_E_BADINDEX);
}

TEST_F(ShellExtClient, MenuGetsOnePopupWithOneCommandAndFiveIdsAreReported) {
  Ref<IContextMenu> menu;
  CreateFor(WideDropList(std::vector<std::string>{a_, japanese_, folder_}), menu);
  HMENU explorerMenu = CreatePopupMenu();
  AppendMenuA(explorerMenu, MF_STRING, 1, "Open");
  AppendMenuA(explorerMenu, MF_STRING, 2, "Delete");

  EXPECT_EQ(menu->QueryContextMenu(explorerMenu, 1, 100, 200, CMF_DEFAULTONLY), S_OK);
  EXPECT_EQ(GetMenuItemCount(explorerMenu), 2);

  EXPECT_EQ(menu->QueryContextMenu(explorerMenu, 1, 100, 200, CMF_NORMAL), MAKE_HRESULT(SEVERITY_SUCCESS, 0, 5));
  ASSERT_EQ(GetMenuItemCount(explorerMenu), 3);
  char text[128] = {};
  GetMenuStringA(explorerMenu, 1, text, sizeof(text), MF_BYPOSITION);
  EXPECT_STREQ(text, "MORVANE Shredder");
  HMENU popup = GetSubMenu(explorerMenu, 1);
  ASSERT_TRUE(popup);
  ASSERT_EQ(GetMenuItemCount(popup), 1);
  GetMenuStringA(popup, 0, text, sizeof(text), MF_BYPOSITION);
  EXPECT_STREQ(text, "ファイルを完全に抹消する");
  EXPECT_EQ(GetMenuItemID(popup, 0), 100u);
  DestroyMenu(explorerMenu);
}

TEST_F(ShellExtClient, HelpTextInAnsiAndUtf16CutToTheBufferAndNoVerb) {
  Ref<IContextMenu> menu;
  CreateFor(WideDropList(std::vector<std::string>{a_}), menu);
  char ansi[128];
  ASSERT_EQ(menu->GetCommandString(0, GCS_HELPTEXTA, nullptr, ansi, sizeof(ansi)), S_OK);
  EXPECT_STREQ(ansi, kHelpText);
  wchar_t wide[128];
  ASSERT_EQ(menu->GetCommandString(0, GCS_HELPTEXTW, nullptr, reinterpret_cast<char*>(wide), 128), S_OK);
  EXPECT_STREQ(wide, kHelpTextWide);

  ASSERT_EQ(menu->GetCommandString(0, GCS_HELPTEXTW, nullptr, reinterpret_cast<char*>(wide), 19), S_OK);
  EXPECT_STREQ(wide, L"MORVANE Shredderでフ");  // 18 characters and the terminator
  ASSERT_EQ(menu->GetCommandString(0, GCS_HELPTEXTA, nullptr, ansi, 5), S_OK);
  EXPECT_STREQ(ansi, "MORV");
  // 17 bytes would end in the first byte of "で": the cut keeps characters whole.
  ASSERT_EQ(menu->GetCommandString(0, GCS_HELPTEXTA, nullptr, ansi, 18), S_OK);
  EXPECT_STREQ(ansi, "MORVANE Shredder");

  for (UINT type : {GCS_VERBA, GCS_VERBW, GCS_VALIDATEA, GCS_VALIDATEW}) {
    EXPECT_EQ(menu->GetCommandString(0, type, nullptr, ansi, sizeof(ansi)), E_INVALIDARG) << type;
  }
  EXPECT_EQ(menu->GetCommandString(1, GCS_HELPTEXTA, nullptr, ansi, sizeof(ansi)), E_INVALIDARG);
}

TEST_F(ShellExtClient, CommandZeroHandsTheExactListOverAndStartsTheProgramWithD) {
  Ref<IContextMenu> menu;
  CreateFor(WideDropList(std::vector<std::string>{a_, japanese_, folder_}), menu);
  ASSERT_EQ(Invoke(menu.Get(), MAKEINTRESOURCEA(0)), S_OK);

  const std::string list = "," + a_ + "," + japanese_ + "," + folder_;
  EXPECT_EQ(ClipboardBlock(CF_TEXT), list + std::string(1, '\0'));
  EXPECT_EQ(ClipboardWideList(), (std::vector<std::wstring>{Wide(a_), Wide(japanese_), Wide(folder_)}));
  EXPECT_FALSE(ClipboardHoldsFiles()) << "a later Paste in Explorer must not copy the files";

  // Started as the shell starts a program for a parameter string, with the
  // list already on the clipboard.
  const std::vector<std::string> starts = RecordedStarts(1);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0], "\"" + kRecorder + "\" -D\t" + list);
}

// A right-click on drive C: of This PC, as Explorer plays it through: the
// popup's command (the free-space erase) starts the program with exactly -F
// and the drive's root, and leaves the clipboard alone.
TEST_F(ShellExtClient, ADriveOffersTheFreeSpaceEraseThatStartsTheProgramWithTheDrivesRoot) {
  Ref<IContextMenu> menu;
  CreateFor(WideDropList(std::vector<std::wstring>{L"C:\\"}), menu);
  HMENU explorerMenu = CreatePopupMenu();
  AppendMenuW(explorerMenu, MF_STRING, 1, L"開く(&O)");
  AppendMenuW(explorerMenu, MF_STRING, 2, L"プロパティ(&R)");
  ASSERT_EQ(menu->QueryContextMenu(explorerMenu, 1, 100, 200, CMF_NORMAL), MAKE_HRESULT(SEVERITY_SUCCESS, 0, 5));
  const std::string screenshots = BuildBinFolder() + "\\..\\screenshots";
  CreateDirectoryA(screenshots.c_str(), nullptr);
  const UINT chosen = ChooseSecondItemsFirstCommand(explorerMenu, screenshots + "\\context-menu-drive.png");
  DestroyMenu(explorerMenu);
  ASSERT_GE(chosen, 100u);
  ASSERT_EQ(Invoke(menu.Get(), MAKEINTRESOURCEA(chosen - 100)), S_OK);

  const std::vector<std::string> starts = RecordedStarts(1);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0], "\"" + kRecorder + "\" -F \"C:\\\"\t" + kSentinel);
}

TEST_F(ShellExtClient, VerbsAndOffsetsAboveFourAreRefusedAndOffsetsOneToFourHandNothingOff) {
  Ref<IContextMenu> menu;
  CreateFor(WideDropList(std::vector<std::string>{a_}), menu);
  EXPECT_EQ(Invoke(menu.Get(), "shred"), E_INVALIDARG);
  EXPECT_EQ(Invoke(menu.Get(), MAKEINTRESOURCEA(5)), E_INVALIDARG);
  EXPECT_EQ(Invoke(menu.Get(), MAKEINTRESOURCEA(0xFFFF)), E_INVALIDARG);
  for (WORD offset = 1; offset <= 4; ++offset) EXPECT_EQ(Invoke(menu.Get(), MAKEINTRESOURCEA(offset)), S_OK);
  EXPECT_EQ(ClipboardText(), kSentinel);
  EXPECT_FALSE(ClipboardWideList());

  ExpectTheOnlyStartAfterCommandZero(menu.Get());
}

TEST_F(ShellExtClient, ProgramPathThatCannotBeStartedLeavesTheClipboardAloneAndStartsNothing) {
  Ref<IContextMenu> menu;
  CreateFor(WideDropList(std::vector<std::string>{a_}), menu);
  const std::string unusable[] = {
      "",                                       // empty
      "C:\\" + std::string(296, 'p') + ".exe",  // long, and no such file
      kFolder + "\\recorder\\absent.exe",       // no such file
      kFolder + "\\recorder",                   // a folder
      "handoff_recorder.exe",                   // relative: whatever the working folder holds
  };
  DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Brinmoor");
  EXPECT_EQ(Invoke(menu.Get(), MAKEINTRESOURCEA(0)), S_OK);
  EXPECT_EQ(ClipboardText(), kSentinel) << "no Path value";
  for (const std::string& path : unusable) {
    SetProgramPath(path);
    EXPECT_EQ(Invoke(menu.Get(), MAKEINTRESOURCEA(0)), S_OK);
    EXPECT_EQ(ClipboardText(), kSentinel) << path;
    EXPECT_FALSE(ClipboardWideList()) << path;
  }
  SetProgramPath(kRecorder);
  ExpectTheOnlyStartAfterCommandZero(menu.Get());
}

TEST_F(ShellExtClient, InitializeTwiceAppendsAndSelectionsWithoutFilesAreRefused) {
  Ref<IUnknown> object;
  Create(object);
  Ref<IShellExtInit> init;
  ASSERT_EQ(object->QueryInterface(IID_IShellExtInit, init.Put()), S_OK);
  {
    DropData none("");
    DropData empty(AnsiDropList({}));
    EXPECT_EQ(init->Initialize(nullptr, &none, nullptr), E_INVALIDARG);
    EXPECT_EQ(init->Initialize(nullptr, &empty, nullptr), E_INVALIDARG);
    EXPECT_EQ(init->Initialize(nullptr, nullptr, nullptr), E_INVALIDARG);
  }
  Ref<IContextMenu> menu;
  ASSERT_EQ(object->QueryInterface(IID_IContextMenu, menu.Put()), S_OK);
  EXPECT_EQ(Invoke(menu.Get(), MAKEINTRESOURCEA(0)), S_OK);
  EXPECT_EQ(ClipboardText(), kSentinel) << "an empty selection hands nothing off";

  DropData first(AnsiDropList({a_}));
  DropData second(WideDropList(std::vector<std::string>{japanese_}));
  EXPECT_EQ(init->Initialize(nullptr, &first, nullptr), S_OK);
  EXPECT_EQ(init->Initialize(nullptr, &second, nullptr), S_OK);
  ASSERT_EQ(Invoke(menu.Get(), MAKEINTRESOURCEA(0)), S_OK);
  EXPECT_EQ(ClipboardText(), "," + a_ + "," + japanese_);
}

// Every name reaches the shredder as the file system has it: in the UTF-16
// list, whatever the code page can spell and however long. The text beside
// it spells with '?' what it cannot, never with a look-alike ("foö.txt" as
// "foo.txt", which exists and was not chosen), and a comma in a name is only
// a comma there.
TEST_F(ShellExtClient, EveryNameArrivesWholeInTheUtf16ListAndTheTextNeverNamesALookAlike) {
  files_.WriteFile("foo.txt", "not chosen");
  files_.WriteFile("a", "a bystander");
  const std::wstring unspellable = files_.WidePath() + L"\\fo\u00F6.txt";
  const std::wstring emoji = files_.WidePath() + L"\\\U0001F600.txt";
  const std::wstring longName = files_.WidePath() + L"\\" + std::wstring(250, L'x') + L".txt";
  const std::wstring comma = files_.WidePath() + L"\\a,b.txt";
  Ref<IContextMenu> menu;
  const std::vector<std::wstring> chosen = {unspellable, emoji, Wide(a_), longName, comma};
  CreateFor(WideDropList(chosen), menu);
  ASSERT_EQ(Invoke(menu.Get(), MAKEINTRESOURCEA(0)), S_OK);
  EXPECT_EQ(ClipboardWideList(), chosen);
  const std::string text = ClipboardText().value_or("");
  EXPECT_EQ(text.find(files_.Path() + "\\foo.txt"), std::string::npos);
  EXPECT_EQ(text.rfind(std::string(1, ',').append(files_.Path()).append("\\fo?.txt,"), 0), 0u);
  EXPECT_NE(text.find(std::string(1, ',').append(a_).append(1, ',').append(Ansi(longName))), std::string::npos);
  EXPECT_FALSE(ClipboardHoldsFiles());
}

// A programmatic caller may pass no window; the clipboard then needs one of
// the extension's own, or emptying it would leave nothing placeable.
TEST_F(ShellExtClient, WithoutAnOwnerWindowTheListIsStillPlacedAndTheProgramStarted) {
  Ref<IContextMenu> menu;
  CreateFor(WideDropList(std::vector<std::string>{a_}), menu);
  CMINVOKECOMMANDINFO invocation{};
  invocation.cbSize = sizeof(invocation);
  invocation.lpVerb = MAKEINTRESOURCEA(0);
  ASSERT_EQ(menu->InvokeCommand(&invocation), S_OK);
  EXPECT_EQ(ClipboardText(), "," + a_);
  EXPECT_EQ(ClipboardWideList(), std::vector<std::wstring>{Wide(a_)});
  // Started, with the list already on the clipboard (an earlier test's start
  // may still be arriving in the log).
  const std::string started = "\"" + kRecorder + "\" -D\t," + a_;
  std::vector<std::string> starts;
  for (int i = 0; i < 50 && std::find(starts.begin(), starts.end(), started) == starts.end(); ++i) {
    starts = RecordedStarts(starts.size() + 1, 200);
  }
  EXPECT_NE(std::find(starts.begin(), starts.end(), started), starts.end());
}

TEST_F(ShellExtClient, ExportsByOrdinalAndUnloadOnlyWithoutObjectsOrServerLocks) {
  Ref<IUnknown> object;
  Create(object);
  HMODULE module = LoadLibraryA(kDll.c_str());  // held for the test, whatever COM does
  ASSERT_TRUE(module);
  const char* names[] = {"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer", "DllUnregisterServer"};
  for (WORD ordinal = 1; ordinal <= 4; ++ordinal) {
    EXPECT_EQ(GetProcAddress(module, MAKEINTRESOURCEA(ordinal)), GetProcAddress(module, names[ordinal - 1]))
        << names[ordinal - 1];
  }
  using CanUnload = HRESULT(STDAPICALLTYPE*)();
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  const auto canUnload =
      reinterpret_cast<CanUnload>(reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(1))));
  const auto getClassObject =
      reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(2))));
  ASSERT_TRUE(canUnload && getClassObject);

  EXPECT_EQ(canUnload(), S_FALSE) << "a handler is alive";
  object.Reset();
  EXPECT_EQ(canUnload(), S_OK);

  Ref<IClassFactory> factory;
  ASSERT_EQ(getClassObject(kClsid, IID_IClassFactory, factory.Put()), S_OK);
  ASSERT_EQ(factory->LockServer(TRUE), S_OK);
  factory.Reset();
  EXPECT_EQ(canUnload(), S_FALSE) << "LockServer(TRUE)";
  ASSERT_EQ(getClassObject(kClsid, IID_IClassFactory, factory.Put()), S_OK);
  ASSERT_EQ(factory->LockServer(FALSE), S_OK);
  factory.Reset();
  EXPECT_EQ(canUnload(), S_OK);
  FreeLibrary(module);
}

TEST_F(ShellExtClient, TheChosenFilesAreErasedTheirLookAlikesKeptAndTheFolderDeclined) {
  AppFolder app("shellext hand-off");
  SetProgramPath(app.Exe());  // the folder's constructor cleared the value
  const std::string bystander = files_.WriteFile("a", "never chosen");
  const std::string lookAlike = files_.WriteFile("resume.txt", "never chosen");
  const std::string comma = files_.WriteFile("a,b.txt", "chosen");
  const std::wstring accented = files_.WriteFile(L"résumé.txt", "chosen");
  Ref<IContextMenu> menu;
  CreateFor(WideDropList(std::vector<std::wstring>{Wide(japanese_), Wide(comma), accented, Wide(folder_)}), menu);
  ASSERT_EQ(Invoke(menu.Get(), MAKEINTRESOURCEA(0)), S_OK);

  HWND question = uidrv::WaitDialog("確認");
  ASSERT_TRUE(question);
  EXPECT_EQ(uidrv::MessageText(question), "選択されたファイルを完全に抹消しますか？");
  uidrv::Press(question, IDYES);
  ASSERT_TRUE(uidrv::WaitGone(question));
  HWND declined = uidrv::WaitDialog("情報");
  ASSERT_TRUE(declined);
  EXPECT_EQ(uidrv::MessageText(declined), "\"" + folder_ + "\" はフォルダのため処理しません。");
  uidrv::Press(declined, IDOK);
  ASSERT_TRUE(uidrv::WaitGone(declined));
  HWND result = uidrv::WaitDialog("情報");
  ASSERT_TRUE(result);
  EXPECT_EQ(uidrv::MessageText(result), "3 個のファイルを完全に抹消しました。");
  uidrv::Press(result, IDOK);
  EXPECT_TRUE(uidrv::WaitGone(result));

  EXPECT_FALSE(FileExists(japanese_));
  EXPECT_FALSE(FileExists(comma));
  EXPECT_FALSE(FileExists(accented));
  EXPECT_EQ(ReadWholeFile(lookAlike), "never chosen");
  EXPECT_TRUE(FileExists(bystander));
  EXPECT_TRUE(FileExists(folder_));
  EXPECT_TRUE(FileExists(a_)) << "not selected";
  EXPECT_FALSE(ClipboardText()) << "the list is consumed";
}

// --- Windows 11's first menu: the command, as Explorer drives it ---

// A selection as Windows 11's menu hands it to the command: shell items,
// made from paths that need not exist (a share nobody serves here).
void ItemsFor(const std::vector<std::wstring>& paths, Ref<IShellItemArray>& items) {
  std::vector<PIDLIST_ABSOLUTE> ids;
  for (const std::wstring& path : paths) ids.push_back(SHSimpleIDListFromPath(path.c_str()));
  const bool made =
      std::all_of(ids.begin(), ids.end(), [](PIDLIST_ABSOLUTE id) { return id != nullptr; }) &&
      SHCreateShellItemArrayFromIDLists(static_cast<UINT>(ids.size()), const_cast<PCIDLIST_ABSOLUTE*>(ids.data()),
                                        reinterpret_cast<IShellItemArray**>(items.Put())) == S_OK;
  for (PIDLIST_ABSOLUTE id : ids) CoTaskMemFree(id);
  ASSERT_TRUE(made) << Ansi(paths.front());
}

class ExplorerCommandClient : public ShellExtClient {
 protected:
  // The classic popup's command for the same selection, handed over as a
  // drop list; nothing when it adds no popup.
  static std::optional<std::wstring> ClassicCommand(const std::vector<std::wstring>& selection) {
    Ref<IContextMenu> classic;
    CreateFor(WideDropList(selection), classic);
    HMENU menu = CreatePopupMenu();
    const HRESULT added = classic->QueryContextMenu(menu, 0, 100, 200, CMF_NORMAL);
    std::optional<std::wstring> command;
    if (added == MAKE_HRESULT(SEVERITY_SUCCESS, 0, 5)) {
      wchar_t text[128] = {};
      GetMenuStringW(GetSubMenu(menu, 0), 0, text, 128, MF_BYPOSITION);
      command = text;
    }
    DestroyMenu(menu);
    return command;
  }
};

// Each selection gets the command the classic popup shows for it, under the
// same title, or none where the popup adds nothing; chosen, it starts the
// program exactly as the popup's command does, and the program finds the
// same list on the clipboard.
TEST_F(ExplorerCommandClient, EachSelectionGetsTheClassicPopupsCommandAndInvokeStartsTheProgramWithTheSameList) {
  // On the bed's network drive: Wine's shell makes no item of a UNC path.
  const std::wstring network = L"Y:\\共有\\報告.txt";
  const std::string filesCommand = "\"" + kRecorder + "\" -D\t,";
  const struct {
    const char* what;
    std::vector<std::wstring> selection;
    const wchar_t* title;  // nullptr: hidden
    std::string start;     // the raw command line and the clipboard text the program found
  } cases[] = {
      {"two files", {Wide(a_), Wide(japanese_)}, L"ファイルを完全に抹消する", filesCommand + a_ + "," + japanese_},
      {"a folder", {Wide(folder_)}, L"ファイルを完全に抹消する", filesCommand + folder_},
      {"a fixed drive", {L"C:\\"}, L"空き領域を完全抹消", "\"" + kRecorder + "\" -F \"C:\\\"\t" + kSentinel},
      {"a network drive", {L"Y:\\"}, nullptr, ""},
      {"a network path", {network}, L"ファイルを完全に抹消する", filesCommand + Ansi(network)},
      {"files, a folder and a drive",
       {Wide(a_), Wide(folder_), L"C:\\"},
       L"ファイルを完全に抹消する",
       filesCommand + a_ + "," + folder_ + ",C:\\"},
  };
  // One object for every selection, as Explorer keeps it.
  Ref<IExplorerCommand> command;
  ASSERT_EQ(CoCreateInstance(kCommandClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IExplorerCommand, command.Put()), S_OK);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    DeleteFileA(kStartsLog.c_str());
    ASSERT_TRUE(SetClipboardText(kSentinel));
    Ref<IShellItemArray> items;
    ItemsFor(c.selection, items);
    if (HasFatalFailure()) continue;
    const std::optional<std::wstring> classic = ClassicCommand(c.selection);
    EXPECT_EQ(classic, c.title ? std::optional<std::wstring>(c.title) : std::nullopt);

    EXPCMDSTATE state = 0xFF;
    ASSERT_EQ(command->GetState(items.Get(), FALSE, &state), S_OK);
    EXPECT_EQ(state, static_cast<EXPCMDSTATE>(c.title ? ECS_ENABLED : ECS_HIDDEN));
    wchar_t* title = nullptr;
    ASSERT_EQ(command->GetTitle(items.Get(), &title), S_OK);
    if (c.title) {
      EXPECT_STREQ(title, c.title);
    }
    CoTaskMemFree(title);

    ASSERT_EQ(command->Invoke(items.Get(), nullptr), S_OK);
    if (!c.title) {
      EXPECT_EQ(RecordedStarts(1, 1000), std::vector<std::string>{}) << "a hidden command starts nothing";
      EXPECT_EQ(ClipboardText(), kSentinel);
      continue;
    }
    EXPECT_EQ(RecordedStarts(1), std::vector<std::string>{c.start});
    if (c.start.find(" -D\t") != std::string::npos) {
      EXPECT_EQ(ClipboardWideList(), c.selection);
    }
  }
}

}  // namespace
