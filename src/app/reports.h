#pragma once
#include <string>

#include "app/folder_argument.h"
#include "app/selection.h"
#include "drives/message_codes.h"
#include "drives/subst_listing.h"
#include "drives/subst_runner.h"
#include "permanent/permanent_drives.h"
#include "ui/ports.h"

namespace kestrane {

// The titles of Restore's and View's boxes, their questions among them.
inline constexpr char kRestoreTitle[] = "Restore QOR";
inline constexpr char kViewTitle[] = "View Virtual Drives";

// What the user is told: each command's outcome turned into its box, with the pointer back to
// normal first and the focus where the box leaves it. Nothing here changes a drive or a file.
class Reports {
 public:
  Reports(const Ports& ports, const Selection& selection)
      : controls_(ports.controls), dialogs_(ports.dialogs), selection_(selection) {}

  void Done();
  // A numbered message; the chosen folder, where subst cannot take it as written, is named with
  // the reason.
  void Error(Msg code, const std::string& letter);
  void TargetRefusal(const std::string& folder);
  // A drive or folder that does not answer is not entered: the lists stay where they were.
  void NoAnswer(const std::string& path);
  // A folder the list could not open, named with the failure in plain words.
  void OpenFailure(const std::string& folder, const std::string& failure);
  void ProbeFailure(int number);
  // A folder given on the command line or dropped that cannot be chosen, and why.
  void ArrivalRefused(const FolderArrival& arrival);

  // Add, and Remove's deletion: what subst came to.
  void Subst(const SubstOutcome& outcome, const std::string& letter);
  // Remove: a letter in use that cannot be removed.
  void RemovalRefused(RemovalRefusal refusal);
  // Remove: what is told before the lists follow the removal (a forget that failed, or a letter
  // that had no batch file); false when the command ends with it.
  bool BeforeRemoval(const RemovalOutcome& outcome, const std::string& letter);
  // Remove: what came of it, once the lists show it.
  void Removal(const RemovalOutcome& outcome, const std::string& letter);
  // Make Permanent: a choice refused before the question, and what came of the command.
  void ChoiceRefused(const ChoiceCheck& check, const PermanentChoice& choice);
  void Make(const MakeOutcome& outcome, const std::string& letter);
  // Restore's problem, and View's listing.
  void RestoreProblem(const std::string& body);
  void Listing(const SubstListing::Capture& capture);

 private:
  void StillRunning(const std::string& letter, bool forPermanent);
  void NotConfirmed(const std::string& letter, bool removal);
  void GoneMeanwhile(const std::string& letter, RemovalResult result);
  void ForgetFailed(const RemovalOutcome& outcome, const std::string& letter);
  void Show(const std::string& body, const std::string& title, Icon icon);

  Controls& controls_;
  Dialogs& dialogs_;
  const Selection& selection_;
};

}  // namespace kestrane
