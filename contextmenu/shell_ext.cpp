#include "contextmenu/shell_ext.h"

#include <oleauto.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "contextmenu/menu_platform.h"
#include "contextmenu/server_module.h"
#include "contextmenu/shellext_ids.h"
#include "winframe/handles.h"
#include "winframe/module.h"
#include "winframe/text.h"

namespace shellext {
namespace {

// The longest start of `text` (in the system's code page) of at most
// `limit` bytes that ends on a character boundary, so a cut never leaves
// half a double-byte character.
std::size_t CutAtCharacter(std::string_view text, std::size_t limit) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t width = IsDBCSLeadByte(static_cast<BYTE>(text[end])) && end + 1 < text.size() ? 2 : 1;
    if (end + width > limit) break;
    end += width;
  }
  return end;
}

}  // namespace

HRESULT RuzeVoriduruShlExt::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  // Searched in this order; the first also answers IUnknown.
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, kIidRuzeVoriduruShl)) {
    *object = static_cast<IRuzeVoriduruShl*>(this);
  } else if (IsEqualIID(riid, IID_IDispatch)) {
    *object = static_cast<IDispatch*>(this);
  } else if (IsEqualIID(riid, IID_IShellExtInit)) {
    *object = static_cast<IShellExtInit*>(this);
  } else if (IsEqualIID(riid, IID_IContextMenu)) {
    *object = static_cast<IContextMenu*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG RuzeVoriduruShlExt::AddRef() {
  return ++references_;
}

ULONG RuzeVoriduruShlExt::Release() {
  const ULONG references = --references_;
  if (references == 0) delete this;
  return references;
}

// --- IDispatch ---

HRESULT RuzeVoriduruShlExt::LoadTypeInfo() {
  if (typeInfo_) return S_OK;
  const std::optional<std::wstring> module = wf::ModulePath(ModuleInstance());
  if (!module) return TYPE_E_CANTLOADLIBRARY;
  wf::ComPtr<ITypeLib> library;
  const HRESULT result = LoadTypeLibEx(module->c_str(), REGKIND_NONE, library.Put());
  if (FAILED(result)) return result;
  return library->GetTypeInfoOfGuid(kIidRuzeVoriduruShl, typeInfo_.Put());
}

HRESULT RuzeVoriduruShlExt::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT RuzeVoriduruShlExt::GetTypeInfo(UINT index, LCID, ITypeInfo** typeInfo) {
  if (!typeInfo) return E_POINTER;
  *typeInfo = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  const HRESULT result = AtComBoundary([this] { return LoadTypeInfo(); });
  if (FAILED(result)) return result;
  *typeInfo = typeInfo_.AddRefed();
  return S_OK;
}

HRESULT RuzeVoriduruShlExt::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* dispIds) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  const HRESULT result = AtComBoundary([this] { return LoadTypeInfo(); });
  if (FAILED(result)) return result;
  return DispGetIDsOfNames(typeInfo_.Get(), names, count, dispIds);
}

HRESULT RuzeVoriduruShlExt::Invoke(DISPID dispId, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT* argumentError) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  const HRESULT loaded = AtComBoundary([this] { return LoadTypeInfo(); });
  if (FAILED(loaded)) return loaded;
  return DispInvoke(static_cast<IRuzeVoriduruShl*>(this), typeInfo_.Get(), dispId, flags, params, result, exception,
                    argumentError);
}

// --- IShellExtInit ---

HRESULT RuzeVoriduruShlExt::Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY) {
  if (!data) return E_INVALIDARG;
  FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (FAILED(data->GetData(&format, &medium))) return E_INVALIDARG;
  const HRESULT result = AtComBoundary([&] { return AppendDropList(medium); });
  ReleaseStgMedium(&medium);
  return result;
}

HRESULT RuzeVoriduruShlExt::AppendDropList(const STGMEDIUM& medium) {
  if (medium.tymed != TYMED_HGLOBAL || !medium.hGlobal) return E_INVALIDARG;
  wf::GlobalLockGuard lock(medium.hGlobal);
  if (!lock) return E_INVALIDARG;
  HDROP drop = static_cast<HDROP>(medium.hGlobal);
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  if (count == 0) return E_INVALIDARG;
  // In UTF-16 and in full, however long: a name the ANSI code page cannot
  // spell, or a cut one, could name another file.
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    if (length == 0) continue;
    std::wstring name(length + 1, L'\0');
    name.resize(DragQueryFileW(drop, i, name.data(), length + 1));
    if (!name.empty()) paths_.push_back(std::move(name));
  }
  return paths_.empty() ? E_INVALIDARG : S_OK;
}

// --- IContextMenu ---

MenuChoice RuzeVoriduruShlExt::Choice() const {
  return PlatformChoice(paths_);
}

HRESULT RuzeVoriduruShlExt::QueryContextMenu(HMENU menu, UINT index, UINT firstId, UINT lastId, UINT flags) {
  if (flags & CMF_DEFAULTONLY) return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
  return AtComBoundary([&] { return AddPopup(menu, index, firstId, lastId); });
}

HRESULT RuzeVoriduruShlExt::AddPopup(HMENU menu, UINT index, UINT firstId, UINT lastId) {
  if (ClassicMenuStepsAside(paths_, WindowsBuild(), MenuPackageRegistered()))
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
  const MenuChoice choice = Choice();
  const UINT offset = CommandOffset(choice.command);
  // An identifier past the range would be another handler's.
  if (choice.command == MenuCommand::None || lastId < firstId || lastId - firstId < offset) {
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
  }
  wf::MenuHandle popup(CreateMenu());
  if (popup) InsertMenuW(popup.Get(), 0, MF_BYPOSITION | MF_STRING, firstId + offset, CommandText(choice.command));
  if (!InsertMenuW(menu, index, MF_BYPOSITION | MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup.Get()),
                   kMenuPopupText)) {
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
  }
  popup.Release();  // the menu owns its popup now
  return MAKE_HRESULT(SEVERITY_SUCCESS, 0, kCommandIdsUsed);
}

HRESULT RuzeVoriduruShlExt::GetCommandString(UINT_PTR commandOffset, UINT type, UINT*, CHAR* name, UINT capacity) {
  // Only help text: the commands have no verbs, and there is nothing to validate.
  if (!(type & GCS_HELPTEXTA)) return E_INVALIDARG;
  if (!name || capacity == 0) return E_INVALIDARG;
  return AtComBoundary([&] {
    // Only for the item the popup shows for this selection.
    const MenuChoice choice = Choice();
    if (choice.command == MenuCommand::None || commandOffset != CommandOffset(choice.command)) return E_INVALIDARG;
    const wchar_t* text = CommandHelpText(choice.command);
    if (type & GCS_UNICODE) {
      const int characters = static_cast<int>(std::min<UINT>(capacity, 0x7FFFFFFF));
      lstrcpynW(reinterpret_cast<wchar_t*>(name), text, characters);
    } else {
      // As the system's code page spells it ('?' where it cannot).
      const std::string help = wf::Narrow(text);
      const std::size_t length = CutAtCharacter(help, capacity - 1);
      std::memcpy(name, help.data(), length);
      name[length] = '\0';
    }
    return S_OK;
  });
}

HRESULT RuzeVoriduruShlExt::InvokeCommand(CMINVOKECOMMANDINFO* invocation) {
  if (!invocation) return E_INVALIDARG;
  // A verb string instead of a command offset: the command has no verb.
  if (!IS_INTRESOURCE(invocation->lpVerb)) return E_INVALIDARG;
  const UINT offset = LOWORD(reinterpret_cast<UINT_PTR>(invocation->lpVerb));
  if (offset >= kCommandIdsUsed) return E_INVALIDARG;
  AtComBoundary([&] {
    // An offset that carries no item for this selection does nothing.
    const MenuChoice choice = Choice();
    if (choice.command != MenuCommand::None && offset == CommandOffset(choice.command)) {
      CarryOut(choice, invocation->hwnd, paths_);
    }
    return S_OK;
  });
  return S_OK;
}

}  // namespace shellext
