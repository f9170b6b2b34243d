// The state of the loaded DLL: its instance handle and the lock count that
// tells the host whether it may unload it. Every live object and every
// LockServer(TRUE) holds one lock, and so does the class factory while
// anyone outside the module holds it.
#pragma once

#include <windows.h>

#include <new>

namespace shellext {

void SetModuleInstance(HINSTANCE instance);
HINSTANCE ModuleInstance();

void LockModule();
void UnlockModule();
LONG ModuleLockCount();

// One lock of the module for as long as its owner lives: every object of the
// module holds one.
class ModuleLock {
 public:
  ModuleLock() { LockModule(); }
  ~ModuleLock() { UnlockModule(); }
  ModuleLock(const ModuleLock&) = delete;
  ModuleLock& operator=(const ModuleLock&) = delete;
};

// The creator the class table holds for a class: a new object asked for
// `riid`, held across the request, so that a refused interface destroys it.
template <typename Object>
HRESULT CreateObject(REFIID riid, void** object) {
  Object* created = new (std::nothrow) Object();
  if (!created) return E_OUTOFMEMORY;
  created->AddRef();
  const HRESULT result = created->QueryInterface(riid, object);
  created->Release();
  return result;
}

// Runs the body of a COM method: an allocation failure becomes
// E_OUTOFMEMORY and nothing else escapes to the caller.
template <typename Body>
HRESULT AtComBoundary(Body body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace shellext
