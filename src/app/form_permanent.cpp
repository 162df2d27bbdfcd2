#include <string>

#include "app/frm_qor_pro.h"
#include "app/messages.h"
#include "app/window_layout.h"

namespace kestrane {

namespace {

constexpr char kMakeTitle[] = "Make Permanent";
constexpr char kRestoreTitle[] = "Restore QOR";
constexpr char kViewTitle[] = "View Virtual Drives";

std::string Confirmation(const std::string& letter, const std::string& folder) {
  const std::string q = kQuote;
  return std::string("This feature will place a file in your Startup Folder!") + kCrLf + kCrLf +
         "Save " + q + letter + ":\\" + q + " as:  " + q + folder + q + kCrLf + "permanently?";
}

}  // namespace

void frmQOR_Pro::cmdDefault_Click() {
  auto& c = ports_.controls;
  const std::string letter = selection_.Letter();
  const std::string folder = selection_.Folder();
  c.SetText(ControlId::txtPath, folder);
  if (!PermanentChoiceIsValid(letter, folder)) return;
  const std::string batchFolder = permanent_.FolderForBatch(letter, folder);
  if (batchFolder.empty()) {
    c.SetMousePointer(MousePointer::Default);
    ports_.dialogs.MessageBox(
        "The folder \"" + folder + "\" cannot be made permanent:" + kCrLf +
            "its name has characters that the startup batch file cannot hold.",
        kMakeTitle, Buttons::Ok, Icon::Critical);
  } else if (ports_.dialogs.MessageBox(Confirmation(letter, folder), "Make Permanent?",
                                       Buttons::OkCancel, Icon::None) == Answer::Ok) {
    c.FocusWindow();
    const MakeOutcome outcome =
        permanent_.Make(letter, folder, selection_.Hidden(), batchFolder, family_);
    if (outcome.subst) AfterSubst(*outcome.subst);
    ReportMakeOutcome(outcome, letter);
  }
  c.SetText(ControlId::cmdCancel, kExitCaption);
}

// The refusals of a choice that cannot be made permanent; false when one was shown.
bool frmQOR_Pro::PermanentChoiceIsValid(const std::string& letter, const std::string& folder) {
  if (letter.empty()) {
    ShowError(Msg::NoLetter, letter);
    ports_.controls.SetFocus(ControlId::lstAvail);
    return false;
  }
  if (folder.empty()) {
    ShowError(Msg::NoPathSelected, letter);
    return false;
  }
  // A lower-case letter is a network drive's, picked from the used list; it could never get a
  // bit of its own.
  if (!IsPlainLetter(letter)) {
    ShowError(Msg::NetworkDrive, letter);
    return false;
  }
  const Msg why = runner_.WhyNotTarget(folder);
  if (why != Msg::None) ShowError(why, letter);
  return why == Msg::None;
}

void frmQOR_Pro::ReportMakeOutcome(const MakeOutcome& outcome, const std::string& letter) {
  auto& c = ports_.controls;
  switch (outcome.status) {
    case MakeOutcome::Status::Done: ShowDone(); return;
    case MakeOutcome::Status::Refused:
      if (outcome.subst && outcome.subst->status == SubstStatus::TimedOut) {
        ReportSubstStillRunning(letter, true);
        return;
      }
      if (outcome.subst && outcome.subst->status == SubstStatus::NoDrive) {
        ReportNotConfirmed(letter, false);
        return;
      }
      // Without a family the command can never work here: its button goes.
      if (outcome.familyUnsupported) c.SetVisible(ControlId::cmdDefault, false);
      ShowError(outcome.code, letter);
      if (outcome.code == Msg::AlreadyAssigned) c.SetFocus(ControlId::lstAvail);
      return;
    case MakeOutcome::Status::Failed: break;
  }
  if (outcome.damagedDataFile) {
    ShowError(Msg::MissingOrCorrupt, letter);
    return;
  }
  const FileError& e = *outcome.failure;
  const std::string what =
      outcome.mapped
          ? "The drive " + letter + ": was made for this session only and is not permanent."
          : std::string("The drive could not be made permanent.");
  c.SetMousePointer(MousePointer::Default);
  ports_.dialogs.MessageBox(ErrorText(e) + kCrLf + what, kMakeTitle, Buttons::Ok, Icon::Critical);
  c.SetFocus(ControlId::lstAvail);
}

void frmQOR_Pro::mnuRepair_Click() {
  const std::string confirm = std::string("This will restore QOR to its initial state,") + kCrLf +
                              "i.e., remove all vitual drives, including" + kCrLf +
                              "permanent virtual drives for Pro users!";
  if (ports_.dialogs.MessageBox(confirm, kRestoreTitle, Buttons::OkCancel, Icon::Exclamation) !=
      Answer::Ok) {
    return;
  }
  ports_.controls.SetMousePointer(MousePointer::Hourglass);
  const RestoreOutcome outcome = permanent_.Restore(listing_);
  if (outcome.drivesChanged) RelistDrives(ProbeMode::Shown);
  switch (outcome.status) {
    case RestoreOutcome::Status::Done:
      ports_.controls.SetMousePointer(MousePointer::Default);
      return;
    case RestoreOutcome::Status::DamagedDataFile: ShowError(Msg::MissingOrCorrupt); return;
    case RestoreOutcome::Status::Problem: ReportRestoreProblem(outcome.problem); return;
  }
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
  const SubstListing::Capture capture = listing_.Take();
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
