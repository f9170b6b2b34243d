// The handler's menu on a drive, through the library shredmenu.dll is made
// of, initialised with the shell's own data object for a drive of the test
// bed (C:, fixed), as Explorer initialises it. Which drives get the command
// is decided, and tested, on the host.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>

#include "contextmenu/shell_ext.h"
#include "winframe/handles.h"
#include "winframe/text.h"

namespace {

class ShellExtDriveMenu : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override { CoUninitialize(); }

  static wf::ComPtr<IContextMenu> HandlerFor(const wchar_t* root) {
    PIDLIST_ABSOLUTE item = nullptr;
    EXPECT_EQ(SHParseDisplayName(root, nullptr, &item, 0, nullptr), S_OK);
    wf::ComPtr<IShellFolder> parent;
    PCUITEMID_CHILD child = nullptr;
    wf::ComPtr<IDataObject> data;
    if (item && SUCCEEDED(SHBindToParent(item, IID_IShellFolder, reinterpret_cast<void**>(parent.Put()), &child))) {
      parent->GetUIObjectOf(nullptr, 1, &child, IID_IDataObject, nullptr, reinterpret_cast<void**>(data.Put()));
    }
    CoTaskMemFree(item);
    wf::ComPtr<IShellExtInit> init;
    EXPECT_EQ(
        shellext::CreateObject<shellext::RuzeVoriduruShlExt>(IID_IShellExtInit, reinterpret_cast<void**>(init.Put())),
        S_OK);
    EXPECT_EQ(init->Initialize(nullptr, data.Get(), nullptr), S_OK);
    wf::ComPtr<IContextMenu> menu;
    init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(menu.Put()));
    return menu;
  }
};

TEST_F(ShellExtDriveMenu, AFixedDriveGetsTheFreeSpaceCommandAloneAtOffsetOneWithItsHelpText) {
  wf::ComPtr<IContextMenu> handler = HandlerFor(L"C:\\");
  ASSERT_TRUE(handler);
  wf::MenuHandle explorerMenu(CreatePopupMenu());
  // A range too small for offset 1: its identifier would be another handler's.
  EXPECT_EQ(handler->QueryContextMenu(explorerMenu.Get(), 0, 100, 100, CMF_NORMAL), S_OK);
  ASSERT_EQ(handler->QueryContextMenu(explorerMenu.Get(), 0, 100, 200, CMF_NORMAL),
            MAKE_HRESULT(SEVERITY_SUCCESS, 0, 5));
  HMENU popup = GetSubMenu(explorerMenu.Get(), 0);
  ASSERT_TRUE(popup);
  ASSERT_EQ(GetMenuItemCount(popup), 1);
  wchar_t text[128] = {};
  GetMenuStringW(popup, 0, text, 128, MF_BYPOSITION);
  EXPECT_STREQ(text, L"空き領域を完全抹消");
  EXPECT_EQ(GetMenuItemID(popup, 0), 101u);

  const wchar_t kHelp[] = L"MORVANE Shredderでドライブの空き領域を完全に抹消します。";
  ASSERT_EQ(handler->GetCommandString(1, GCS_HELPTEXTW, nullptr, reinterpret_cast<char*>(text), 128), S_OK);
  EXPECT_STREQ(text, kHelp);
  char ansi[128];
  ASSERT_EQ(handler->GetCommandString(1, GCS_HELPTEXTA, nullptr, ansi, sizeof(ansi)), S_OK);
  EXPECT_EQ(ansi, wf::Narrow(kHelp));
  EXPECT_EQ(handler->GetCommandString(0, GCS_HELPTEXTW, nullptr, reinterpret_cast<char*>(text), 128), E_INVALIDARG);
}

}  // namespace
