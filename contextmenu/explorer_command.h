// The command of Windows 11's first right-click menu. Windows lists there
// only commands that implement IExplorerCommand and that a package with
// identity registers (installer/package/AppxManifest.xml.in); it creates
// this class for files, folders and drives. The decisions are the classic
// popup's (menu_choice.h): the same title for the same selection, hidden
// where the popup would not be added, and the same hand-off or free-space
// erase when chosen.
#pragma once

#include <ole2.h>
#include <shobjidl.h>
#include <windows.h>

#include "contextmenu/server_module.h"

namespace shellext {

class ExplorerCommand final : public IExplorerCommand {
 public:
  ExplorerCommand() = default;
  ExplorerCommand(const ExplorerCommand&) = delete;
  ExplorerCommand& operator=(const ExplorerCommand&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IExplorerCommand. Every method reads the selection afresh: Explorer may
  // ask with a different one each time, or with none.
  HRESULT STDMETHODCALLTYPE GetTitle(IShellItemArray* items, LPWSTR* name) override;
  HRESULT STDMETHODCALLTYPE GetIcon(IShellItemArray* items, LPWSTR* icon) override;
  HRESULT STDMETHODCALLTYPE GetToolTip(IShellItemArray* items, LPWSTR* tip) override;
  HRESULT STDMETHODCALLTYPE GetCanonicalName(GUID* name) override;
  HRESULT STDMETHODCALLTYPE GetState(IShellItemArray* items, BOOL okToBeSlow, EXPCMDSTATE* state) override;
  HRESULT STDMETHODCALLTYPE Invoke(IShellItemArray* items, IBindCtx* context) override;
  HRESULT STDMETHODCALLTYPE GetFlags(EXPCMDFLAGS* flags) override;
  HRESULT STDMETHODCALLTYPE EnumSubCommands(IEnumExplorerCommand** commands) override;

 private:
  ~ExplorerCommand() = default;

  ModuleLock moduleLock_;
  ULONG references_ = 0;  // apartment-threaded: one thread calls the object
};

}  // namespace shellext
