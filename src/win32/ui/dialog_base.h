#pragma once
#include "win32/ui/base_window.h"
#include "win32/ui/windows_api.h"

namespace kestrane::win32 {

// A modal window of our own, run by our own loop so that the dialog keys (Tab, Enter for the
// default button, Esc for Cancel, Alt+access keys) work as in a system dialog. The owner takes
// no input while it is open and gets the activation back before the window goes away.
template <typename T>
class DialogBase : public BaseWindow<T> {
 public:
  // Shows the created window and returns the identifier that ended it (IDCANCEL for the close
  // box). A quit message arriving meanwhile ends the dialog and is passed on.
  int RunModal(HWND owner) {
    const HWND dialog = this->hwnd_;
    if (dialog == nullptr) return IDCANCEL;
    const bool disabled = owner != nullptr && EnableWindow(owner, FALSE) == FALSE;
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    if (const HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE)) SetFocus(first);
    MSG msg;
    while (!done_) {
      const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
      if (got == 0) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      if (got < 0) break;
      if (this->hwnd_ != nullptr && IsDialogMessageW(this->hwnd_, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (disabled) EnableWindow(owner, TRUE);
    if (this->hwnd_ != nullptr) DestroyWindow(this->hwnd_);
    return result_;
  }

 protected:
  void EndModal(int result) {
    result_ = result;
    done_ = true;
  }

  // The messages every modal window answers alike; false when T must answer.
  bool DialogMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) {
    switch (msg) {
      case DM_GETDEFID:
        result = defaultId_ != 0 ? MAKELRESULT(defaultId_, DC_HASDEFID) : 0;
        return true;
      case WM_CLOSE:
        EndModal(IDCANCEL);
        result = 0;
        return true;
      case WM_DESTROY:
        done_ = true;
        result = 0;
        return true;
      default: return false;
    }
  }

  // Places the window centred over a rectangle of the screen, kept inside the work area.
  void CentreOver(const RECT& area) {
    RECT r{};
    GetWindowRect(this->hwnd_, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;
    RECT work{};
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
      if (x + width > work.right) x = work.right - width;
      if (y + height > work.bottom) y = work.bottom - height;
      if (x < work.left) x = work.left;
      if (y < work.top) y = work.top;
    }
    SetWindowPos(this->hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  int defaultId_ = 0;

 private:
  bool done_ = false;
  int result_ = IDCANCEL;
};

// The area a modal window is centred over: its owner when that is on screen, else the screen.
RECT CentringArea(HWND owner);

}  // namespace kestrane::win32
