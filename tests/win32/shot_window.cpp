// shot_window main|about SECONDS: waits until Kestrane's main window (or, after asking the main
// window for it through its menu command, the About box) is visible and painted, then prints its
// frame as WIDTHxHEIGHT+X+Y, ready for a screenshot's crop. Exit code 1 when the time ran out.
// ./run takes its screenshots with it.

#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "app/control_ids.h"

namespace {

namespace ids = kestrane::ids;

HWND WaitVisible(const wchar_t* windowClass, DWORD limit, DWORD start) {
  HWND window = nullptr;
  while (!(window = FindWindowW(windowClass, nullptr)) || !IsWindowVisible(window)) {
    if (GetTickCount() - start >= limit) return nullptr;
    Sleep(50);
  }
  return window;
}

// Returns once the window's thread has handled everything queued before it, the paint included.
void Painted(HWND window) {
  DWORD_PTR ignored = 0;
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  const bool about = std::wcscmp(argv[1], L"about") == 0;
  const DWORD limit = static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)) * 1000;
  const DWORD start = GetTickCount();
  HWND window = WaitVisible(ids::kMainWindowClass, limit, start);
  if (window == nullptr) return 1;
  if (about) {
    // Posted: the box is modal, and its handler returns only when it closes.
    Painted(window);
    PostMessageW(window, WM_COMMAND, ids::mnuAbout, 0);
    if ((window = WaitVisible(ids::kAboutWindowClass, limit, start)) == nullptr) return 1;
  }
  Painted(window);
  RECT frame{};
  GetWindowRect(window, &frame);
  std::printf("%ldx%ld+%ld+%ld\n", frame.right - frame.left, frame.bottom - frame.top, frame.left,
              frame.top);
  return 0;
}
