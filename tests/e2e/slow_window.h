#pragma once
// A window of the driver that is slow to answer drive announcements, as some programs are: subst
// waits for it, so a run of subst takes as long as the window holds each announcement.

#include <windows.h>
// After windows.h, which it builds on.
#include <dbt.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "e2e_support.h"

namespace e2e {

// A top-level window of the driver, busy for a while with each drive announcement as a slow
// program is (still answering messages meanwhile), that notes what it was told, what the drive
// answered then, and whether its answer went back.
class SlowWindow {
 public:
  struct Heard {
    WPARAM event;
    DWORD units;
    UINT driveType;
    bool answered;
  };

  explicit SlowWindow(DWORD holdMs) : holdMs_(holdMs) {
    thread_ = std::thread([this] { Run(); });
    WaitFor([this] { return window_.load() != nullptr; });
  }
  ~SlowWindow() {
    PostMessageW(window_.load(), WM_CLOSE, 0, 0);
    thread_.join();
  }
  std::vector<Heard> Announcements() {
    std::lock_guard lock(mutex_);
    return heard_;
  }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<SlowWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_DEVICECHANGE && self && lParam) return self->Hold(wParam, lParam);
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
  }
  LRESULT Hold(WPARAM event, LPARAM lParam) {
    const auto* volume = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(lParam);
    std::size_t index = 0;
    {
      std::lock_guard lock(mutex_);
      heard_.push_back({event, volume->dbcv_unitmask, GetDriveTypeW(L"K:\\"), false});
      index = heard_.size() - 1;
    }
    const ULONGLONG end = GetTickCount64() + holdMs_;
    for (ULONGLONG now; (now = GetTickCount64()) < end;) {
      MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_SENDMESSAGE, 0);
      MSG msg;
      PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    std::lock_guard lock(mutex_);
    heard_[index].answered = true;
    return TRUE;
  }
  void Run() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Proc;
    windowClass.lpszClassName = L"SlowToAnswer";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10,
                                  nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    window_ = window;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  }

  const DWORD holdMs_;
  std::thread thread_;
  std::atomic<HWND> window_{nullptr};
  std::mutex mutex_;
  std::vector<Heard> heard_;
};

}  // namespace e2e
