#include "app/window_layout.h"

#include "app/control_ids.h"
#include "info/version.h"

namespace kestrane {

namespace {

const FontSpec kStandard{};
const FontSpec kLetterFont{"MS Sans Serif", 9.75, true};
const FontSpec kLabelFont{"MS Sans Serif", 9.75, false};

ControlSpec Control(std::string name, ControlKind kind, int id, std::string caption, TwipsRect rect,
                    std::string tooltip, FontSpec font, int tab) {
  ControlSpec design;
  design.name = std::move(name);
  design.kind = kind;
  design.id = id;
  design.caption = std::move(caption);
  design.rect = rect;
  design.tooltip = std::move(tooltip);
  design.font = std::move(font);
  design.tabIndex = tab;
  design.takesFocus = kind != ControlKind::Label;
  return design;
}

MenuSpec Item(std::string name, std::string caption, int id, std::string shortcut = {}) {
  return MenuSpec{std::move(name), std::move(caption), id, std::move(shortcut), {}};
}

MenuSpec Separator(std::string name) { return MenuSpec{std::move(name), {}, 0, {}, {}}; }

WindowSpec BuildMainWindow() {
  using K = ControlKind;
  WindowSpec w;
  w.name = "frmQOR_Pro";
  w.caption = app::kTitle;
  w.clientWidth = 7050;
  w.clientHeight = 5130;

  auto& c = w.controls;
  c.push_back(
      Control("lstAvail", K::ListBox, ids::lstAvail, "", {6480, 0, 375, 4860}, "", kLetterFont, 0));
  c.back().tooltipBackground = true;
  c.push_back(Control("txtPath", K::TextBox, ids::txtPath, "", {720, 1080, 5535, 285},
                      " Selected Path", kStandard, 1));
  c.push_back(Control("DrvList", K::DriveList, ids::DrvList, "", {2040, 1560, 4215, 315},
                      " Drive List", kStandard, 2));
  c.push_back(Control("dirList", K::FolderList, ids::dirList, "", {2040, 2040, 4215, 2790},
                      " Folder List", kStandard, 3));
  c.push_back(Control("cmdOk", K::Button, ids::cmdOk, "&Add Virtual Drive", {720, 1560, 1095, 500},
                      " Create virtual drive. ", kStandard, 4));
  c.push_back(Control("cmdDefault", K::Button, ids::cmdDefault, "&Make Permanent",
                      {720, 3360, 1095, 500}, " Make virtual drive letter permanent. ", kStandard,
                      5));
  c.push_back(Control("cmdCancel", K::Button, ids::cmdCancel, kExitCaption, {720, 2520, 1095, 375},
                      " Do nothing and exit program. ", kStandard, 6));
  c.back().cancelButton = true;
  c.push_back(Control(
      "cmdRemove", K::Button, ids::cmdRemove, "&Remove Virtual Drive", {720, 4315, 1095, 500},
      " Click Letter in Use, then Click to remove that letter's virtual drive. ", kStandard, 7));
  c.push_back(Control("lstUsedLtrs", K::ListBox, ids::lstUsedLtrs, "", {120, 0, 375, 4860},
                      " Lower case letters are network drives ", kLetterFont, 8));
  c.back().tooltipBackground = true;
  c.push_back(Control("Label3", K::Label, ids::Label3, "Used Drive Letters", {600, 0, 1335, 495},
                      "", kLabelFont, 9));
  c.push_back(Control("Label1", K::Label, ids::Label1, "Available Virtual Drive Letters",
                      {4800, 0, 1575, 495}, "", kLabelFont, 10));
  c.back().align = Align::Right;
  c.push_back(Control("Label2", K::Label, ids::Label2, "Full path: (C:\\FolderName\\SubFolder)",
                      {1080, 720, 3375, 255}, "", kLabelFont, 11));

  MenuSpec help{"mnuHelp", "&Help", 0, {}, {}};
  help.children = {
      Item("MnuHelpIntro", "&Introduction", ids::MnuHelpIntro, "F1"),
      Item("mnuHelpCreate", "&Create Virtual Drive", ids::mnuHelpCreate),
      Item("mnuHelpCD", "Create a &Virtual CD", ids::mnuHelpCD),
      Item("mnuHelpKB", "&Using the Keyboard", ids::mnuHelpKB),
      Item("mnuHelpPerm", "&Make Permanent", ids::mnuHelpPerm),
      Item("mnuHelpRemove", "Remove Virtual &Drive", ids::mnuHelpRemove),
      Item("mnuHelpMisc", "Misc. &Functions", ids::mnuHelpMisc),
      Item("mnuHelpSupport", "&Support", ids::mnuHelpSupport),
      Item("mnuHelpOrder", "&Ordering Information", ids::mnuHelpOrder),
      Item("mnuHelpLicense", "&License", ids::mnuHelpLicense),
  };
  MenuSpec file{"mnuFile", "&File", 0, {}, {}};
  file.children = {
      help,
      Item("mnuAbout", "&About", ids::mnuAbout),
      Separator("first"),
      Item("mnuRepair", "&Restore", ids::mnuRepair),
      Separator("second"),
      Item("mnuChk4Upgrade", "&Check for Upgrade", ids::mnuChk4Upgrade),
  };
  w.menu = {file, Item("mnuView", "&View", ids::mnuView)};
  return w;
}

}  // namespace

const WindowSpec& MainWindowSpec() {
  static const WindowSpec design = BuildMainWindow();
  return design;
}

int TwipsToPixels(int twips, int dpi) {
  const long long scaled = static_cast<long long>(twips) * dpi;
  return static_cast<int>((scaled + (scaled >= 0 ? kTwipsPerInch / 2 : -kTwipsPerInch / 2)) /
                          kTwipsPerInch);
}

}  // namespace kestrane
