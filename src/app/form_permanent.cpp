#include <string>

#include "app/frm_qor_pro.h"
#include "app/messages.h"
#include "app/window_layout.h"

namespace kestrane {

namespace {

std::string Confirmation(const std::string& letter, const std::string& folder) {
  const std::string q = kQuote;
  return std::string("This feature will place a file in your Startup Folder!") + kCrLf + kCrLf +
         "Save " + q + letter + ":\\" + q + " as:  " + q + folder + q + kCrLf + "permanently?";
}

}  // namespace

void frmQOR_Pro::cmdDefault_Click() {
  auto& c = ports_.controls;
  const PermanentChoice choice{selection_.Letter(), selection_.Folder(), selection_.Hidden()};
  c.SetText(ControlId::txtPath, choice.folder);
  const ChoiceCheck check = permanent_.Check(choice);
  if (check.refusal != ChoiceRefusal::None) {
    reports_.ChoiceRefused(check, choice);
    // Only a folder whose name the batch file cannot hold went as far as the command itself.
    if (check.refusal != ChoiceRefusal::BatchCannotHold) return;
  } else if (ports_.dialogs.MessageBox(Confirmation(choice.letter, choice.folder),
                                       "Make Permanent?", Buttons::OkCancel,
                                       Icon::None) == Answer::Ok) {
    c.FocusWindow();
    const MakeOutcome outcome = permanent_.Make(*check.choice);
    if (outcome.subst) AfterSubst(*outcome.subst);
    reports_.Make(outcome, choice.letter);
  }
  c.SetText(ControlId::cmdCancel, kExitCaption);
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
    case RestoreOutcome::Status::DamagedDataFile:
      reports_.Error(Msg::MissingOrCorrupt, selection_.Letter());
      return;
    case RestoreOutcome::Status::Problem: reports_.RestoreProblem(outcome.problem); return;
  }
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
  reports_.Listing(capture);
}

}  // namespace kestrane
