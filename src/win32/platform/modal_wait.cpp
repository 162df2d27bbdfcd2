#include "win32/platform/modal_wait.h"

#include <algorithm>
#include <vector>

namespace kestrane::win32 {

namespace {

thread_local int waitDepth = 0;

// A window the wait took away from the user, and what it gives back.
struct Held {
  HWND window;
  bool closeGreyed;
};

BOOL CALLBACK CollectEnabled(HWND window, LPARAM into) {
  if (IsWindowVisible(window) && IsWindowEnabled(window)) {
    reinterpret_cast<std::vector<HWND>*>(into)->push_back(window);
  }
  return TRUE;
}

// Puts the cursor right for the window under it, as a mouse move would, instead of leaving the
// hourglass up until the user next moves the mouse.
void RefreshCursor() {
  POINT at{};
  if (!GetCursorPos(&at)) return;
  const HWND under = WindowFromPoint(at);
  if (under == nullptr || GetWindowThreadProcessId(under, nullptr) != GetCurrentThreadId()) return;
  const LRESULT hit = SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
  SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
               MAKELPARAM(static_cast<WORD>(hit), WM_MOUSEMOVE));
}

// The outermost wait's hold on the thread's windows. The focus is kept and given back, since a
// window that is disabled loses it.
class ModalScope {
 public:
  ModalScope() {
    if (waitDepth++ > 0) return;
    focus_ = GetFocus();
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), &CollectEnabled, reinterpret_cast<LPARAM>(&windows));
    for (const HWND window : windows) {
      const HMENU menu = GetSystemMenu(window, FALSE);
      const bool grey = menu != nullptr && (GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) &
                                            (MF_GRAYED | MF_DISABLED)) == 0;
      if (grey) EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
      EnableWindow(window, FALSE);
      held_.push_back({window, grey});
    }
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  }
  ~ModalScope() {
    if (--waitDepth > 0) return;
    for (const Held& h : held_) {
      if (!IsWindow(h.window)) continue;
      EnableWindow(h.window, TRUE);
      if (h.closeGreyed) {
        if (const HMENU menu = GetSystemMenu(h.window, FALSE)) {
          EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
        }
      }
    }
    if (focus_ != nullptr && IsWindow(focus_) && IsWindowVisible(focus_) &&
        IsWindowEnabled(focus_)) {
      SetFocus(focus_);
    }
    if (quitSeen_) PostQuitMessage(quitCode_);
    RefreshCursor();
  }
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;

  // Takes what is in the queue now. Bounded: a window that never validates its area would
  // otherwise keep the loop to itself. The quit message ends the program's own loop, not this
  // wait, which still has its answer to give: it is posted again once the wait is over.
  void Pump() {
    MSG msg;
    for (int i = 0; i < 64 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
      if (msg.message == WM_QUIT) {
        quitSeen_ = true;
        quitCode_ = static_cast<int>(msg.wParam);
        continue;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

 private:
  std::vector<Held> held_;
  HWND focus_ = nullptr;
  bool quitSeen_ = false;
  int quitCode_ = 0;
};

DWORD LeftUntil(ULONGLONG end) {
  const ULONGLONG now = GetTickCount64();
  return now >= end ? 0 : static_cast<DWORD>(end - now);
}

// Waits for one object, or for none (a pause), until `end`.
WaitEnd WaitOne(ModalScope& scope, HANDLE object, ULONGLONG end) {
  const DWORD count = object != nullptr ? 1 : 0;
  for (;;) {
    const DWORD woke = MsgWaitForMultipleObjectsEx(count, &object, LeftUntil(end), QS_ALLINPUT,
                                                   MWMO_INPUTAVAILABLE);
    if (woke == WAIT_OBJECT_0 + count) {
      scope.Pump();
      continue;
    }
    if (woke == WAIT_TIMEOUT) return WaitEnd::TimedOut;
    if (count == 1 && woke == WAIT_OBJECT_0) return WaitEnd::Signalled;
    if (count == 1 && woke == WAIT_ABANDONED_0) return WaitEnd::Abandoned;
    return WaitEnd::Failed;
  }
}

// Most waits are over in a moment (a drive's answer, a lock nobody holds): for that long the
// window is left as it is, answering only what other programs send it, so a quick wait neither
// flickers the pointer nor moves the focus. Short enough that no posted message waits for long.
constexpr DWORD kQuietMs = 50;

// Waits for the objects in turn, answering sent messages only, until `end`; false when one of
// them is not signalled by then.
bool QuickWait(const HANDLE* objects, std::size_t count, std::size_t& next, ULONGLONG end,
               WaitEnd& last) {
  while (next < count) {
    const DWORD woke =
        MsgWaitForMultipleObjectsEx(1, &objects[next], LeftUntil(end), QS_SENDMESSAGE, 0);
    if (woke == WAIT_OBJECT_0 + 1) {
      MSG msg;
      PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
      continue;
    }
    if (woke == WAIT_OBJECT_0 || woke == WAIT_ABANDONED_0) {
      last = woke == WAIT_OBJECT_0 ? WaitEnd::Signalled : WaitEnd::Abandoned;
      ++next;
      continue;
    }
    if (woke != WAIT_TIMEOUT) {
      last = WaitEnd::Failed;
      next = count;
      return true;
    }
    return false;
  }
  return true;
}

}  // namespace

WaitEnd ModalWait(const HANDLE* objects, std::size_t count, DWORD limitMs) {
  const ULONGLONG start = GetTickCount64();
  const ULONGLONG end = start + limitMs;
  WaitEnd last = WaitEnd::Signalled;
  std::size_t next = 0;
  if (QuickWait(objects, count, next, std::min(end, start + kQuietMs), last)) return last;
  if (GetTickCount64() >= end) return WaitEnd::TimedOut;
  ModalScope scope;
  for (; next < count; ++next) {
    last = WaitOne(scope, objects[next], end);
    if (last != WaitEnd::Signalled && last != WaitEnd::Abandoned) return last;
  }
  return last;
}

void ModalPause(DWORD limitMs) {
  ModalScope scope;
  WaitOne(scope, nullptr, GetTickCount64() + limitMs);
}

bool InModalWait() noexcept { return waitDepth > 0; }

}  // namespace kestrane::win32
