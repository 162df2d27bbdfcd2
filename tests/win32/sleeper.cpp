// A child that stays alive for as long as it is told, for the process-wait tests.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  const long ms = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 0;
  if (ms > 0) Sleep(static_cast<DWORD>(ms));
  return argc > 2 ? static_cast<int>(std::wcstol(argv[2], nullptr, 10)) : 0;
}
