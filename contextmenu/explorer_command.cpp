#include "contextmenu/explorer_command.h"

#include <shlwapi.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "contextmenu/menu_platform.h"
#include "contextmenu/shellext_ids.h"
#include "winframe/handles.h"
#include "winframe/module.h"

namespace shellext {
namespace {

struct TaskMemoryFree {
  void operator()(wchar_t* text) const { CoTaskMemFree(text); }
};
using TaskMemoryText = std::unique_ptr<wchar_t, TaskMemoryFree>;

// The file-system paths of the selection, read from the items' IDs in
// memory. Nothing when there is no selection or an item has no such path
// (a library, a phone, Control Panel): the hand-off could only name part of
// what was chosen, and Explorer's drop list of such a selection, which the
// classic popup reads, has none either.
std::optional<std::vector<std::wstring>> SelectedPaths(IShellItemArray* items) {
  DWORD count = 0;
  if (!items || FAILED(items->GetCount(&count)) || count == 0) return std::nullopt;
  std::vector<std::wstring> paths;
  paths.reserve(count);
  for (DWORD i = 0; i < count; ++i) {
    wf::ComPtr<IShellItem> item;
    wchar_t* name = nullptr;
    if (FAILED(items->GetItemAt(i, item.Put())) || FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &name))) {
      return std::nullopt;
    }
    const TaskMemoryText owned(name);
    if (!name || name[0] == L'\0') return std::nullopt;
    paths.emplace_back(name);
  }
  return paths;
}

MenuChoice ChoiceFor(IShellItemArray* items) {
  const std::optional<std::vector<std::wstring>> paths = SelectedPaths(items);
  return paths ? PlatformChoice(*paths) : MenuChoice{};
}

// A copy for the caller, who frees it with CoTaskMemFree.
HRESULT CopyOut(const wchar_t* text, LPWSTR* out) {
  return SHStrDupW(text, out);
}

}  // namespace

HRESULT ExplorerCommand::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IExplorerCommand)) {
    *object = static_cast<IExplorerCommand*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG ExplorerCommand::AddRef() {
  return ++references_;
}

ULONG ExplorerCommand::Release() {
  const ULONG references = --references_;
  if (references == 0) delete this;
  return references;
}

// A selection that gets no command still has a title, the file command's:
// the title is asked for before the state.
HRESULT ExplorerCommand::GetTitle(IShellItemArray* items, LPWSTR* name) {
  if (!name) return E_POINTER;
  *name = nullptr;
  return AtComBoundary([&] { return CopyOut(CommandText(ChoiceFor(items).command), name); });
}

HRESULT ExplorerCommand::GetIcon(IShellItemArray*, LPWSTR* icon) {
  if (!icon) return E_POINTER;
  *icon = nullptr;
  return AtComBoundary([&] {
    // "<module>,-<id>": the icon resource of this very DLL, wherever it is.
    const std::optional<std::wstring> module = wf::ModulePath(ModuleInstance());
    if (!module) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    return CopyOut((*module + L",-" + std::to_wstring(SHREDMENU_ICON_ID)).c_str(), icon);
  });
}

HRESULT ExplorerCommand::GetToolTip(IShellItemArray* items, LPWSTR* tip) {
  if (!tip) return E_POINTER;
  *tip = nullptr;
  return AtComBoundary([&] { return CopyOut(CommandHelpText(ChoiceFor(items).command), tip); });
}

HRESULT ExplorerCommand::GetCanonicalName(GUID* name) {
  if (!name) return E_POINTER;
  *name = kCommandClsid;
  return S_OK;
}

// Fast whatever `okToBeSlow` says: the names come from the items' IDs, and
// only a single drive root asks for its drive type, which the system keeps
// in memory.
HRESULT ExplorerCommand::GetState(IShellItemArray* items, BOOL, EXPCMDSTATE* state) {
  if (!state) return E_POINTER;
  *state = ECS_HIDDEN;
  return AtComBoundary([&] {
    if (ChoiceFor(items).command != MenuCommand::None) *state = ECS_ENABLED;
    return S_OK;
  });
}

HRESULT ExplorerCommand::Invoke(IShellItemArray* items, IBindCtx*) {
  return AtComBoundary([&] {
    const std::optional<std::vector<std::wstring>> paths = SelectedPaths(items);
    if (!paths) return E_INVALIDARG;
    // No window of Explorer's is at hand; the hand-off makes its own for
    // the clipboard. Failures are silent, as the classic popup's are.
    CarryOut(PlatformChoice(*paths), nullptr, *paths);
    return S_OK;
  });
}

HRESULT ExplorerCommand::GetFlags(EXPCMDFLAGS* flags) {
  if (!flags) return E_POINTER;
  *flags = ECF_DEFAULT;
  return S_OK;
}

HRESULT ExplorerCommand::EnumSubCommands(IEnumExplorerCommand** commands) {
  if (commands) *commands = nullptr;
  return E_NOTIMPL;
}

}  // namespace shellext
