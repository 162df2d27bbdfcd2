#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

int main(int argc, char** argv) {
  // As in the program: the shell's execute call wants a single-threaded apartment, and a drive
  // without a medium must not stop the run with a system box.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
