#pragma once
#include <string>
#include <vector>

#include "platform/port.h"

namespace kestrane {

// The controls of the main window, each named once, in tab order: its established name and its
// identifier in the window. The enum, the name strings and the identifiers that programs driving
// the window use (app/control_ids.h) are all made from this list. The established names are not
// the captions: lstAvail is the free letters and lstUsedLtrs the used ones, txtPath the path
// box, DrvList the drive list and dirList the folder list; cmdOk is Add Virtual Drive, cmdDefault
// Make Permanent, cmdCancel Exit and cmdRemove Remove Virtual Drive. In the menu, mnuRepair is
// Restore and mnuChk4Upgrade the version check.
#define KESTRANE_MAIN_CONTROLS(X) \
  X(lstAvail, 1001)               \
  X(txtPath, 1002)                \
  X(DrvList, 1003)                \
  X(dirList, 1004)                \
  X(cmdOk, 1005)                  \
  X(cmdDefault, 1006)             \
  X(cmdCancel, 1007)              \
  X(cmdRemove, 1008)              \
  X(lstUsedLtrs, 1009)            \
  X(Label3, 1010)                 \
  X(Label1, 1011)                 \
  X(Label2, 1012)

enum class ControlId : int {
#define KESTRANE_CONTROL_ENUM(name, id) name = id,
  KESTRANE_MAIN_CONTROLS(KESTRANE_CONTROL_ENUM)
#undef KESTRANE_CONTROL_ENUM
};

constexpr int Id(ControlId control) { return static_cast<int>(control); }

// The control's established name ("lstAvail").
constexpr const char* NameOf(ControlId control) {
  switch (control) {
#define KESTRANE_CONTROL_NAME(name, id) \
  case ControlId::name: return #name;
    KESTRANE_MAIN_CONTROLS(KESTRANE_CONTROL_NAME)
#undef KESTRANE_CONTROL_NAME
  }
  return "";
}

struct AboutBox;

// What the user did to a control: pressed it (a button, a menu entry), picked a row of it (-1 for
// none), or opened a row (a double click).
enum class ControlEvent { Click, Pick, Open };

enum class MousePointer { Default, Hourglass };

// Window placement in twips.
struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const TwipsRect&) const = default;
};

class Controls : public Port {
 public:
  // List boxes (lstAvail, lstUsedLtrs). The entries replace the list's, in order, nothing
  // selected; the list is drawn once, with all of them.
  virtual void SetListItems(ControlId list, const std::vector<std::string>& items) = 0;
  virtual void ListSelect(ControlId list, int index) = 0;

  // Text of a text box, caption of a button or label.
  virtual void SetText(ControlId id, const std::string& text) = 0;
  virtual void SetVisible(ControlId id, bool visible) = 0;
  virtual void SetFocus(ControlId id) = 0;

  // The drive list: its entries and the current one ("c:", "d: [label]" as the list shows them).
  virtual void SetDriveItems(const std::vector<std::string>& items, int current) = 0;

  // The folder list: the rows it shows, their indentation, and the highlighted row.
  struct FolderRow {
    std::string name;
    int depth = 0;
    bool open = false;  // an ancestor or the current folder
    bool operator==(const FolderRow&) const = default;
  };
  virtual void SetFolderRows(const std::vector<FolderRow>& rows, int highlighted) = 0;
  virtual int FolderHighlight() const = 0;

  // The window itself.
  virtual std::string Caption() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetMousePointer(MousePointer pointer) = 0;
  virtual TwipsRect WindowRect() const = 0;  // outer frame
  virtual void MoveWindow(const TwipsRect& rect) = 0;
  virtual int ScreenWidth() const = 0;  // twips
  virtual int ScreenHeight() const = 0;
  virtual void FocusWindow() = 0;
  virtual void EndProgram() = 0;
  // The About box, modal over the window, built from its description.
  virtual void ShowAbout(const AboutBox& box) = 0;
};

}  // namespace kestrane
