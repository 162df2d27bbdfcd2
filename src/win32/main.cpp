// kestrane.exe: builds the adapters, the form and its window, and runs the program.

#include <exception>

#include "app/frm_qor_pro.h"
#include "info/version.h"
#include "win32/ui/arrivals.h"
#include "win32/ui/base_window.h"
#include "win32/ui/main_window.h"
#include "win32/ui/message_loop.h"
#include "win32/ui/startup_marks.h"
#include "win32/ui/system_ports.h"
#include "win32/ui/windows_api.h"

namespace {

int Run(HINSTANCE instance, int show) {
  using namespace kestrane;
  using namespace kestrane::win32;

  SystemPorts system(instance);
  frmQOR_Pro form(system.All());

  MainWindow window(form);
  MarkStartup("adapters");
  if (!window.Create(instance)) {
    MessageBoxW(nullptr, L"The main window could not be created.", app::kWideTitle,
                MB_OK | MB_ICONHAND | MB_TASKMODAL);
    return 1;
  }
  system.controls.Attach(window.Hwnd());
  system.dialogs.SetOwner(window.Hwnd());
  system.shell.SetOwner(window.Hwnd());

  // The window stays hidden until the load has run; a load that ends the program leaves it
  // never shown.
  if (!form.Form_Load() || system.controls.Ended() || window.Hwnd() == nullptr) return 0;
  MarkStartup("letter lists, data file, title: Form_Load end");
  window.Show(show == SW_SHOWDEFAULT || show == SW_HIDE ? SW_SHOWNORMAL : show);
  // A folder given on the command line; its refusal's box needs the window shown as its owner.
  window.RunCommand([&] { form.FolderArrived(ProgramArguments(), ArrivalWay::CommandLine); });
  // The tips are nothing the user sees at once: they are made once the window has painted.
  return RunMessageLoop(
      window.Hwnd(), window.Accelerators(), [&window] { return window.TooltipIfMade(); },
      [&window] { window.MakeTooltips(); });
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  // A drive without a medium is answered by our own code, never by the system's
  // "insert a disk" box. The error mode is the process's, set before any adapter runs, so it
  // holds on every thread: the workers that ask a drive for its volume or list a folder too. A
  // thread's own mode (SetThreadErrorMode) would hold on this thread alone.
  kestrane::win32::MarkStartup("wWinMain");
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  // No library is looked for in the current folder, which is whatever folder the user started
  // the program on.
  SetDllDirectoryW(L"");
  const kestrane::win32::UiThreadScope thread;
  kestrane::win32::MarkStartup("COM, common controls");
  int code = 1;
  try {
    code = Run(instance, show);
  } catch (const std::exception& e) {
    kestrane::win32::ReportUnexpected(nullptr, e.what());
  } catch (...) {
    kestrane::win32::ReportUnexpected(nullptr, nullptr);
  }
  kestrane::win32::SaveStartupMarks();
  return code;
}
