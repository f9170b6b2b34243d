// The command of Windows 11's first menu, through the library shredmenu.dll
// is made of: its icon, and the selections that hold something other than
// files, which the end-to-end client cannot make. Which command a selection of files
// gets is the end-to-end test's, beside the classic popup's.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "contextmenu/explorer_command.h"
#include "contextmenu/shellext_ids.h"
#include "winframe/handles.h"
#include "winframe/module.h"

namespace {

class ExplorerCommandObject : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ASSERT_EQ(shellext::CreateObject<shellext::ExplorerCommand>(IID_IExplorerCommand,
                                                                reinterpret_cast<void**>(command_.Put())),
              S_OK);
  }
  void TearDown() override {
    command_.Reset();
    CoUninitialize();
  }

  static wf::ComPtr<IShellItemArray> Items(std::vector<PCIDLIST_ABSOLUTE> ids) {
    wf::ComPtr<IShellItemArray> items;
    EXPECT_EQ(SHCreateShellItemArrayFromIDLists(static_cast<UINT>(ids.size()), ids.data(), items.Put()), S_OK);
    return items;
  }

  wf::ComPtr<IExplorerCommand> command_;
};

// The icon Explorer shows beside the command is one the module really holds.
TEST_F(ExplorerCommandObject, TheIconIsTheModulesOwnResource) {
  wchar_t* icon = nullptr;
  ASSERT_EQ(command_->GetIcon(nullptr, &icon), S_OK);
  // Here the library is in the test program, whose resources carry the icon.
  const std::wstring module = wf::ModulePath().value();
  EXPECT_EQ(icon, module + L",-" + std::to_wstring(SHREDMENU_ICON_ID));
  CoTaskMemFree(icon);
  HICON large = nullptr;
  EXPECT_EQ(ExtractIconExW(module.c_str(), -SHREDMENU_ICON_ID, &large, nullptr, 1), 1u);
  if (large) DestroyIcon(large);
}

// An item without a file-system path (Control Panel here; a library, a
// phone) has no place in the hand-off: the command hides and does nothing,
// even beside files. So does a right-click without items.
TEST_F(ExplorerCommandObject, SelectionsWithAnItemThatIsNoFileGetNoCommand) {
  PIDLIST_ABSOLUTE controls = nullptr;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_CONTROLS, &controls), S_OK);
  PIDLIST_ABSOLUTE windows = SHSimpleIDListFromPath(L"C:\\windows");
  ASSERT_TRUE(windows);
  wf::ComPtr<IShellItemArray> mixed = Items({windows, controls});
  wf::ComPtr<IShellItemArray> folder = Items({windows});
  CoTaskMemFree(controls);
  CoTaskMemFree(windows);

  EXPCMDSTATE state = ECS_HIDDEN;
  ASSERT_EQ(command_->GetState(folder.Get(), FALSE, &state), S_OK);
  EXPECT_EQ(state, static_cast<EXPCMDSTATE>(ECS_ENABLED)) << "the folder alone";
  for (IShellItemArray* items : {mixed.Get(), static_cast<IShellItemArray*>(nullptr)}) {
    state = ECS_ENABLED;
    ASSERT_EQ(command_->GetState(items, FALSE, &state), S_OK);
    EXPECT_EQ(state, static_cast<EXPCMDSTATE>(ECS_HIDDEN));
    EXPECT_EQ(command_->Invoke(items, nullptr), E_INVALIDARG);
    wchar_t* title = nullptr;
    ASSERT_EQ(command_->GetTitle(items, &title), S_OK);
    EXPECT_STREQ(title, shellext::kMenuCommandText);
    CoTaskMemFree(title);
  }
}

}  // namespace
