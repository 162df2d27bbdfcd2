#include <array>
#include <type_traits>
#include <utility>

#include "app/frm_qor_pro.h"
#include "app/steps.h"
#include "engine/messages.h"
#include "permanent/data_file.h"

namespace kestrane {

namespace {

constexpr int kDesignHeight = 5790;  // outer height in twips
constexpr int kStepTries = 3;        // a step failing outside the skip set is tried this often
constexpr char kDataFolder[] = "\\Halvecki\\Kestrane\\";
constexpr char kTitleSuffix[] = " - Pro";

// Device, disk, permission and path failures pass a step by; any other is tried again. Most
// steps cannot end start-up, so they need not say that it goes on.
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

}  // namespace

bool frmQOR_Pro::Form_Load() {
  auto& c = ports_.controls;
  const std::array steps{
      Startup([&] { c.SetMousePointer(MousePointer::Hourglass); }),
      Startup([&] { CentreWindow(); }),
      Startup([&] { SetFolderPath("\\"); }),
      Startup([&] { return FindAppDataFolder(); }),
      Startup([&] { sPath += kDataFolder; }),
      Startup([&] { m_.DataFile = sPath + kDataFileName; }),
      Startup([&] { return RequireDataFile(); }),
      Startup([&] { m_.OSFamily = GetOSFamily(ports_.shell); }),
      Startup([&] { m_.Quote = "\""; }),
      Startup([&] { file1_ = ports_.files.OpenRecords(m_.DataFile, kRecordLength); }),
      Startup([&] { RefreshLetters(); }),
      Startup([&] { file1_.reset(); }),
      Startup([&] { m_.PermMask = m_.DataRec.LetterMask; }),
      Startup([&] { c.SetCaption(c.Caption() + kTitleSuffix); }),
  };
  const bool ended = RunSteps(steps, kStepTries).ended;
  file1_.reset();
  if (ended) c.EndProgram();
  return !ended;
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
Flow frmQOR_Pro::FindAppDataFolder() {
  const FolderAnswer answer = ports_.shell.AppDataFolder();
  if (answer.status == 0) {
    sPath = answer.path;
    return Flow::Next;
  }
  ShowError(kMissingOrCorrupt);
  return Flow::End;
}

Flow frmQOR_Pro::RequireDataFile() {
  if (ports_.files.FileExists(m_.DataFile)) return Flow::Next;
  ShowError(kMissingOrCorrupt);
  return Flow::End;
}

void frmQOR_Pro::Form_Activate() {
  ports_.controls.SetMousePointer(MousePointer::Default);
  ports_.controls.SetFocus(ControlId::lstAvail);
}

}  // namespace kestrane
