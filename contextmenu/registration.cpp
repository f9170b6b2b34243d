#include "contextmenu/registration.h"

#include <oleauto.h>

#include <cstring>
#include <optional>

#include "contextmenu/server_module.h"
#include "winframe/handles.h"
#include "winframe/module.h"
#include "winframe/text.h"

namespace shellext {
namespace {

LSTATUS OpenApprovedKeyForWriting(HKEY* key) {
  return RegOpenKeyExA(HKEY_LOCAL_MACHINE, kApprovedKey, 0, KEY_SET_VALUE, key);
}

ApprovedKeyOpener g_openApprovedKey = &OpenApprovedKeyForWriting;

bool IsNtFamily() {
  return (GetVersion() & 0x80000000u) == 0;
}

HRESULT FromStatus(LSTATUS status) {
  return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
}

// Names and texts of the table are ASCII; the module's path may hold any
// character, so every value is written in UTF-16.
LSTATUS SetString(HKEY key, const char* name, const std::wstring& text) {
  const std::wstring wideName = name ? wf::Widen(name) : std::wstring();
  return RegSetValueExW(key, name ? wideName.c_str() : nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

HRESULT DeleteTree(const char* key) {
  const LSTATUS status = RegDeleteTreeA(HKEY_CLASSES_ROOT, key);
  return status == ERROR_FILE_NOT_FOUND ? S_OK : FromStatus(status);
}

HRESULT WriteEntry(const RegistryEntry& entry, const std::wstring& modulePath) {
  if (entry.mark == KeyMark::ForceRemove) {
    const HRESULT removed = DeleteTree(entry.key);
    if (FAILED(removed)) return removed;
  }
  wf::RegKey key;
  LSTATUS status = RegCreateKeyExA(HKEY_CLASSES_ROOT, entry.key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                   nullptr, key.Put(), nullptr);
  if (status == ERROR_SUCCESS && entry.defaultValue) {
    const bool isModule = std::strcmp(entry.defaultValue, kModuleToken) == 0;
    status = SetString(key.Get(), nullptr, isModule ? modulePath : wf::Widen(entry.defaultValue));
  }
  if (status == ERROR_SUCCESS && entry.valueName)
    status = SetString(key.Get(), entry.valueName, wf::Widen(entry.value));
  return FromStatus(status);
}

// The approval that NT asks of extensions Explorer is to load.
HRESULT SetApproval() {
  wf::RegKey key;
  if (g_openApprovedKey(key.Put()) != ERROR_SUCCESS) return E_ACCESSDENIED;
  if (SetString(key.Get(), kClsidText, wf::Widen(kApprovedText)) != ERROR_SUCCESS) return E_ACCESSDENIED;
  return S_OK;
}

void RemoveApproval() {
  wf::RegKey key;
  if (g_openApprovedKey(key.Put()) == ERROR_SUCCESS) RegDeleteValueA(key.Get(), kClsidText);
}

HRESULT RegisterTypeLibrary(const std::wstring& modulePath) {
  wf::ComPtr<ITypeLib> library;
  const HRESULT result = LoadTypeLibEx(modulePath.c_str(), REGKIND_NONE, library.Put());
  if (FAILED(result)) return result;
  std::wstring path = modulePath;  // the platform's declaration is not const
  return RegisterTypeLib(library.Get(), path.data(), nullptr);
}

bool TypeLibraryRegistered() {
  wf::RegKey key;
  return RegOpenKeyExA(HKEY_CLASSES_ROOT, "TypeLib\\" SHREDMENU_LIBID_TEXT, 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

HRESULT UnregisterTypeLibrary(HMODULE module) {
  // A second removal finds nothing to do.
  if (!TypeLibraryRegistered()) return S_OK;
  const std::optional<std::wstring> path = wf::ModulePath(module);
  if (!path) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
  wf::ComPtr<ITypeLib> library;
  HRESULT result = LoadTypeLibEx(path->c_str(), REGKIND_NONE, library.Put());
  if (FAILED(result)) return result;
  TLIBATTR* attributes = nullptr;
  result = library->GetLibAttr(&attributes);
  if (SUCCEEDED(result)) {
    result = UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum, attributes->lcid,
                               attributes->syskind);
    library->ReleaseTLibAttr(attributes);
  }
  return result;
}

}  // namespace

HRESULT UpdateRegistry(RegistryAction action, const std::wstring& modulePath) {
  HRESULT firstFailure = S_OK;
  for (const RegistryEntry& entry : kRegistryEntries) {
    HRESULT result = S_OK;
    if (action == RegistryAction::Register) {
      result = WriteEntry(entry, modulePath);
      if (FAILED(result)) return result;
    } else if (entry.mark != KeyMark::NoRemove) {
      result = DeleteTree(entry.key);
      if (FAILED(result) && SUCCEEDED(firstFailure)) firstFailure = result;
    }
  }
  return firstFailure;
}

void SetApprovedKeyOpener(ApprovedKeyOpener opener) {
  g_openApprovedKey = opener ? opener : &OpenApprovedKeyForWriting;
}

HRESULT RegisterServer(HMODULE module) {
  if (IsNtFamily()) {
    const HRESULT approved = SetApproval();
    if (FAILED(approved)) return approved;
  }
  // In full and in UTF-16: COM would load whatever a cut or changed spelling names.
  const std::optional<std::wstring> path = wf::ModulePath(module);
  if (!path) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
  const HRESULT written = UpdateRegistry(RegistryAction::Register, *path);
  if (FAILED(written)) return written;
  return RegisterTypeLibrary(*path);
}

HRESULT UnregisterServer(HMODULE module) {
  if (IsNtFamily()) RemoveApproval();
  const HRESULT removed = UpdateRegistry(RegistryAction::Unregister, std::wstring());
  const HRESULT typeLibrary = UnregisterTypeLibrary(module);
  return FAILED(removed) ? removed : typeLibrary;
}

}  // namespace shellext

STDAPI DllRegisterServer() {
  return shellext::AtComBoundary([] { return shellext::RegisterServer(shellext::ModuleInstance()); });
}

STDAPI DllUnregisterServer() {
  return shellext::AtComBoundary([] { return shellext::UnregisterServer(shellext::ModuleInstance()); });
}
