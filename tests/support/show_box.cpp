// show_box STYLE TITLE TEXT: shows one message box with the given MB_* style (decimal) and exits
// with the button pressed; the harness's own tests read it like one of the program's boxes.

#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return -1;
  UINT style = static_cast<UINT>(std::wcstoul(argv[1], nullptr, 10));
  return MessageBoxW(nullptr, argv[3], argv[2], style);
}
