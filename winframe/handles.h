// One owner per Win32 handle kind: not copyable, movable, released once.
#pragma once

#include <windows.h>

#include <utility>

namespace wf {

// Generic owner; Traits supply the invalid value and the release call.
template <typename Traits>
class Owner {
 public:
  using Handle = typename Traits::Handle;

  Owner() = default;
  explicit Owner(Handle h) : handle_(h) {}
  ~Owner() { Reset(); }
  Owner(const Owner&) = delete;
  Owner& operator=(const Owner&) = delete;
  Owner(Owner&& other) noexcept : handle_(other.Release()) {}
  Owner& operator=(Owner&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Invalid(); }
  Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
  // Releases the held handle; true when there was none or its release worked.
  bool Reset(Handle h = Traits::Invalid()) {
    bool ok = true;
    if (handle_ != Traits::Invalid()) ok = Traits::Close(handle_);
    handle_ = h;
    return ok;
  }
  // For out-parameters of the platform calls.
  Handle* Put() {
    Reset();
    return &handle_;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {  // NULL means none (mutexes, processes, threads)
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle h) { return CloseHandle(h) != FALSE; }
};
struct FileHandleTraits {  // INVALID_HANDLE_VALUE means none (CreateFile)
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Close(Handle h) { return CloseHandle(h) != FALSE; }
};
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Close(Handle h) { return FindClose(h) != FALSE; }
};
struct VolumeFindHandleTraits {  // FindFirstVolume
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Close(Handle h) { return FindVolumeClose(h) != FALSE; }
};
struct RegKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle h) { return RegCloseKey(h) == ERROR_SUCCESS; }
};
struct GdiObjectTraits {
  using Handle = HGDIOBJ;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle h) { return DeleteObject(h) != FALSE; }
};
struct MenuTraits {
  using Handle = HMENU;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle h) { return DestroyMenu(h) != FALSE; }
};
struct IconTraits {  // icons of LoadImage without LR_SHARED, which the loader owns
  using Handle = HICON;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle h) { return DestroyIcon(h) != FALSE; }
};
struct GlobalMemoryTraits {
  using Handle = HGLOBAL;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle h) { return GlobalFree(h) == nullptr; }
};

struct MappedViewTraits {  // MapViewOfFile
  using Handle = void*;
  static Handle Invalid() { return nullptr; }
  static bool Close(Handle h) { return UnmapViewOfFile(h) != FALSE; }
};

using UniqueHandle = Owner<KernelHandleTraits>;
using UniqueFile = Owner<FileHandleTraits>;
using FindHandle = Owner<FindHandleTraits>;
using VolumeFindHandle = Owner<VolumeFindHandleTraits>;
using RegKey = Owner<RegKeyTraits>;
using GdiObject = Owner<GdiObjectTraits>;
using MenuHandle = Owner<MenuTraits>;
using GlobalMemory = Owner<GlobalMemoryTraits>;
using IconHandle = Owner<IconTraits>;
using MappedView = Owner<MappedViewTraits>;

// One reference to a COM object, released when the owner goes.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already holds (a new object's first,
  // or one handed out by a call): nothing is added.
  static ComPtr Adopt(Interface* object) {
    ComPtr owner;
    owner.object_ = object;
    return owner;
  }
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      object_ = std::exchange(other.object_, nullptr);
    }
    return *this;
  }

  Interface* Get() const { return object_; }
  Interface* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  void Reset() {
    if (object_) std::exchange(object_, nullptr)->Release();
  }
  // For out-parameters: the call hands over one reference.
  Interface** Put() {
    Reset();
    return &object_;
  }
  // A new reference for a caller's out-parameter.
  Interface* AddRefed() const {
    if (object_) object_->AddRef();
    return object_;
  }

 private:
  Interface* object_ = nullptr;
};

// A locked global memory block, unlocked when the owner goes.
class GlobalLockGuard {
 public:
  explicit GlobalLockGuard(HGLOBAL block) : block_(block), data_(block ? GlobalLock(block) : nullptr) {}
  ~GlobalLockGuard() {
    if (data_) GlobalUnlock(block_);
  }
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;

  void* Data() const { return data_; }
  explicit operator bool() const { return data_ != nullptr; }

 private:
  HGLOBAL block_;
  void* data_;
};

// An open clipboard, closed when the owner goes. Another program may hold it
// for a moment (a clipboard history reads every new content as it comes, a
// hand-off list included), so opening it is tried for half a second.
class ClipboardSession {
 public:
  explicit ClipboardSession(HWND owner) {
    for (int attempt = 0; attempt < kAttempts && !open_; ++attempt) {
      if (attempt > 0) Sleep(kRetryMs);
      open_ = OpenClipboard(owner) != FALSE;
    }
  }
  ~ClipboardSession() { Close(); }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;

  bool IsOpen() const { return open_; }
  void Close() {
    if (open_) CloseClipboard();
    open_ = false;
  }

 private:
  static constexpr int kAttempts = 20;
  static constexpr DWORD kRetryMs = 25;
  bool open_ = false;
};

}  // namespace wf
