#pragma once
// <windows.h> must come before the shell headers.
// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include <utility>

namespace kestrane::win32 {

// Owns one handle of a kind and releases it exactly once; moved, never copied, so that two owners
// can never close the same handle. Traits name the empty value and the release call.
template <typename Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() = default;
  explicit UniqueHandle(Type handle) : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  ~UniqueHandle() { Reset(); }

  Type Get() const { return handle_; }
  bool Valid() const { return handle_ != Traits::Empty(); }
  explicit operator bool() const { return Valid(); }

  // Gives up ownership without releasing.
  Type Release() { return std::exchange(handle_, Traits::Empty()); }
  void Reset(Type handle = Traits::Empty()) {
    const Type old = std::exchange(handle_, handle);
    if (old != Traits::Empty()) Traits::Close(old);
  }

 private:
  Type handle_ = Traits::Empty();
};

// Kernel objects whose "no handle" is null: processes, threads, events.
struct KernelHandleTraits {
  using Type = HANDLE;
  static Type Empty() { return nullptr; }
  static void Close(Type h) { ::CloseHandle(h); }
};
using KernelHandle = UniqueHandle<KernelHandleTraits>;

// Files and devices from CreateFile, whose "no handle" is INVALID_HANDLE_VALUE.
struct FileHandleTraits {
  using Type = HANDLE;
  static Type Empty() { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) { ::CloseHandle(h); }
};
using FileHandle = UniqueHandle<FileHandleTraits>;

struct FindHandleTraits {
  using Type = HANDLE;
  static Type Empty() { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) { ::FindClose(h); }
};
using FindHandle = UniqueHandle<FindHandleTraits>;

// Fonts, brushes, pens and bitmaps; never hand one to this while it is selected into a DC.
template <typename T>
struct GdiObjectTraits {
  using Type = T;
  static Type Empty() { return nullptr; }
  static void Close(Type h) { ::DeleteObject(h); }
};
template <typename T>
using GdiObject = UniqueHandle<GdiObjectTraits<T>>;
using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;

struct ModuleTraits {
  using Type = HMODULE;
  static Type Empty() { return nullptr; }
  static void Close(Type h) { ::FreeLibrary(h); }
};
using Module = UniqueHandle<ModuleTraits>;

// Item-identifier lists the shell allocates for the caller.
struct PidlTraits {
  using Type = PIDLIST_ABSOLUTE;
  static Type Empty() { return nullptr; }
  static void Close(Type h) { ::CoTaskMemFree(h); }
};
using Pidl = UniqueHandle<PidlTraits>;

}  // namespace kestrane::win32
