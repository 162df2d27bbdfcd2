// The floor for the program's start: a bare window program, one class and one plain window shown
// as soon as it exists, with nothing loaded, read or probed before it appears. It starts as the
// program starts: with the same manifest (visual styles, DPI awareness; floor_window.rc) and the
// same system libraries loaded with it. It keeps the program's start-up marks at the same stages
// (start, window made, shown, painted, first idle), so that the bench can set the two side by side.

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include "floor_marks.h"

namespace {

using floor_marks::MarkStage;

// One function of each system library kestrane.exe imports (./bench compares the two lists),
// referenced and never called: the loader maps and initialises the library all the same.
using AnyFunction = void (*)();
AnyFunction const volatile kImports[] = {
    reinterpret_cast<AnyFunction>(&InitCommonControlsEx),
    reinterpret_cast<AnyFunction>(&GetStockObject),
    reinterpret_cast<AnyFunction>(&CoInitializeEx),
    reinterpret_cast<AnyFunction>(&SHGetFolderPathW),
};

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  MarkStage("wWinMain");
  if (kImports[0] == nullptr) return 2;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"KestraneBenchFloor";
  if (!RegisterClassW(&windowClass)) return 1;
  HWND window =
      CreateWindowW(L"KestraneBenchFloor", L"Bench Floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                    CW_USEDEFAULT, 480, 320, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  MarkStage("window");
  ShowWindow(window, show == SW_SHOWDEFAULT ? SW_SHOWNORMAL : show);
  MarkStage("shown");
  UpdateWindow(window);
  MarkStage("frame painted");
  return floor_marks::RunLoop();
}
