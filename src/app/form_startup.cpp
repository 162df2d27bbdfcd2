#include <array>
#include <type_traits>
#include <utility>

#include "app/frm_qor_pro.h"
#include "app/messages.h"
#include "platform/paths.h"
#include "platform/steps.h"

namespace kestrane {

namespace {

constexpr int kDesignHeight = 5790;  // outer height in twips
constexpr int kStepTries = 3;        // a step failing outside the skip set is tried this often
constexpr char kDataFolder[] = "\\Halvecki\\Kestrane\\";
constexpr char kTitleSuffix[] = " - Pro";

// Each step asks the system something. Device, disk, permission and path failures pass a step
// by; any other is tried again. Most steps cannot end start-up, so they need not say that it
// goes on.
template <typename Run>
Step Startup(Run run) {
  if constexpr (std::is_same_v<std::invoke_result_t<Run>, Flow>) {
    return {std::move(run), OnFailure::Skip, OnFailure::Retry};
  } else {
    return {[run = std::move(run)] {
              run();
              return Flow::Next;
            },
            OnFailure::Skip, OnFailure::Retry};
  }
}

Flow EndUnless(bool ok) { return ok ? Flow::Next : Flow::End; }

}  // namespace

frmQOR_Pro::frmQOR_Pro(const Ports& ports)
    : ports_(ports),
      probe_(ports.drives),
      runner_(probe_, ports.drives, ports.files, ports.processes, ports.shell),
      listing_(runner_),
      permanent_(ports.files, ports.shell, ports.drives, probe_, runner_),
      reports_(ports, selection_),
      browser_(ports, selection_, probe_, reports_) {}

bool frmQOR_Pro::Form_Load() {
  auto& c = ports_.controls;
  const std::array steps{
      Startup([&] { c.SetMousePointer(MousePointer::Hourglass); }),
      Startup([&] { CentreWindow(); }),
      Startup([&] { browser_.Open(StartFolder()); }),
      Startup([&] { return EndUnless(FindDataFolder()); }),
      Startup([&] { return EndUnless(RequireDataFile()); }),
      Startup([&] {
        family_ = OsFamilyFor(ports_.shell.Version());
        permanent_.UseFamily(family_);
      }),
      Startup([&] { ListLetters(ProbeMode::Shown); }),
      Startup([&] { permanent_.LoadMask(); }),
      Startup([&] { c.SetCaption(c.Caption() + kTitleSuffix); }),
  };
  const bool ended = RunSteps(steps, kStepTries).ended;
  if (ended) c.EndProgram();
  return !ended;
}

// The root of the current drive; where the current folder has no drive letter (a share Explorer
// started the program in), the system drive's, which is always there.
std::string frmQOR_Pro::StartFolder() {
  const std::string current = ports_.files.CurrentDirectory();
  return HasDriveLetter(current) ? "\\" : SystemRoot(ports_.shell);
}

void frmQOR_Pro::CentreWindow() {
  auto& c = ports_.controls;
  TwipsRect r = c.WindowRect();
  r.height = kDesignHeight;
  r.left = (c.ScreenWidth() - r.width) / 2;
  r.top = (c.ScreenHeight() - r.height) / 2;
  c.MoveWindow(r);
}

// Without the application-data folder (status 1, or the query failing) there is no data file.
bool frmQOR_Pro::FindDataFolder() {
  const FolderAnswer answer = ports_.shell.AppDataFolder();
  if (answer.status != 0) {
    reports_.Error(Msg::MissingOrCorrupt, selection_.Letter());
    return false;
  }
  permanent_.UseDataFolder(answer.path + kDataFolder);
  return true;
}

// A data file that is not there, or not of the size the installer made it, is missing or
// corrupt alike: nothing the program would read from it could be trusted.
bool frmQOR_Pro::RequireDataFile() {
  if (permanent_.DataFileIsWhole()) return true;
  reports_.Error(Msg::MissingOrCorrupt, selection_.Letter());
  return false;
}

void frmQOR_Pro::Form_Activate() {
  ports_.controls.SetMousePointer(MousePointer::Default);
  ports_.controls.SetFocus(ControlId::lstAvail);
}

}  // namespace kestrane
