// Owning wrappers for Windows resources: one move-only template, with traits
// that name the invalid value and the close function. Closing keeps the
// thread's last-error value so that a failure can still be examined after the
// resources taken on the way have been released.
#pragma once

#include <windows.h>

#include <utility>

namespace kx::win {

template <class Traits>
class UniqueResource {
 public:
  using value_type = typename Traits::value_type;

  UniqueResource() noexcept = default;
  explicit UniqueResource(value_type value) noexcept : value_(value) {}
  ~UniqueResource() { reset(); }

  UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;

  value_type get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return value_ != Traits::invalid(); }

  value_type release() noexcept { return std::exchange(value_, Traits::invalid()); }

  void reset(value_type value = Traits::invalid()) noexcept {
    value_type old = std::exchange(value_, value);
    if (old != Traits::invalid()) {
      const DWORD error = GetLastError();
      Traits::close(old);
      SetLastError(error);
    }
  }

  // For functions that return a resource through an out-parameter: whatever
  // is held now is released first.
  value_type* put() noexcept {
    reset();
    return &value_;
  }

 private:
  value_type value_ = Traits::invalid();
};

struct HandleTraits {  // kernel objects whose "none" is null: processes, threads, mutexes
  using value_type = HANDLE;
  static HANDLE invalid() noexcept { return nullptr; }
  static void close(HANDLE h) noexcept { CloseHandle(h); }
};
struct FileHandleTraits {  // CreateFile and FindFirstFile style "none"
  using value_type = HANDLE;
  static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) noexcept { CloseHandle(h); }
};
struct FindHandleTraits {
  using value_type = HANDLE;
  static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) noexcept { FindClose(h); }
};
struct RegKeyTraits {
  using value_type = HKEY;
  static HKEY invalid() noexcept { return nullptr; }
  static void close(HKEY k) noexcept { RegCloseKey(k); }
};
struct ModuleTraits {
  using value_type = HMODULE;
  static HMODULE invalid() noexcept { return nullptr; }
  static void close(HMODULE m) noexcept { FreeLibrary(m); }
};
template <class T>
struct GdiObjectTraits {
  using value_type = T;
  static T invalid() noexcept { return nullptr; }
  static void close(T o) noexcept { DeleteObject(o); }
};
struct IconTraits {
  using value_type = HICON;
  static HICON invalid() noexcept { return nullptr; }
  static void close(HICON i) noexcept { DestroyIcon(i); }
};
struct WindowTraits {
  using value_type = HWND;
  static HWND invalid() noexcept { return nullptr; }
  static void close(HWND w) noexcept { DestroyWindow(w); }
};
template <class I>
struct ComTraits {
  using value_type = I*;
  static I* invalid() noexcept { return nullptr; }
  static void close(I* p) noexcept { p->Release(); }
};

using UniqueHandle = UniqueResource<HandleTraits>;
using UniqueFile = UniqueResource<FileHandleTraits>;
using UniqueFind = UniqueResource<FindHandleTraits>;
using UniqueKey = UniqueResource<RegKeyTraits>;
using UniqueModule = UniqueResource<ModuleTraits>;
using UniqueBitmap = UniqueResource<GdiObjectTraits<HBITMAP>>;
using UniqueFont = UniqueResource<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueResource<GdiObjectTraits<HBRUSH>>;
using UniqueIcon = UniqueResource<IconTraits>;
using UniqueWindow = UniqueResource<WindowTraits>;
template <class I>
using ComPtr = UniqueResource<ComTraits<I>>;

// COM for the calling thread, single-threaded apartment, for the lifetime of
// the object; uninitialised only when the initialisation succeeded.
class ComApartment {
 public:
  ComApartment() noexcept : hr_(CoInitialize(nullptr)) {}
  ~ComApartment() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  bool ok() const noexcept { return SUCCEEDED(hr_); }

 private:
  HRESULT hr_;
};

}  // namespace kx::win
