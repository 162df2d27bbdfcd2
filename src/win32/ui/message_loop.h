#pragma once
#include <functional>

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

// Shows a window's mouse messages to its tooltip, which therefore needs no subclass on each
// control (a property lookup on every message the control gets), and takes the tip down when
// the pointer leaves for a place that is no tool of the tip's: no message of ours would tell
// the tip that the pointer went, say, past the window's edge.
class TipRelay {
 public:
  explicit TipRelay(HWND tooltip) : tooltip_(tooltip) {}
  bool HasTooltip() const { return tooltip_ != nullptr; }
  // `msg` is one of the window's own or of its controls'.
  void Look(const MSG& msg);

 private:
  bool PointerOnATool() const;

  HWND tooltip_;
  HWND tracked_ = nullptr;  // the window told to report the pointer's leaving
};

// The program's message loop: the main window's mouse messages shown to its tooltip, then its
// shortcut keys, then the dialog keys (Tab through the controls, Alt+access keys, Esc for the
// cancel button), then normal dispatch. The tooltip is made once the window has painted:
// `firstIdle` runs when the loop first finds nothing to do, and `tooltip` answers the tooltip
// once there is one. Returns the exit code the quit message carries.
int RunMessageLoop(HWND main, HACCEL accelerators, const std::function<HWND()>& tooltip,
                   const std::function<void()>& firstIdle);

}  // namespace kestrane::win32
