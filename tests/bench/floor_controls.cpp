// A second floor for the start: the program's own window (frame, menu, controls and fonts) made,
// shown and painted by the program's own code, with nothing loaded into it: no drive, folder or
// data-file query and no letter in the lists. The start's distance from it is what the program's
// load costs; its distance from the bare window is what the window's controls cost on this system.

#include "app/frm_qor_pro.h"
#include "win32/ui/main_window.h"
#include "win32/ui/message_loop.h"
#include "win32/ui/startup_marks.h"
#include "win32/ui/system_ports.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace kestrane;
  using namespace kestrane::win32;
  MarkStartup("wWinMain");
  const UiThreadScope thread;
  SystemPorts system(instance);
  frmQOR_Pro form(system.All());
  MainWindow window(form);
  if (!window.Create(instance)) return 1;
  system.controls.Attach(window.Hwnd());
  window.Show(SW_SHOWNORMAL);
  // The program's loop, which makes the tips once the window has painted.
  const int code = RunMessageLoop(
      window.Hwnd(), window.Accelerators(), [&window] { return window.TooltipIfMade(); },
      [&window] { window.MakeTooltips(); });
  SaveStartupMarks();
  return code;
}
