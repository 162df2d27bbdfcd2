#include "win32/ui/message_loop.h"

#include <commctrl.h>
#include <objbase.h>

namespace kestrane::win32 {

UiThreadScope::UiThreadScope() {
  com_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
}

UiThreadScope::~UiThreadScope() {
  if (com_) CoUninitialize();
}

int RunMessageLoop(HWND main, HACCEL accelerators, HWND tooltip) {
  MSG msg{};
  for (;;) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    // The window may already be gone (Exit) with its quit message still to come.
    const bool ours =
        main != nullptr && IsWindow(main) && (msg.hwnd == main || IsChild(main, msg.hwnd));
    if (ours) {
      if (tooltip != nullptr && msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
        SendMessageW(tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
      }
      if (accelerators != nullptr && TranslateAcceleratorW(main, accelerators, &msg)) continue;
      if (IsDialogMessageW(main, &msg)) continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0;
}

}  // namespace kestrane::win32
