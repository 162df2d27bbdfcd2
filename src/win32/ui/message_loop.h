#pragma once
#include "win32/ui/windows_api.h"

namespace kestrane::win32 {

// What the user-interface thread needs for its whole life: the common controls (tooltips) and
// COM for the shell's folder lookups.
class UiThreadScope {
 public:
  UiThreadScope();
  ~UiThreadScope();
  UiThreadScope(const UiThreadScope&) = delete;
  UiThreadScope& operator=(const UiThreadScope&) = delete;

 private:
  bool com_ = false;
};

// The program's message loop: the main window's mouse messages shown to its tooltip, then its
// shortcut keys, then the dialog keys (Tab through the controls, Alt+access keys, Esc for the
// cancel button), then normal dispatch. Returns the exit code the quit message carries.
int RunMessageLoop(HWND main, HACCEL accelerators, HWND tooltip = nullptr);

}  // namespace kestrane::win32
