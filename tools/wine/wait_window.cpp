// wait_window CLASS TITLE SECONDS: waits until a visible top-level window with that class and title
// exists and has painted, so that a screenshot taken next shows it whole. Exit code 0 when it did,
// 1 when the time ran out.

#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return 2;
  const DWORD limit = static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)) * 1000;
  const DWORD start = GetTickCount();
  HWND window = nullptr;
  while (!(window = FindWindowW(argv[1], argv[2])) || !IsWindowVisible(window)) {
    if (GetTickCount() - start >= limit) return 1;
    Sleep(50);
  }
  // Returns once the window's thread has handled everything queued before it, the paint included.
  DWORD_PTR ignored = 0;
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
  return 0;
}
