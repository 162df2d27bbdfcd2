#pragma once
#include <exception>
#include <utility>

#include "win32/ui/windows_api.h"

namespace kestrane::win32 {

// The last line of defence in every window procedure: an exception must never unwind through
// user32, so it ends here in a plain error box and the message counts as handled.
void ReportUnexpected(HWND owner, const char* what) noexcept;

// The application-wide mouse pointer: while busy, every window of the program shows the
// hourglass, whatever control the mouse is over.
void SetAppBusy(bool busy) noexcept;
bool AppBusy() noexcept;
// Answers WM_SETCURSOR while busy; false when the normal cursor handling should run.
bool ApplyAppCursor() noexcept;

// One C++ object per window: `this` is stored at WM_NCCREATE and every later message goes to
// T::HandleMessage, which only unpacks parameters and calls the handler that owns the event.
template <typename T>
class BaseWindow {
 public:
  BaseWindow() = default;
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;
  virtual ~BaseWindow() { DestroyDetached(); }

  HWND Hwnd() const { return hwnd_; }

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    T* self = nullptr;
    if (msg == WM_NCCREATE) {
      const auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      self = static_cast<T*>(create->lpCreateParams);
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_SETCURSOR && ApplyAppCursor()) return TRUE;
    LRESULT result = 0;
    try {
      result = self->HandleMessage(msg, wParam, lParam);
    } catch (const std::exception& e) {
      ReportUnexpected(hwnd, e.what());
    } catch (...) {
      ReportUnexpected(hwnd, nullptr);
    }
    if (msg == WM_NCDESTROY) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
    }
    return result;
  }

 protected:
  // Registers the class once per process; the class name is T::ClassName().
  static bool Register(HINSTANCE instance, HICON icon, HBRUSH background) {
    WNDCLASSEXW wc{};
    if (GetClassInfoExW(instance, T::ClassName(), &wc)) return true;
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &BaseWindow::WindowProc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = T::ClassName();
    return RegisterClassExW(&wc) != 0;
  }

  HWND CreateAs(DWORD exStyle, const wchar_t* title, DWORD style, int x, int y, int width,
                int height, HWND owner, HMENU menu, HINSTANCE instance) {
    return CreateWindowExW(exStyle, T::ClassName(), title, style, x, y, width, height, owner, menu,
                           instance, this);
  }

  // Destroys the window with no message reaching the object any more: the object going is not
  // the window closing. By the time ~BaseWindow runs, T's members are gone, so a T that puts
  // procedures of its own in front of its controls takes them away and calls this from its own
  // destructor.
  void DestroyDetached() {
    const HWND hwnd = std::exchange(hwnd_, nullptr);
    if (hwnd == nullptr) return;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    DestroyWindow(hwnd);
  }

  LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
  }

  HWND hwnd_ = nullptr;
};

}  // namespace kestrane::win32
