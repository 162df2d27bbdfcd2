#include "app/reports.h"

#include "app/messages.h"
#include "app/window_layout.h"
#include "info/version.h"
#include "permanent/startup_script.h"
#include "platform/file_error.h"

namespace kestrane {

namespace {

constexpr char kMakeTitle[] = "Make Permanent";
constexpr char kUsage[] = "Usage: kestrane.exe [\"folder\"]";

std::string Quoted(const std::string& path) { return kQuote + path + kQuote; }

// Each refusal names what was given and why it cannot be chosen; the window stays as it was.
std::string ArrivalBody(const FolderArrival& arrival) {
  const std::string crlf = kCrLf;
  switch (arrival.kind) {
    case ArrivalKind::Network:
      return ErrorMessageFor(Msg::NetworkDrive, "").body + crlf + Quoted(arrival.path);
    case ArrivalKind::Unreadable:
      return "This folder cannot be read:" + crlf + Quoted(arrival.path) + crlf + arrival.why;
    case ArrivalKind::Unmappable: return kestrane::TargetRefusal(arrival.path);
    case ArrivalKind::TooMany:
      return "Only one folder can be given:" + crlf + arrival.path + crlf + kUsage;
    default: return ErrorMessageFor(Msg::PathNotFound, "").body + crlf + Quoted(arrival.path);
  }
}

}  // namespace

void Reports::Show(const std::string& body, const std::string& title, Icon icon) {
  controls_.SetMousePointer(MousePointer::Default);
  dialogs_.MessageBox(body, title, Buttons::Ok, icon);
}

void Reports::Done() { Show("Operation Completed!", "Done!", Icon::None); }

void Reports::Error(Msg code, const std::string& letter) {
  ErrorMessage m = ErrorMessageFor(code, letter);
  // Only Add and Make Permanent meet this refusal, both for the chosen folder, which it names.
  if (code == Msg::UnmappableFolder) m.body = kestrane::TargetRefusal(selection_.Folder());
  dialogs_.MessageBox(m.body, m.title, Buttons::Ok, Icon::Critical);
  controls_.SetMousePointer(MousePointer::Default);
}

void Reports::TargetRefusal(const std::string& folder) {
  const ErrorMessage m = ErrorMessageFor(Msg::UnmappableFolder, "");
  dialogs_.MessageBox(kestrane::TargetRefusal(folder), m.title, Buttons::Ok, Icon::Critical);
  controls_.SetMousePointer(MousePointer::Default);
}

void Reports::NoAnswer(const std::string& path) {
  Show(path + " does not answer." + kCrLf + kCrLf +
           "The lists stay where they were. Try again when it answers.",
       app::kTitle, Icon::Exclamation);
}

void Reports::OpenFailure(const std::string& folder, const std::string& failure) {
  dialogs_.MessageBox(
      "The folder " + Quoted(ShortenedPath(folder)) + " cannot be opened:" + kCrLf + failure + ".",
      app::kTitle, Buttons::Ok, Icon::Critical);
}

void Reports::ProbeFailure(int number) {
  dialogs_.MessageBox(std::to_string(number), "Error Number:", Buttons::Ok, Icon::Critical);
}

void Reports::ArrivalRefused(const FolderArrival& arrival) {
  if (arrival.kind == ArrivalKind::NoAnswer) {
    NoAnswer(arrival.path);
    return;
  }
  Show(ArrivalBody(arrival), ErrorMessageFor(Msg::PathNotFound, "").title, Icon::Critical);
}

void Reports::Subst(const SubstOutcome& outcome, const std::string& letter) {
  switch (outcome.status) {
    case SubstStatus::TimedOut: StillRunning(letter, false); return;
    case SubstStatus::NoDrive: NotConfirmed(letter, false); return;
    case SubstStatus::StillThere: NotConfirmed(letter, true); return;
    default:
      if (outcome.Done()) {
        Done();
      } else {
        Error(outcome.code, letter);
      }
  }
}

// subst outlasted the wait. It is still at work and may yet do as asked; when it ends, its
// announcement brings the lists up to date.
void Reports::StillRunning(const std::string& letter, bool forPermanent) {
  const std::string drive = letter + ":";
  std::string body = "subst has not finished with " + drive + " after " +
                     std::to_string(kCommandLimitMs / 1000) + " seconds." + kCrLf;
  body += forPermanent ? drive + " was not made permanent. Once the letter lists show the drive, " +
                             "press Make Permanent again."
                       : std::string("The letter lists will show what it did once it has.");
  Show(body, app::kTitle, Icon::Exclamation);
}

// subst said it had done as asked, and a look at the letter says otherwise.
void Reports::NotConfirmed(const std::string& letter, bool removal) {
  const std::string drive = letter + ":";
  Show(removal ? "subst reported success, but the drive " + drive + " is still there." + kCrLf +
                     "The virtual drive was not removed."
               : "subst reported success, but the drive " + drive + " is not there." + kCrLf +
                     "The folder was not given a drive letter.",
       app::kTitle, Icon::Critical);
}

void Reports::RemovalRefused(RemovalRefusal refusal) {
  const char* body = refusal == RemovalRefusal::NetworkDrive
                         ? "This is a Network drive, it cannot be removed!"
                         : "This is not a Virtual drive, it cannot be removed!";
  dialogs_.MessageBox(body, "Nothing to do!", Buttons::Ok, Icon::Information);
  controls_.SetFocus(ControlId::cmdCancel);
}

bool Reports::BeforeRemoval(const RemovalOutcome& outcome, const std::string& letter) {
  switch (outcome.result) {
    case RemovalResult::DamagedDataFile: Error(Msg::MissingOrCorrupt, letter); return false;
    case RemovalResult::LineKept:
    case RemovalResult::MarkKept:
    case RemovalResult::MarkKeptLineLost: ForgetFailed(outcome, letter); return false;
    default: break;
  }
  controls_.SetMousePointer(MousePointer::Default);
  if (outcome.noBatchFile) {
    dialogs_.MessageBox(std::string("There is no ") + kStartupBatch +
                            " in your Startup folder, so it held no line for " + letter + ":." +
                            kCrLf + "The letter " + letter + " is no longer marked permanent.",
                        app::kTitle, Buttons::Ok, Icon::Information);
  }
  return true;
}

// The letter's line or bit could not go, and so the drive was left as well: the user asked for
// both or nothing. The line goes back in when the bit cannot be cleared; only if that fails too
// is the letter left with its bit alone, and then it no longer comes back at logon.
void Reports::ForgetFailed(const RemovalOutcome& outcome, const std::string& letter) {
  const char* what =
      outcome.result == RemovalResult::LineKept ? " could not be removed from your startup file."
      : outcome.result == RemovalResult::MarkKept
          ? " stays permanent: its mark could not be cleared from the data file."
          : " no longer comes back at logon, but its permanent mark could not be cleared from the "
            "data file.";
  Show("The drive letter " + letter + what + kCrLf + ErrorText(*outcome.failure) +
           ". The virtual drive was left as it is.",
       app::kTitle, Icon::Critical);
}

// In the order it happened: the letter forgotten, then the drive removed, or gone before it
// could be.
void Reports::Removal(const RemovalOutcome& outcome, const std::string& letter) {
  switch (outcome.result) {
    case RemovalResult::Forgotten:
      Done();  // only the line and the bit were asked to go
      return;
    case RemovalResult::SubstRan: Subst(*outcome.subst, letter); break;
    case RemovalResult::GoneMeanwhile:
    case RemovalResult::GoneStillPermanent:
    case RemovalResult::GoneAndForgotten: GoneMeanwhile(letter, outcome.result); break;
    default: return;  // told before the removal
  }
  controls_.SetText(ControlId::cmdCancel, kExitCaption);
}

void Reports::GoneMeanwhile(const std::string& letter, RemovalResult result) {
  const std::string drive = letter + ":";
  std::string body = drive + " is no longer a virtual drive: it was removed meanwhile.";
  if (result == RemovalResult::GoneAndForgotten) {
    body += std::string(kCrLf) + drive + " is no longer permanent either.";
  }
  if (result == RemovalResult::GoneStillPermanent) {
    body += std::string(kCrLf) + drive + " is still permanent: it comes back at the next logon.";
  }
  Show(body, "Nothing to do!", Icon::Information);
}

void Reports::ChoiceRefused(const ChoiceCheck& check, const PermanentChoice& choice) {
  switch (check.refusal) {
    case ChoiceRefusal::None: return;
    case ChoiceRefusal::NoLetter:
      Error(Msg::NoLetter, choice.letter);
      controls_.SetFocus(ControlId::lstAvail);
      return;
    case ChoiceRefusal::NoFolder: Error(Msg::NoPathSelected, choice.letter); return;
    case ChoiceRefusal::NetworkLetter: Error(Msg::NetworkDrive, choice.letter); return;
    case ChoiceRefusal::Target: Error(check.target, choice.letter); return;
    case ChoiceRefusal::BatchCannotHold:
      Show("The folder \"" + choice.folder + "\" cannot be made permanent:" + kCrLf +
               "its name has characters that the startup batch file cannot hold.",
           kMakeTitle, Icon::Critical);
      return;
  }
}

void Reports::Make(const MakeOutcome& outcome, const std::string& letter) {
  switch (outcome.result) {
    case MakeResult::Done: Done(); return;
    case MakeResult::SubstStillRunning: StillRunning(letter, true); return;
    case MakeResult::DriveNotThere: NotConfirmed(letter, false); return;
    case MakeResult::SystemUnsupported:
      // Without a family the command can never work here: its button goes.
      controls_.SetVisible(ControlId::cmdDefault, false);
      Error(Msg::NotSupported, letter);
      return;
    case MakeResult::NoStartupFolder: Error(Msg::NotSupported, letter); return;
    case MakeResult::AlreadyPermanent:
      Error(Msg::AlreadyAssigned, letter);
      controls_.SetFocus(ControlId::lstAvail);
      return;
    case MakeResult::SubstRefused:
      Error(outcome.subst->code, letter);
      if (outcome.subst->code == Msg::AlreadyAssigned) controls_.SetFocus(ControlId::lstAvail);
      return;
    case MakeResult::DamagedDataFile: Error(Msg::MissingOrCorrupt, letter); return;
    case MakeResult::NotMade:
    case MakeResult::SessionOnly: break;
  }
  const std::string what =
      outcome.result == MakeResult::SessionOnly
          ? "The drive " + letter + ": was made for this session only and is not permanent."
          : std::string("The drive could not be made permanent.");
  Show(ErrorText(*outcome.failure) + kCrLf + what, kMakeTitle, Icon::Critical);
  controls_.SetFocus(ControlId::lstAvail);
}

void Reports::RestoreProblem(const std::string& body) { Show(body, kRestoreTitle, Icon::Critical); }

void Reports::Listing(const SubstListing::Capture& capture) {
  if (!capture.problem.empty()) {
    dialogs_.MessageBox(capture.problem, kViewTitle, Buttons::Ok, Icon::Critical);
    return;
  }
  std::string listing;
  for (const std::string& line : capture.lines) {
    if (!line.empty()) listing += line + kCrLf;
  }
  constexpr char kListTitle[] = "Assigned Virtual Drives";
  if (listing.empty()) {
    dialogs_.MessageBox("There are no assigned Virtual Drives", kListTitle, Buttons::Ok,
                        Icon::Exclamation);
  } else {
    dialogs_.MessageBox(listing, kListTitle, Buttons::Ok, Icon::None);
  }
}

}  // namespace kestrane
