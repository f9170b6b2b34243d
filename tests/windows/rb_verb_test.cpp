// The recycle bin's right-click verb on the real registry of the test bed,
// driven through the options dialog's check box, and the start-up probe that
// greys the options when HKEY_CLASSES_ROOT cannot be written.
#include <gtest/gtest.h>

#include "shredder/app/command_line.h"
#include "shredder/app/main_dialog.h"
#include "shredder/resources/resource.h"
#include "shredder/settings/option_dialog.h"
#include "shredder/settings/registry.h"
#include "tests/support/registry_snapshot.h"
#include "tests/support/system_state.h"
#include "tests/support/temp_folder.h"
#include "tests/windows/support/scripted_prompts.h"
#include "winframe/app.h"
#include "winframe/module.h"

namespace {

constexpr char kClass[] = "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}";
const std::string kShell = std::string(kClass) + "\\shell";
const std::string kVerb = kShell + "\\M-Shredder";
const std::string kCommand = kVerb + "\\command";
const std::string kOldVerb = kShell + "\\RBTest";
const std::string kOldCommand = kOldVerb + "\\command";
const std::string kOtherVerb = kShell + "\\OtherTool";
const std::string kOtherCommand = kOtherVerb + "\\command";

constexpr wchar_t kInconsistent[] = L"レジストリが不正です。(一旦，すべて削除します)";
constexpr wchar_t kOldFound[] = L"過去のレジストリが残っているので削除します。";
constexpr wchar_t kNotDeleted[] = L"レジストリが削除できませんでした。";
constexpr wchar_t kNotCreated[] = L"レジストリは作成できませんでした。";

bool Exists(const std::string& key) {
  return RegistryKeyExists(HKEY_CLASSES_ROOT, key);
}

void MakeKey(const std::string& key, const char* text = nullptr) {
  HKEY handle = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr),
            ERROR_SUCCESS);
  if (text) RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), lstrlenA(text) + 1);
  RegCloseKey(handle);
}

// The default value as text; the platform may keep a terminator after it.
std::string DefaultText(const std::string& key) {
  const auto value = ReadRegistryValue(HKEY_CLASSES_ROOT, key, nullptr);
  if (!value) return "<none>";
  EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ)) << key;
  return value->bytes.substr(0, value->bytes.find('\0'));
}

class RBVerbTest : public ::testing::Test {
 protected:
  void SetUp() override { DeleteRegistryTree(HKEY_CLASSES_ROOT, kShell); }
  void TearDown() override { dialog_.Destroy(); }

  // Opens the dialog (modeless, so the test can work its controls in turn).
  void Open() {
    ASSERT_TRUE(dialog_.Create(nullptr));
    ShowWindow(dialog_.Hwnd(), SW_SHOWNA);
  }
  void ClickVerbBox() { SendMessageA(dialog_.Item(IDC_RBVERB), BM_CLICK, 0, 0); }
  bool Checked() { return IsDlgButtonChecked(dialog_.Hwnd(), IDC_RBVERB) == BST_CHECKED; }
  void ExpectOneError(const wchar_t* text) {
    ASSERT_EQ(prompts_.Texts(), std::vector<std::wstring>{text});
    EXPECT_EQ(prompts_.Shown()[0].caption, L"エラー");
    EXPECT_EQ(prompts_.Shown()[0].flags, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(prompts_.Shown()[0].owner, dialog_.Hwnd());
    prompts_.Clear();
  }
  void ExpectOtherToolIntact() {
    EXPECT_EQ(DefaultText(kShell), "OtherTool");
    EXPECT_EQ(DefaultText(kOtherVerb), "Other tool");
    EXPECT_EQ(DefaultText(kOtherCommand), "other.exe \"%1\"");
  }
  void AddOtherTool() {
    MakeKey(kShell, "OtherTool");
    MakeKey(kOtherVerb, "Other tool");
    MakeKey(kOtherCommand, "other.exe \"%1\"");
  }

  RegistryTreeGuard savedShell_{HKEY_CLASSES_ROOT, kShell};
  ScriptedPrompts prompts_;
  COptionDialog dialog_;
};

TEST_F(RBVerbTest, ClickRegistersWithTheQuotedProgramPathAndASecondClickRemovesIt) {
  Open();
  EXPECT_FALSE(Checked());
  ClickVerbBox();
  EXPECT_TRUE(Checked());
  EXPECT_EQ(DefaultText(kShell), "");
  EXPECT_EQ(DefaultText(kVerb), "ごみ箱の中身を完全に抹消");
  std::string quoted = "\"";
  quoted += Ansi(wf::ModulePath().value_or(L"?"));
  quoted += "\" -C";
  EXPECT_EQ(DefaultText(kCommand), quoted);
  const auto stored = ReadRegistryValue(HKEY_CLASSES_ROOT, kCommand, nullptr);
  ASSERT_TRUE(stored);
  EXPECT_LE(stored->bytes.size(), DefaultText(kCommand).size() + 1);

  ClickVerbBox();
  EXPECT_FALSE(Checked());
  EXPECT_FALSE(Exists(kCommand));
  EXPECT_FALSE(Exists(kVerb));
  EXPECT_FALSE(Exists(kShell));
  EXPECT_TRUE(prompts_.Shown().empty());
}

TEST_F(RBVerbTest, AnUnquotedRegistrationOfAnEarlierVersionCountsAsRegistered) {
  MakeKey(kShell, "");
  MakeKey(kVerb, "ごみ箱の中身を完全に抹消");
  MakeKey(kCommand, "C:\\Program Files\\M\\binshredder.exe -C");
  Open();
  EXPECT_TRUE(Checked());
  ClickVerbBox();
  EXPECT_FALSE(Checked());
  EXPECT_FALSE(Exists(kShell));
  EXPECT_TRUE(prompts_.Shown().empty());
}

TEST_F(RBVerbTest, VerbKeyWithoutCommandIsReportedAndRemoved) {
  MakeKey(kShell, "");
  MakeKey(kVerb, "ごみ箱の中身を完全に抹消");
  Open();
  ExpectOneError(kInconsistent);
  EXPECT_FALSE(Checked());
  EXPECT_FALSE(Exists(kVerb));
  EXPECT_FALSE(Exists(kShell));
}

TEST_F(RBVerbTest, KeysOfTheEarlierVersionAreReportedAndRemovedWithOurs) {
  MakeKey(kOldCommand, "C:\\old\\binshredder.exe -C");
  MakeKey(kCommand, "\"C:\\x\\binshredder.exe\" -C");
  Open();
  ExpectOneError(kOldFound);
  EXPECT_FALSE(Checked());
  for (const std::string& key : {kCommand, kVerb, kOldCommand, kOldVerb, kShell}) EXPECT_FALSE(Exists(key)) << key;
  // Registering anew works at once.
  ClickVerbBox();
  EXPECT_TRUE(Checked());
  EXPECT_TRUE(prompts_.Shown().empty());
}

TEST_F(RBVerbTest, BrokenKeysFoundByAClickAreRemovedAndTheVerbWrittenAnew) {
  Open();
  MakeKey(kVerb, "ごみ箱の中身を完全に抹消");  // broken while the dialog is open
  ClickVerbBox();
  ExpectOneError(kInconsistent);
  EXPECT_TRUE(Checked());
  EXPECT_TRUE(Exists(kCommand));
}

TEST_F(RBVerbTest, AnotherProgramsVerbSurvivesEveryClickAndEveryCheck) {
  AddOtherTool();
  Open();
  EXPECT_FALSE(Checked());
  EXPECT_TRUE(prompts_.Shown().empty()) << "another program's verb is no broken registration";
  ClickVerbBox();
  EXPECT_TRUE(Checked());
  ExpectOtherToolIntact();  // its default verb too
  ClickVerbBox();
  EXPECT_FALSE(Checked());
  EXPECT_FALSE(Exists(kVerb));
  ExpectOtherToolIntact();
  EXPECT_TRUE(prompts_.Shown().empty());

  // A broken verb of ours beside it, and then old keys beside it.
  MakeKey(kVerb, "x");
  EXPECT_FALSE(dialog_.CheckRBVerb());
  ExpectOneError(kInconsistent);
  EXPECT_FALSE(Exists(kVerb));
  ExpectOtherToolIntact();
  MakeKey(kOldCommand, "x");
  EXPECT_FALSE(dialog_.CheckRBVerb());
  ExpectOneError(kOldFound);
  EXPECT_FALSE(Exists(kOldVerb));
  ExpectOtherToolIntact();
}

TEST_F(RBVerbTest, KeysThatCannotBeDeletedAreReportedOnceAndTheCheckEnds) {
  // A key with a subkey of its own cannot be deleted.
  MakeKey(kVerb + "\\pinned");
  Open();
  ExpectOneError(kInconsistent);
  EXPECT_FALSE(Checked());
  EXPECT_TRUE(Exists(kVerb));

  DeleteRegistryTree(HKEY_CLASSES_ROOT, kShell);
  MakeKey(kOldCommand + "\\pinned");
  EXPECT_FALSE(dialog_.CheckRBVerb());
  ExpectOneError(kOldFound);
  EXPECT_TRUE(Exists(kOldCommand));
}

TEST_F(RBVerbTest, RemovalFailuresAreEachReportedAndTheBoxStaysChecked) {
  Open();
  ClickVerbBox();
  ASSERT_TRUE(Checked());
  MakeKey(kCommand + "\\pinned");
  ClickVerbBox();
  EXPECT_TRUE(Checked());
  // The command key, hence the verb key, hence the shell key; each with the
  // system's reason.
  const std::wstring denied = WithReason(kNotDeleted, ERROR_ACCESS_DENIED);
  EXPECT_EQ(prompts_.Texts(), (std::vector<std::wstring>{denied, denied, denied}));
}

LSTATUS RefuseCommandKey(HKEY root, const wchar_t* subkey, HKEY* key) {
  if (Wide(kCommand) == subkey) return ERROR_ACCESS_DENIED;
  return RegCreateKeyExW(root, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key, nullptr);
}

TEST_F(RBVerbTest, AFailedWriteIsReportedAndThePartialRegistrationRemoved) {
  Open();
  const settings::KeyCreator previous = settings::SetKeyCreator(RefuseCommandKey);
  ClickVerbBox();
  settings::SetKeyCreator(previous);
  EXPECT_EQ(prompts_.Texts(), (std::vector<std::wstring>{WithReason(kNotCreated, ERROR_ACCESS_DENIED), kInconsistent}));
  EXPECT_EQ(prompts_.Shown()[0].caption, L"情報");
  EXPECT_EQ(prompts_.Shown()[0].flags, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_FALSE(Checked());
  EXPECT_FALSE(Exists(kShell));
}

// ---- the start-up probe

LSTATUS RefuseProbeKey(HKEY root, const wchar_t* subkey, HKEY* key) {
  if (root == HKEY_CLASSES_ROOT) return ERROR_ACCESS_DENIED;
  return RegCreateKeyExW(root, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key, nullptr);
}

std::vector<BYTE> Pixels(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap, sizeof(info), &info)) return {};
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof(format.bmiHeader);
  format.bmiHeader.biWidth = info.bmWidth;
  format.bmiHeader.biHeight = info.bmHeight;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  std::vector<BYTE> pixels(static_cast<std::size_t>(info.bmWidth) * info.bmHeight * 4);
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.data(), &format, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return pixels;
}

TEST(RBWriteProbe, UnwritableClassesRootDisablesTheOptionsButtonAndGreysTheMenu) {
  // The main window routes its own command line; with arguments it would
  // take them for files to shred.
  if (!app::CommandTail(GetCommandLineW()).empty()) GTEST_SKIP() << "run without arguments (filter with GTEST_FILTER)";
  RegistryTreeGuard savedProgramKey(HKEY_CURRENT_USER, "SoftWare\\Brinmoor");
  wf::App app(GetModuleHandleA(nullptr));
  ScriptedPrompts prompts;
  const settings::KeyCreator previous = settings::SetKeyCreator(RefuseProbeKey);
  CMainDialog window;
  ASSERT_TRUE(window.Create(nullptr));
  settings::SetKeyCreator(previous);

  EXPECT_FALSE(IsWindowEnabled(window.Item(IDC_OPTION)));
  const UINT state = GetMenuState(GetMenu(window.Hwnd()), ID_MENU_OPTION, MF_BYCOMMAND);
  EXPECT_TRUE(state & MF_GRAYED) << state;
  const auto shown = reinterpret_cast<HBITMAP>(SendMessageA(window.Item(IDC_OPTION), BM_GETIMAGE, IMAGE_BITMAP, 0));
  wf::GdiObject expected(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_OPTION_DISABLED), IMAGE_BITMAP, 0, 0, 0));
  wf::GdiObject usual(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_OPTION), IMAGE_BITMAP, 0, 0, 0));
  const std::vector<BYTE> pixels = Pixels(shown);
  ASSERT_FALSE(pixels.empty());
  EXPECT_EQ(pixels, Pixels(static_cast<HBITMAP>(expected.Get())));
  EXPECT_NE(pixels, Pixels(static_cast<HBITMAP>(usual.Get())));
  EXPECT_TRUE(prompts.Shown().empty());

  NOTIFYICONDATAW tray = window.TrayIcon();
  Shell_NotifyIconW(NIM_DELETE, &tray);
  window.Destroy();
  RemoveDirectoryW(window.WorkFolder().c_str());
}

}  // namespace
