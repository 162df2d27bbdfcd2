#pragma once
#include <string>
#include <vector>

namespace kestrane {

// A path as the path box and the boxes show it: a long one keeps its tail, which names the
// folder, behind "....." (a box cannot wrap a path, so a whole long one runs off the screen).
std::string ShortenedPath(const std::string& path);

// What the user has chosen: the folder (`Hold`, with the hidden-folder mode that typed it) and
// the letter (`Ltr`), with the entry picked in each letter list. The window shows it; nothing
// of it is read back from a control.
class Selection {
 public:
  enum class List { Avail, Used };

  // The letter last picked in either list: "K", or "z" for a network drive; empty for none.
  const std::string& Letter() const { return ltr_; }
  // The letter of the entry picked in one list; empty for none.
  std::string LetterIn(List list) const;
  // The list the letter was last picked in.
  List LetterList() const { return ltrList_; }
  // The user picked an entry ("K:") of a list; empty for none.
  void Pick(List list, const std::string& entry);
  // A command for one list's letter makes that letter the one last picked.
  void Repick(List list) { Pick(list, list == List::Avail ? availEntry_ : usedEntry_); }
  // The lists were rebuilt: an entry picked before stays picked where it still stands in its
  // list; one that is gone is forgotten, and with it the letter, so that no command acts on a
  // letter the user cannot see chosen. Returns the row to select in the list, -1 for none.
  int FollowRebuild(List list, const std::vector<std::string>& entries);

  // The full path of the folder last put into the path box (`Hold`).
  const std::string& Folder() const { return hold_; }
  void SetFolder(std::string folder) { hold_ = std::move(folder); }
  // The folder as the path box shows it between commands: a long path keeps its tail.
  std::string ShownFolder() const;

  // Hidden-folder mode: a folder the folder list does not show, typed below the chosen one. It
  // belongs to that folder and lasts until another folder is chosen.
  bool Hidden() const { return hidden_; }
  const std::string& HiddenFolder() const { return path_; }
  const std::string& SubFolder() const { return subFolder_; }
  // The base a typed name goes below: a drive root's is the letter and colon alone.
  std::string HiddenBase() const;
  void EnterHidden(const std::string& subFolder);
  // The folder list shows the typed folder under another name ("." and ".." resolved).
  void RenameHidden(std::string path) { path_ = std::move(path); }
  void LeaveHidden() { hidden_ = false; }
  // The folder chosen instead could not be opened: the typed folder stays chosen.
  void ResumeHidden() { hidden_ = !path_.empty(); }

 private:
  std::string ltr_;
  List ltrList_ = List::Avail;
  std::string availEntry_;
  std::string usedEntry_;
  std::string hold_;
  std::string path_;
  std::string subFolder_;
  bool hidden_ = false;
};

}  // namespace kestrane
