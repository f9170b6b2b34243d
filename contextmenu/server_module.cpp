#include "contextmenu/server_module.h"

#include <objbase.h>

#include <atomic>

#include "contextmenu/explorer_command.h"
#include "contextmenu/shell_ext.h"
#include "contextmenu/shellext_ids.h"
#include "winframe/handles.h"

namespace shellext {
namespace {

HINSTANCE g_instance = nullptr;
LONG g_locks = 0;

class CriticalSection {
 public:
  CriticalSection() { InitializeCriticalSection(&section_); }
  ~CriticalSection() { DeleteCriticalSection(&section_); }
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;
  void Enter() { EnterCriticalSection(&section_); }
  void Leave() { LeaveCriticalSection(&section_); }

 private:
  CRITICAL_SECTION section_;
};

// Serialises the first creation of a class factory.
CriticalSection g_factoryLock;

using Creator = HRESULT (*)(REFIID riid, void** object);

// One factory for every class of the module; the class table gives what it
// makes. The table's cache holds one reference; while anybody else holds one
// too, the factory holds a module lock.
class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(Creator creator) : creator_(creator) {}
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *object = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    const LONG references = InterlockedIncrement(&references_);
    if (references == 2) LockModule();
    return static_cast<ULONG>(references);
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG references = InterlockedDecrement(&references_);
    if (references == 1) UnlockModule();
    if (references == 0) delete this;
    return static_cast<ULONG>(references);
  }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return creator_(riid, object);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) {
      LockModule();
    } else {
      UnlockModule();
    }
    return S_OK;
  }

 private:
  ~ClassFactory() = default;

  Creator creator_;
  LONG references_ = 1;
};

class ClassEntry {
 public:
  ClassEntry(const CLSID& clsid, Creator creator) : clsid_(clsid), creator_(creator) {}
  ClassEntry(const ClassEntry&) = delete;
  ClassEntry& operator=(const ClassEntry&) = delete;
  // The module's end lets go of the cached factory.
  ~ClassEntry() { wf::ComPtr<ClassFactory>::Adopt(factory_.exchange(nullptr)); }

  const CLSID& Clsid() const { return clsid_; }

  // The cached factory, made on the first request; null when out of memory.
  ClassFactory* Factory() {
    ClassFactory* factory = factory_.load(std::memory_order_acquire);
    if (factory) return factory;
    g_factoryLock.Enter();
    factory = factory_.load(std::memory_order_relaxed);
    if (!factory) {
      factory = new (std::nothrow) ClassFactory(creator_);
      factory_.store(factory, std::memory_order_release);
    }
    g_factoryLock.Leave();
    return factory;
  }

 private:
  const CLSID& clsid_;
  Creator creator_;
  std::atomic<ClassFactory*> factory_{nullptr};
};

ClassEntry g_classes[] = {
    {kClsid, &CreateObject<RuzeVoriduruShlExt>},
    {kCommandClsid, &CreateObject<ExplorerCommand>},
};

}  // namespace

void SetModuleInstance(HINSTANCE instance) {
  g_instance = instance;
}
HINSTANCE ModuleInstance() {
  return g_instance;
}

void LockModule() {
  InterlockedIncrement(&g_locks);
}
void UnlockModule() {
  InterlockedDecrement(&g_locks);
}
LONG ModuleLockCount() {
  return InterlockedCompareExchange(&g_locks, 0, 0);
}

}  // namespace shellext

STDAPI DllCanUnloadNow() {
  return shellext::ModuleLockCount() == 0 ? S_OK : S_FALSE;
}

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  for (shellext::ClassEntry& entry : shellext::g_classes) {
    if (!IsEqualCLSID(rclsid, entry.Clsid())) continue;
    shellext::ClassFactory* factory = entry.Factory();
    return factory ? factory->QueryInterface(riid, ppv) : E_OUTOFMEMORY;
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}
