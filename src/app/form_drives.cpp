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

bool WentMeanwhile(RemovalResult result) {
  return result == RemovalResult::GoneMeanwhile || result == RemovalResult::GoneStillPermanent ||
         result == RemovalResult::GoneAndForgotten;
}

}  // namespace

void frmQOR_Pro::cmdOk_Click() {
  auto& c = ports_.controls;
  try {
    const std::string letter = RequirePickedLetter(Selection::List::Avail);
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
    reports_.Subst(outcome, letter);
  } catch (const std::exception&) {
    reports_.Error(Msg::UnknownFailure, selection_.Letter());
  }
}

void frmQOR_Pro::cmdRemove_Click() {
  try {
    // A permanent letter that is not mapped now (its folder was missing at logon, or the drive
    // was removed but kept permanent) stands in the free list; picked there, Remove forgets it.
    if (selection_.LetterList() == Selection::List::Avail) {
      const std::string free = selection_.LetterIn(Selection::List::Avail);
      if (IsPlainLetter(free) && permanent_.ReadWhetherPermanent(free[0])) {
        if (AskForgetPermanent(free) != Answer::Yes) return;
        ports_.controls.SetMousePointer(MousePointer::Hourglass);
        AfterRemoval(permanent_.ForgetUnmapped(free), free);
        return;
      }
    }
    const std::string letter = RequirePickedLetter(Selection::List::Used);
    if (letter.empty()) return;
    const RemovalCheck check = permanent_.CheckRemoval(letter);
    if (check.refusal != RemovalRefusal::None) {
      reports_.RemovalRefused(check.refusal);
      return;
    }
    const Answer answer = check.permanent ? AskForgetPermanent(letter) : Answer::No;
    if (answer == Answer::Cancel) return;
    ports_.controls.SetMousePointer(MousePointer::Hourglass);
    AfterRemoval(permanent_.Remove(letter, answer == Answer::Yes), letter);
  } catch (const std::exception&) {
    reports_.Error(Msg::UnknownFailure, selection_.Letter());
  }
}

void frmQOR_Pro::AfterRemoval(const RemovalOutcome& outcome, const std::string& letter) {
  if (!reports_.BeforeRemoval(outcome, letter)) return;
  if (outcome.subst) AfterSubst(*outcome.subst);
  // The lists still show the drive that went.
  if (WentMeanwhile(outcome.result)) RelistDrives(ProbeMode::Hushed);
  reports_.Removal(outcome, letter);
}

std::string frmQOR_Pro::RequirePickedLetter(Selection::List list) {
  selection_.Repick(list);
  const std::string letter = selection_.LetterIn(list);
  if (!letter.empty()) return letter;
  reports_.Error(Msg::NoLetter, letter);
  ports_.controls.SetFocus(list == Selection::List::Avail ? ControlId::lstAvail
                                                          : ControlId::lstUsedLtrs);
  return letter;
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
  if (outcome.probeFailure != 0) reports_.ProbeFailure(outcome.probeFailure);
  if (outcome.Ran()) RelistDrives(ProbeMode::Shown);
}

// After a command that may have changed the drives, the drive list follows the letter lists, so
// that no drive it offers is gone.
void frmQOR_Pro::RelistDrives(ProbeMode mode) {
  ListLetters(mode);
  try {
    browser_.RefreshDriveList();
  } catch (const std::exception&) {
    // The drive list only mirrors the change; failing to redraw it does not undo the outcome.
  }
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
  const LetterLists& lists = probe_.List(family_);
  const auto fill = [&](ControlId list, Selection::List which,
                        const std::vector<std::string>& entries) {
    c.SetListItems(list, entries);
    if (const int row = selection_.FollowRebuild(which, entries); row >= 0) {
      c.ListSelect(list, row);
    }
  };
  try {
    fill(ControlId::lstAvail, Selection::List::Avail, lists.avail);
    fill(ControlId::lstUsedLtrs, Selection::List::Used, lists.used);
  } catch (const std::exception&) {
    // The lists keep what was added so far; nothing is reported.
  }
  browser_.LeaveGoneDrive(lists.used);
  if (mode == ProbeMode::Shown) {
    for (const auto& failure : lists.failures) reports_.ProbeFailure(failure.number);
  }
}

}  // namespace kestrane
