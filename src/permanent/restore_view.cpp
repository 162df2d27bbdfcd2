#include <string>
#include <string_view>
#include <vector>

#include "app/frm_qor_pro.h"
#include "engine/messages.h"
#include "engine/runner.h"
#include "permanent/data_access.h"
#include "permanent/startup_script.h"
#include "permanent/subst_listing.h"
#include "platform/file_error.h"

namespace kestrane {

namespace {

constexpr char kVerb[] = "open";  // subst runs unelevated, so the listing must too
constexpr char kCaptureName[] = "temp";
constexpr char kListing[] = " /C subst.exe > temp";
constexpr char kRestoreTitle[] = "Restore QOR";
constexpr char kViewTitle[] = "View Virtual Drives";
static_assert(std::string_view(kListing).ends_with(kCaptureName));

std::string ErrorText(const FileError& e) {
  return "Error " + std::to_string(e.Number()) + ": " + e.Description();
}

void DeleteQuietly(Files& files, const std::string& path) {
  try {
    files.Delete(path);
  } catch (const FileError&) {
    // Missing already, or held by another program: a stale capture is removed next time.
  }
}

// subst's listing, run through the command interpreter in the data folder and read back from its
// capture, which is deleted on every path.
struct Capture {
  std::string interpreter;  // for the commands that follow
  std::vector<std::string> lines;
  std::string problem;  // why there is no listing; empty when there is one
};

Capture CaptureListing(const Ports& ports, const std::string& dataFolder) {
  Capture result;
  const std::string capture = dataFolder + kCaptureName;
  try {
    const std::string system = ports.shell.SystemFolder();
    if (system.empty()) {
      result.problem = "The command interpreter could not be found: the system folder is unknown.";
      return result;
    }
    result.interpreter = system + "\\CMD.exe";
    // A capture left over from an earlier run must not pass for this one.
    try {
      ports.files.Delete(capture);
    } catch (const FileError& e) {
      if (e.Number() != err::kFileNotFound) throw;
    }
    const ProcessOutcome run =
        ports.processes.ShellRun(kVerb, result.interpreter, kListing, dataFolder, kCommandLimitMs);
    if (!run.started) {
      result.problem = "The command interpreter could not be started.";
      return result;
    }
    if (!run.finished) {
      DeleteQuietly(ports.files, capture);
      result.problem = "The list of Virtual Drives was not ready within " +
                       std::to_string(kCommandLimitMs / 1000) + " seconds.";
      return result;
    }
    result.lines = ports.files.ReadLines(capture);
  } catch (const FileError& e) {
    DeleteQuietly(ports.files, capture);
    result.problem =
        "The list of Virtual Drives could not be read." + std::string(kCrLf) + ErrorText(e);
    return result;
  }
  DeleteQuietly(ports.files, capture);
  return result;
}

}  // namespace

void frmQOR_Pro::mnuRepair_Click() {
  const std::string confirm = std::string("This will restore QOR to its initial state,") + kCrLf +
                              "i.e., remove all vitual drives, including" + kCrLf +
                              "permanent virtual drives for Pro users!";
  if (ports_.dialogs.MessageBox(confirm, kRestoreTitle, Buttons::OkCancel, Icon::Exclamation) !=
      Answer::Ok) {
    return;
  }
  ports_.controls.SetMousePointer(MousePointer::Hourglass);
  const Capture capture = CaptureListing(ports_, sPath);
  if (!capture.problem.empty()) {
    ReportRestoreProblem(capture.problem + kCrLf + "Nothing was changed.");
    return;
  }
  for (const char letter : LettersInListing(capture.lines)) {
    Ltr = std::string(1, letter);
    try {
      ports_.processes.ShellRun(kVerb, capture.interpreter, " /C subst.exe " + Ltr + ": /D", sPath,
                                kCommandLimitMs);
    } catch (const FileError&) {
      // Like a removal that subst refuses: the drive stays listed after the refresh.
    }
  }
  RefreshLetters();
  if (ForgetEveryPermanent()) ports_.controls.SetMousePointer(MousePointer::Default);
}

// Deletes the startup batch file and resets the mask; false when it has reported a failure.
bool frmQOR_Pro::ForgetEveryPermanent() {
  try {
    const std::string batch = StartupBatch();
    try {
      if (!batch.empty()) ports_.files.Delete(batch);
    } catch (const FileError& e) {
      if (e.Number() != err::kFileNotFound) throw;
    }
  } catch (const FileError& e) {
    // The mask keeps describing the batch file that is still there.
    ReportRestoreProblem(std::string("The startup file ") + kStartupBatch +
                         " could not be deleted; the permanent drives stay as they are." + kCrLf +
                         ErrorText(e));
    return false;
  }
  try {
    ResetMask(ports_.files, m_);
  } catch (const FileError& e) {
    if (e.Number() != err::kFileNotFound) {
      ReportRestoreProblem("The list of permanent drives could not be reset." + std::string(kCrLf) +
                           ErrorText(e));
      return false;
    }
  }
  return true;
}

void frmQOR_Pro::ReportRestoreProblem(const std::string& body) {
  ports_.controls.SetMousePointer(MousePointer::Default);
  ports_.dialogs.MessageBox(body, kRestoreTitle, Buttons::Ok, Icon::Critical);
}

void frmQOR_Pro::mnuView_Click() {
  auto& c = ports_.controls;
  if (ports_.dialogs.MessageBox("This will list all of your Virtual Drives", kViewTitle,
                                Buttons::OkCancel, Icon::Information) != Answer::Ok) {
    return;
  }
  c.SetMousePointer(MousePointer::Hourglass);
  const Capture capture = CaptureListing(ports_, sPath);
  c.SetMousePointer(MousePointer::Default);
  if (!capture.problem.empty()) {
    ports_.dialogs.MessageBox(capture.problem, kViewTitle, Buttons::Ok, Icon::Critical);
    return;
  }
  std::string listing;
  for (const std::string& line : capture.lines) {
    if (!line.empty()) listing += line + kCrLf;
  }
  constexpr char kListTitle[] = "Assigned Virtual Drives";
  if (listing.empty()) {
    ports_.dialogs.MessageBox("There are no assigned Virtual Drives", kListTitle, Buttons::Ok,
                              Icon::Exclamation);
  } else {
    ports_.dialogs.MessageBox(listing, kListTitle, Buttons::Ok, Icon::None);
  }
}

}  // namespace kestrane
