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

// A handle kind whose "no handle" is null, released by `close`.
template <typename T, auto close>
struct NullEmptyTraits {
  using Type = T;
  static Type Empty() { return nullptr; }
  static void Close(Type h) { close(h); }
};

// Files, devices and searches, whose "no handle" is INVALID_HANDLE_VALUE.
template <auto close>
struct InvalidEmptyTraits {
  using Type = HANDLE;
  static Type Empty() { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) { close(h); }
};

// Kernel objects: processes, threads, events.
using KernelHandle = UniqueHandle<NullEmptyTraits<HANDLE, &::CloseHandle>>;
using FileHandle = UniqueHandle<InvalidEmptyTraits<&::CloseHandle>>;
using FindHandle = UniqueHandle<InvalidEmptyTraits<&::FindClose>>;
// Fonts, brushes, pens and bitmaps; never hand one to this while it is selected into a DC.
template <typename T>
using GdiObject = UniqueHandle<NullEmptyTraits<T, &::DeleteObject>>;
using Font = GdiObject<HFONT>;
// A memory device context of the screen's kind: it measures fonts as the screen draws them, and
// unlike a window's or the screen's own it costs no round trip to the window server.
using MemoryDc = UniqueHandle<NullEmptyTraits<HDC, &::DeleteDC>>;
using Brush = GdiObject<HBRUSH>;
using Module = UniqueHandle<NullEmptyTraits<HMODULE, &::FreeLibrary>>;

}  // namespace kestrane::win32
