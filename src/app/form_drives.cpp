#include <exception>
#include <string>

#include "app/frm_qor_pro.h"
#include "app/messages.h"
#include "app/window_layout.h"
#include "info/version.h"
#include "platform/ascii_text.h"

namespace kestrane {

namespace {

std::string RootQuestion(char root, const std::string& letter) {
  const std::string r(1, root);
  return "It appears that you have selected a root folder (" + r + ":\\), " + kCrLf +
         "are you sure? Now both " + r + " and " + letter + " will point there.";
}

}  // namespace

void frmQOR_Pro::cmdOk_Click() {
  auto& c = ports_.controls;
  try {
    const std::string letter = PickedLetter(Selection::List::Avail);
    if (letter.empty()) return;
    const std::string folder = selection_.Folder();
    c.SetText(ControlId::txtPath, folder);
    if (folder.size() == 3) {
      const char root = AsciiUpper(folder[0]);
      if (ports_.dialogs.MessageBox(RootQuestion(root, letter), "Are You Sure?",
                                    Buttons::YesNoCancel, Icon::None) != Answer::Yes) {
        return;
      }
    }
    c.SetText(ControlId::cmdCancel, kExitCaption);
    c.SetMousePointer(MousePointer::Hourglass);
    const SubstOutcome outcome =
        runner_.Run(SubstRequest::Map(letter, folder, selection_.Hidden()));
    AfterSubst(outcome);
    ShowSubstOutcome(outcome, letter);
  } catch (const std::exception&) {
    ShowError(Msg::UnknownFailure);
  }
}

void frmQOR_Pro::cmdRemove_Click() {
  try {
    // A permanent letter that is not mapped now (its folder was missing at logon, or the drive
    // was removed but kept permanent) stands in the free list; picked there, Remove forgets it.
    if (selection_.LetterList() == Selection::List::Avail) {
      const std::string free = selection_.LetterIn(Selection::List::Avail);
      if (IsPlainLetter(free) && permanent_.IsPermanent(free[0])) {
        if (AskForgetPermanent(free) != Answer::Yes) return;
        ports_.controls.SetMousePointer(MousePointer::Hourglass);
        ShowRemoval(permanent_.ForgetUnmapped(free), free);
        return;
      }
    }
    const std::string letter = PickedLetter(Selection::List::Used);
    if (letter.empty()) return;
    const RemovalCheck check = permanent_.CheckRemoval(letter);
    switch (check.refusal) {
      case RemovalRefusal::NetworkDrive:
        RefuseRemoval("This is a Network drive, it cannot be removed!");
        return;
      case RemovalRefusal::NotVirtual:
        RefuseRemoval("This is not a Virtual drive, it cannot be removed!");
        return;
      case RemovalRefusal::None: break;
    }
    const Answer answer = check.permanent ? AskForgetPermanent(letter) : Answer::No;
    if (answer == Answer::Cancel) return;
    ports_.controls.SetMousePointer(MousePointer::Hourglass);
    ShowRemoval(permanent_.Remove(letter, answer == Answer::Yes), letter);
  } catch (const std::exception&) {
    ShowError(Msg::UnknownFailure);
  }
}

// In the order it happened: the letter forgotten (or why not), then the drive removed, or gone
// before it could be.
void frmQOR_Pro::ShowRemoval(const RemovalOutcome& outcome, const std::string& letter) {
  if (outcome.forgetFailure) {
    ReportForgetFailure(*outcome.forgetFailure, letter);
    return;
  }
  ports_.controls.SetMousePointer(MousePointer::Default);
  if (outcome.forgotten == ForgetOutcome::NoBatchFile) {
    ports_.dialogs.MessageBox(std::string("There is no ") + kStartupBatch +
                                  " in your Startup folder, so it held no line for " + letter +
                                  ":." + kCrLf + "The letter " + letter +
                                  " is no longer marked permanent.",
                              app::kTitle, Buttons::Ok, Icon::Information);
  }
  if (outcome.subst) AfterSubst(*outcome.subst);
  if (outcome.goneMeanwhile) {
    ReportGoneMeanwhile(letter, outcome.forgotten.has_value(), outcome.stillPermanent);
  } else if (outcome.subst) {
    ShowSubstOutcome(*outcome.subst, letter);
  } else {
    ShowDone();  // only the line and the bit were asked to go
    return;
  }
  ports_.controls.SetText(ControlId::cmdCancel, kExitCaption);
}

void frmQOR_Pro::ReportGoneMeanwhile(const std::string& letter, bool forgotten,
                                     bool stillPermanent) {
  // The lists still show the drive that went.
  RelistDrives(ProbeMode::Hushed);
  const std::string drive = letter + ":";
  std::string body = drive + " is no longer a virtual drive: it was removed meanwhile.";
  if (forgotten) body += std::string(kCrLf) + drive + " is no longer permanent either.";
  if (stillPermanent) {
    body += std::string(kCrLf) + drive + " is still permanent: it comes back at the next logon.";
  }
  ports_.controls.SetMousePointer(MousePointer::Default);
  ports_.dialogs.MessageBox(body, "Nothing to do!", Buttons::Ok, Icon::Information);
}

// The letter's line or bit could not go, and so the drive was left as well: the user asked for
// both or nothing.
void frmQOR_Pro::ReportForgetFailure(const ForgetFailure& failure, const std::string& letter) {
  if (failure.damagedDataFile) {
    ShowError(Msg::MissingOrCorrupt, letter);
    return;
  }
  // The line goes back in when the bit cannot be cleared; only if that fails too is the letter
  // left with its bit alone, and then it no longer comes back at logon.
  const char* what = !failure.markNotCleared ? " could not be removed from your startup file."
                     : failure.lineRestored
                         ? " stays permanent: its mark could not be cleared from the data file."
                         : " no longer comes back at logon, but its permanent mark could not "
                           "be cleared from the data file.";
  ports_.controls.SetMousePointer(MousePointer::Default);
  ports_.dialogs.MessageBox("The drive letter " + letter + what + kCrLf +
                                ErrorText(failure.number, failure.what) +
                                ". The virtual drive was left as it is.",
                            app::kTitle, Buttons::Ok, Icon::Critical);
}

// The letter of the entry picked in a list, which the command is for; empty, with the box that
// asks for one, when none is.
std::string frmQOR_Pro::PickedLetter(Selection::List list) {
  selection_.Repick(list);
  const std::string letter = selection_.LetterIn(list);
  if (!letter.empty()) return letter;
  ShowError(Msg::NoLetter, letter);
  ports_.controls.SetFocus(list == Selection::List::Avail ? ControlId::lstAvail
                                                          : ControlId::lstUsedLtrs);
  return letter;
}

void frmQOR_Pro::RefuseRemoval(const std::string& body) {
  ports_.dialogs.MessageBox(body, "Nothing to do!", Buttons::Ok, Icon::Information);
  ports_.controls.SetFocus(ControlId::cmdCancel);
}

// Asks whether a permanent letter goes for good: Yes, No, or Cancel (also for a closed box).
Answer frmQOR_Pro::AskForgetPermanent(const std::string& letter) {
  const Answer answer = ports_.dialogs.MessageBox(
      "This drive letter, " + letter + ", is permanent, do you want it removed permanently?",
      app::kTitle, Buttons::YesNoCancel, Icon::None);
  return answer == Answer::Yes || answer == Answer::No ? answer : Answer::Cancel;
}

// What follows every run of the runner before its outcome is shown: the probe's unexpected
// failure, and lists rebuilt whatever subst answered, so they show what it really left behind.
void frmQOR_Pro::AfterSubst(const SubstOutcome& outcome) {
  if (outcome.probeFailure != 0) ShowProbeFailure(outcome.probeFailure);
  if (outcome.Ran()) RelistDrives(ProbeMode::Shown);
}

// After a command that may have changed the drives, the drive list follows the letter lists, so
// that no drive it offers is gone.
void frmQOR_Pro::RelistDrives(ProbeMode mode) {
  ListLetters(mode);
  try {
    RefreshDriveList();
  } catch (const std::exception&) {
    // The drive list only mirrors the change; failing to redraw it does not undo the outcome.
  }
}

void frmQOR_Pro::ShowSubstOutcome(const SubstOutcome& outcome, const std::string& letter) {
  if (outcome.Done()) {
    ShowDone();
  } else if (outcome.status == SubstStatus::TimedOut) {
    ReportSubstStillRunning(letter, false);
  } else if (outcome.status == SubstStatus::NoDrive || outcome.status == SubstStatus::StillThere) {
    ReportNotConfirmed(letter, outcome.status == SubstStatus::StillThere);
  } else {
    ShowError(outcome.code, letter);
  }
}

// subst outlasted the wait. It is still at work and may yet do as asked; when it ends, its
// announcement brings the lists up to date.
void frmQOR_Pro::ReportSubstStillRunning(const std::string& letter, bool forPermanent) {
  const std::string drive = letter + ":";
  std::string body = "subst has not finished with " + drive + " after " +
                     std::to_string(kCommandLimitMs / 1000) + " seconds." + kCrLf;
  body += forPermanent ? drive + " was not made permanent. Once the letter lists show the drive, " +
                             "press Make Permanent again."
                       : std::string("The letter lists will show what it did once it has.");
  ports_.controls.SetMousePointer(MousePointer::Default);
  ports_.dialogs.MessageBox(body, app::kTitle, Buttons::Ok, Icon::Exclamation);
}

// subst said it had done as asked, and a look at the letter says otherwise.
void frmQOR_Pro::ReportNotConfirmed(const std::string& letter, bool removal) {
  const std::string drive = letter + ":";
  const std::string body =
      removal ? "subst reported success, but the drive " + drive + " is still there." + kCrLf +
                    "The virtual drive was not removed."
              : "subst reported success, but the drive " + drive + " is not there." + kCrLf +
                    "The folder was not given a drive letter.";
  ports_.controls.SetMousePointer(MousePointer::Default);
  ports_.dialogs.MessageBox(body, app::kTitle, Buttons::Ok, Icon::Critical);
}

void frmQOR_Pro::ShowDone() {
  ports_.controls.SetMousePointer(MousePointer::Default);
  ports_.dialogs.MessageBox("Operation Completed!", "Done!", Buttons::Ok, Icon::None);
}

void frmQOR_Pro::ShowError(Msg code, const std::string& letter) {
  ErrorMessage m = ErrorMessageFor(code, letter);
  // Only Add and Make Permanent meet this refusal, both for the chosen folder, which it names.
  if (code == Msg::UnmappableFolder) m.body = TargetRefusal(selection_.Folder());
  ports_.dialogs.MessageBox(m.body, m.title, Buttons::Ok, Icon::Critical);
  ports_.controls.SetMousePointer(MousePointer::Default);
}

void frmQOR_Pro::ShowTargetRefusal(const std::string& folder) {
  const ErrorMessage m = ErrorMessageFor(Msg::UnmappableFolder, "");
  ports_.dialogs.MessageBox(TargetRefusal(folder), m.title, Buttons::Ok, Icon::Critical);
  ports_.controls.SetMousePointer(MousePointer::Default);
}

void frmQOR_Pro::ShowProbeFailure(int number) {
  ports_.dialogs.MessageBox(std::to_string(number), "Error Number:", Buttons::Ok, Icon::Critical);
}

void frmQOR_Pro::CheckDriveSet() {
  if (!probe_.DriveSetChanged()) return;
  // Nobody asked for this listing: a drive caught half made or half removed by another program
  // counts as in use without a box, and the next check lists it as it has become.
  RelistDrives(ProbeMode::Hushed);
}

// The letter picked in each list stays picked where it still stands in its list.
void frmQOR_Pro::ListLetters(ProbeMode mode) {
  auto& c = ports_.controls;
  lists_ = probe_.List(family_);
  const auto fill = [&](ControlId list, Selection::List which,
                        const std::vector<std::string>& entries) {
    c.SetListItems(list, entries);
    if (const int row = selection_.Rebuilt(which, entries); row >= 0) c.ListSelect(list, row);
  };
  try {
    fill(ControlId::lstAvail, Selection::List::Avail, lists_.avail);
    fill(ControlId::lstUsedLtrs, Selection::List::Used, lists_.used);
  } catch (const std::exception&) {
    // The lists keep what was added so far; nothing is reported.
  }
  LeaveGoneDrive();
  if (mode == ProbeMode::Shown) {
    for (const auto& failure : lists_.failures) {
      ShowProbeFailure(failure.number);
    }
  }
}

// The drive the folder list shows has gone (removed here or by another program): the lists go
// back to the system drive's root, as at start, rather than stay on a folder nothing reaches.
void frmQOR_Pro::LeaveGoneDrive() {
  if (dir_.Path().empty()) return;
  const char shown = AsciiUpper(dir_.Path()[0]);
  for (const std::string& entry : lists_.used) {
    if (AsciiUpper(entry[0]) == shown) return;
  }
  try {
    ChooseFolder(SystemRoot());
  } catch (const std::exception&) {
    // The system drive cannot be opened either: the lists stay as they are.
  }
}

}  // namespace kestrane
