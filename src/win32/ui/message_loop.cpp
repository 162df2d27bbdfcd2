#include "win32/ui/message_loop.h"

#include <commctrl.h>
#include <objbase.h>

#include "win32/ui/startup_marks.h"

namespace kestrane::win32 {

UiThreadScope::UiThreadScope() {
  com_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
}

UiThreadScope::~UiThreadScope() {
  if (com_) CoUninitialize();
}

void TipRelay::Look(const MSG& msg) {
  if (tooltip_ == nullptr) return;
  if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
    SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    // Once per window the pointer enters, not on every move.
    if (msg.message == WM_MOUSEMOVE && msg.hwnd != tracked_) {
      TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, msg.hwnd, 0};
      if (TrackMouseEvent(&track)) tracked_ = msg.hwnd;
    }
  } else if (msg.message == WM_MOUSELEAVE && msg.hwnd == tracked_) {
    tracked_ = nullptr;
    if (!PointerOnATool()) SendMessageW(tooltip_, TTM_POP, 0, 0);
  }
}

bool TipRelay::PointerOnATool() const {
  POINT at{};
  if (!GetCursorPos(&at)) return false;
  const HWND under = WindowFromPoint(at);
  if (under == nullptr) return false;
  // The tools are the controls themselves (TTF_IDISHWND), registered by their parent.
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = GetParent(under);
  tool.uId = reinterpret_cast<UINT_PTR>(under);
  if (!SendMessageW(tooltip_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) return false;
  RECT client{};
  GetClientRect(under, &client);
  ScreenToClient(under, &at);
  return PtInRect(&client, at) != FALSE;
}

int RunMessageLoop(HWND main, HACCEL accelerators, const std::function<HWND()>& tooltip,
                   const std::function<void()>& firstIdle) {
  TipRelay tips(tooltip());
  MSG msg{};
  bool idleSeen = false;
  for (;;) {
    if (!idleSeen && HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0) {
      idleSeen = true;
      MarkStartupIdle();
      if (firstIdle) firstIdle();
    }
    if (!tips.HasTooltip()) tips = TipRelay(tooltip());
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    // The window may already be gone (Exit) with its quit message still to come.
    const bool ours =
        main != nullptr && IsWindow(main) && (msg.hwnd == main || IsChild(main, msg.hwnd));
    if (ours) {
      tips.Look(msg);
      if (accelerators != nullptr && TranslateAcceleratorW(main, accelerators, &msg)) continue;
      if (IsDialogMessageW(main, &msg)) continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0;
}

}  // namespace kestrane::win32
