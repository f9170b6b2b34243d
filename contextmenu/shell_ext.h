// RuzeVoriduruShlExt: the context-menu handler Explorer creates for a
// right-click on files, folders and drives. It collects the selection, adds
// the "MORVANE Shredder" popup with the command menu_choice.h picks for it,
// and hands the selection to binshredder, or starts the free-space erase of
// the drive.
#pragma once

#include <ole2.h>
#include <shlobj.h>
#include <windows.h>

#include <string>
#include <vector>

#include "contextmenu/menu_choice.h"
#include "contextmenu/server_module.h"
#include "winframe/handles.h"

namespace shellext {

// The dual interface of the type library; it has no members of its own.
struct IRuzeVoriduruShl : public IDispatch {};

class RuzeVoriduruShlExt final : public IRuzeVoriduruShl, public IShellExtInit, public IContextMenu {
 public:
  RuzeVoriduruShlExt() = default;
  RuzeVoriduruShlExt(const RuzeVoriduruShlExt&) = delete;
  RuzeVoriduruShlExt& operator=(const RuzeVoriduruShlExt&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch: type information from the embedded type library; no members.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** typeInfo) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* dispIds) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispId, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

  // IShellExtInit
  HRESULT STDMETHODCALLTYPE Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY progIdKey) override;

  // IContextMenu
  HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU menu, UINT index, UINT firstId, UINT lastId, UINT flags) override;
  HRESULT STDMETHODCALLTYPE InvokeCommand(CMINVOKECOMMANDINFO* invocation) override;
  HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR commandOffset, UINT type, UINT* reserved, CHAR* name,
                                             UINT capacity) override;

 private:
  ~RuzeVoriduruShlExt() = default;

  HRESULT AppendDropList(const STGMEDIUM& medium);
  HRESULT LoadTypeInfo();
  // Asked afresh at every call: Explorer may invoke a command without
  // having built the menu, and a drive may have gone meanwhile.
  MenuChoice Choice() const;
  HRESULT AddPopup(HMENU menu, UINT index, UINT firstId, UINT lastId);

  ModuleLock moduleLock_;
  ULONG references_ = 0;  // apartment-threaded: one thread calls the object
  std::vector<std::wstring> paths_;
  wf::ComPtr<ITypeInfo> typeInfo_;
};

}  // namespace shellext
