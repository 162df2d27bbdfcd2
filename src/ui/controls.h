#pragma once
#include <string>
#include <vector>

#include "platform/port.h"

namespace kestrane {

// The controls of the main window the handlers touch, addressed by their established names; each
// value is the control's identifier in the window.
enum class ControlId : int {
  lstAvail = 1001,
  txtPath = 1002,
  DrvList = 1003,
  dirList = 1004,
  cmdOk = 1005,
  cmdDefault = 1006,
  cmdCancel = 1007,
  cmdRemove = 1008,
  lstUsedLtrs = 1009,
  Label3 = 1010,
  Label1 = 1011,
  Label2 = 1012,
};

constexpr int Id(ControlId control) { return static_cast<int>(control); }

struct AboutBox;

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
