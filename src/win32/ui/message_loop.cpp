#include "win32/ui/message_loop.h"

namespace kestrane::win32 {

int RunMessageLoop(HWND main, HACCEL accelerators) {
  MSG msg{};
  for (;;) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    // The window may already be gone (Exit) with its quit message still to come.
    const bool ours =
        main != nullptr && IsWindow(main) && (msg.hwnd == main || IsChild(main, msg.hwnd));
    if (ours) {
      if (accelerators != nullptr && TranslateAcceleratorW(main, accelerators, &msg)) continue;
      if (IsDialogMessageW(main, &msg)) continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0;
}

}  // namespace kestrane::win32
