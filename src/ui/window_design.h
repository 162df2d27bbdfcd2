#pragma once
#include <string>
#include <vector>

#include "ui/controls.h"

namespace kestrane {

// A window as designed: what the window layer draws, in twips, free of any toolkit type.
inline constexpr int kTwipsPerInch = 1440;

enum class ControlKind { ListBox, TextBox, DriveList, FolderList, Button, Label, Picture };
enum class Align { Left, Center, Right };

struct FontSpec {
  std::string face;  // empty: the standard dialog font
  double points = 0;
  bool bold = false;
  bool operator==(const FontSpec&) const = default;
};

struct ControlSpec {
  std::string name;
  ControlKind kind = ControlKind::Label;
  int id = 0;  // control identifier
  std::string caption;
  TwipsRect rect;
  std::string tooltip;
  FontSpec font;
  int tabIndex = 0;
  bool takesFocus = true;
  bool tooltipBackground = false;  // lists drawn on the system tooltip colour
  bool cancelButton = false;
  bool defaultButton = false;
  Align align = Align::Left;
  bool blackText = false;
};

struct MenuSpec {
  std::string name;
  std::string caption;  // empty for a separator
  int id = 0;           // command identifier; 0 for a submenu or a separator
  std::string shortcut;
  std::vector<MenuSpec> children;
  bool IsSeparator() const { return caption.empty(); }
};

struct LineSpec {
  int x1 = 0;
  int x2 = 0;
  int y = 0;
  unsigned rgb = 0;
  int width = 1;
};

struct WindowSpec {
  std::string name;
  std::string caption;
  int clientWidth = 0;  // twips
  int clientHeight = 0;
  std::vector<ControlSpec> controls;  // in tab order
  std::vector<MenuSpec> menu;
  std::vector<LineSpec> lines;
};

// frmAbout as designed, its texts filled in as its load sets them.
struct AboutBox {
  WindowSpec window;
};

// Twips to pixels at the given dots per inch, rounded to nearest.
int TwipsToPixels(int twips, int dpi);

}  // namespace kestrane
