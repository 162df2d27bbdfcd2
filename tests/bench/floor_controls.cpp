// A second floor for the start: the program's own window (frame, menu, controls and fonts) made,
// shown and painted by the program's own code, with nothing loaded into it: no drive, folder or
// data-file query and no letter in the lists. The start's distance from it is what the program's
// load costs; its distance from the bare window is what the window's controls cost on this system.

#include "app/frm_qor_pro.h"
#include "win32/platform/win32_drives.h"
#include "win32/platform/win32_files.h"
#include "win32/platform/win32_processes.h"
#include "win32/platform/win32_shell.h"
#include "win32/ui/main_window.h"
#include "win32/ui/message_loop.h"
#include "win32/ui/startup_marks.h"
#include "win32/ui/win32_controls.h"
#include "win32/ui/win32_dialogs.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace kestrane;
  using namespace kestrane::win32;
  MarkStartup("wWinMain");
  const UiThreadScope thread;
  Win32Controls controls;
  Win32Dialogs dialogs(instance);
  Win32Drives drives;
  Win32Files files;
  Win32Processes processes;
  Win32Shell shell;
  frmQOR_Pro form(Ports{controls, dialogs, drives, files, processes, shell});
  MainWindow window(form);
  if (!window.Create(instance)) return 1;
  controls.Attach(window.Hwnd());
  window.Show(SW_SHOWNORMAL);
  const int code = RunMessageLoop(window.Hwnd(), window.Accelerators());
  SaveStartupMarks();
  return code;
}
