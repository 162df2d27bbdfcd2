#include <string>
#include <vector>

#include "app/frm_qor_pro.h"
#include "engine/messages.h"
#include "permanent/data_access.h"
#include "permanent/subst_listing.h"
#include "platform/file_error.h"

namespace kestrane {

namespace {

// Long enough for subst on a loaded machine; the window is blocked meanwhile, so not longer.
constexpr int kCommandLimitMs = 10000;
constexpr char kVerb[] = "open";  // subst runs unelevated, so the listing must too
constexpr char kListing[] = " /C subst.exe > temp";
constexpr char kCaptureName[] = "temp";

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

// Runs subst's listing through the command interpreter in the data folder and reads the capture
// back. The capture is deleted on every path. On failure, `problem` says why.
// `interpreter` receives the command interpreter's path for the commands that follow.
bool CaptureListing(const Ports& ports, const std::string& dataFolder, std::string& interpreter,
                    std::vector<std::string>& lines, std::string& problem) {
  const std::string capture = dataFolder + kCaptureName;
  try {
    const std::string system = ports.shell.SystemFolder();
    if (system.empty()) {
      problem = "The command interpreter could not be found: the system folder is unknown.";
      return false;
    }
    interpreter = system + "\\CMD.exe";
    // A capture left over from an earlier run must not pass for this one.
    try {
      ports.files.Delete(capture);
    } catch (const FileError& e) {
      if (e.Number() != err::kFileNotFound) throw;
    }
    const ProcessOutcome run =
        ports.processes.ShellRun(kVerb, interpreter, kListing, dataFolder, kCommandLimitMs);
    if (!run.started) {
      problem = "The command interpreter could not be started.";
      return false;
    }
    if (!run.finished) {
      DeleteQuietly(ports.files, capture);
      problem = "The list of Virtual Drives was not ready within 10 seconds.";
      return false;
    }
    lines = ports.files.ReadLines(capture);
  } catch (const FileError& e) {
    DeleteQuietly(ports.files, capture);
    problem = "The list of Virtual Drives could not be read." + std::string(kCrLf) + ErrorText(e);
    return false;
  }
  DeleteQuietly(ports.files, capture);
  return true;
}

}  // namespace

void frmQOR_Pro::mnuRepair_Click() {
  constexpr char kTitle[] = "Restore QOR";
  auto& c = ports_.controls;
  const std::string confirm = std::string("This will restore QOR to its initial state,") + kCrLf +
                              "i.e., remove all vitual drives, including" + kCrLf +
                              "permanent virtual drives for Pro users!";
  if (ports_.dialogs.MessageBox(confirm, kTitle, Buttons::OkCancel, Icon::Exclamation) !=
      Answer::Ok) {
    return;
  }
  c.SetMousePointer(MousePointer::Hourglass);
  Path = sPath;
  auto report = [&](const std::string& body) {
    c.SetMousePointer(MousePointer::Default);
    ports_.dialogs.MessageBox(body, kTitle, Buttons::Ok, Icon::Critical);
  };

  std::string interpreter;
  std::vector<std::string> lines;
  std::string problem;
  if (!CaptureListing(ports_, sPath, interpreter, lines, problem)) {
    report(problem + kCrLf + "Nothing was changed.");
    return;
  }
  for (const char letter : LettersInListing(lines)) {
    Ltr = std::string(1, letter);
    try {
      ports_.processes.ShellRun(kVerb, interpreter, " /C subst.exe " + Ltr + ": /D", sPath,
                                kCommandLimitMs);
    } catch (const FileError&) {
      // Like a removal that subst refuses: the drive stays listed after the refresh.
    }
  }
  RefreshLetters();

  try {
    Path = GetStartupFolder();
    try {
      if (!Path.empty()) ports_.files.Delete(Path + "\\subit.bat");
    } catch (const FileError& e) {
      if (e.Number() != err::kFileNotFound) throw;
    }
  } catch (const FileError& e) {
    // The mask keeps describing the batch file that is still there.
    report(
        "The startup file subit.bat could not be deleted; the permanent drives stay as they "
        "are." +
        std::string(kCrLf) + ErrorText(e));
    return;
  }
  try {
    ResetMask(ports_.files, m_);
  } catch (const FileError& e) {
    if (e.Number() != err::kFileNotFound) {
      report("The list of permanent drives could not be reset." + std::string(kCrLf) +
             ErrorText(e));
      return;
    }
  }
  c.SetMousePointer(MousePointer::Default);
}

void frmQOR_Pro::mnuView_Click() {
  constexpr char kTitle[] = "Assigned Virtual Drives";
  auto& c = ports_.controls;
  if (ports_.dialogs.MessageBox("This will list all of your Virtual Drives", "View Virtual Drives",
                                Buttons::OkCancel, Icon::Information) != Answer::Ok) {
    return;
  }
  c.SetMousePointer(MousePointer::Hourglass);
  Path = sPath;
  std::string interpreter;
  std::vector<std::string> lines;
  std::string problem;
  const bool captured = CaptureListing(ports_, sPath, interpreter, lines, problem);
  c.SetMousePointer(MousePointer::Default);
  if (!captured) {
    ports_.dialogs.MessageBox(problem, "View Virtual Drives", Buttons::Ok, Icon::Critical);
    return;
  }
  std::string listing;
  for (const std::string& line : lines) {
    if (!line.empty()) listing += line + kCrLf;
  }
  if (listing.empty()) {
    ports_.dialogs.MessageBox("There are no assigned Virtual Drives", kTitle, Buttons::Ok,
                              Icon::Exclamation);
  } else {
    ports_.dialogs.MessageBox(listing, kTitle, Buttons::Ok, Icon::None);
  }
}

}  // namespace kestrane
