#include "app/window_layout.h"

#include "app/control_ids.h"
#include "app/frm_qor_pro.h"
// The help file is compiled from the same numbers.
#include "help_ids.h"
#include "info/version.h"

namespace kestrane {

namespace {

const FontSpec kStandard{};
const FontSpec kLetterFont{"MS Sans Serif", 9.75, true};
const FontSpec kLabelFont{"MS Sans Serif", 9.75, false};

struct Design {
  WindowSpec window;
  std::vector<CommandEntry> commands;
};

ControlSpec Control(ControlId control, ControlKind kind, std::string caption, TwipsRect rect,
                    std::string tooltip, FontSpec font, int tab) {
  ControlSpec design;
  design.name = NameOf(control);
  design.kind = kind;
  design.id = Id(control);
  design.caption = std::move(caption);
  design.rect = rect;
  design.tooltip = std::move(tooltip);
  design.font = std::move(font);
  design.tabIndex = tab;
  design.takesFocus = kind != ControlKind::Label;
  return design;
}

// A menu entry with its handler, or with the help topic it opens.
MenuSpec Item(std::vector<CommandEntry>& commands, std::string name, std::string caption, int id,
              Handler handler, std::string shortcut = {}) {
  commands.push_back({id, handler, 0});
  return MenuSpec{std::move(name), std::move(caption), id, std::move(shortcut), {}};
}
MenuSpec Topic(std::vector<CommandEntry>& commands, std::string name, std::string caption, int id,
               unsigned long topic, std::string shortcut = {}) {
  commands.push_back({id, nullptr, topic});
  return MenuSpec{std::move(name), std::move(caption), id, std::move(shortcut), {}};
}

MenuSpec Separator(std::string name) { return MenuSpec{std::move(name), {}, 0, {}, {}}; }

// The controls in tab order, each with the handlers of its events.
void AddControls(Design& d) {
  using K = ControlKind;
  using F = frmQOR_Pro;
  auto& c = d.window.controls;
  const auto button = [&](ControlId id, std::string caption, TwipsRect rect, std::string tooltip,
                          int tab, Handler handler) {
    c.push_back(
        Control(id, K::Button, std::move(caption), rect, std::move(tooltip), kStandard, tab));
    d.commands.push_back({Id(id), handler, 0});
  };
  const auto rows = [&](ControlId id, RowHandler pick, Handler open, RowHandler openRow) {
    d.commands.push_back({Id(id), nullptr, 0, pick, open, openRow});
  };
  c.push_back(
      Control(ControlId::lstAvail, K::ListBox, "", {6480, 0, 375, 4860}, "", kLetterFont, 0));
  c.back().tooltipBackground = true;
  rows(ControlId::lstAvail, &F::lstAvail_Click, &F::lstAvail_DblClick, nullptr);
  c.push_back(Control(ControlId::txtPath, K::TextBox, "", {720, 1080, 5535, 285}, " Selected Path",
                      kStandard, 1));
  c.push_back(Control(ControlId::DrvList, K::DriveList, "", {2040, 1560, 4215, 315}, " Drive List",
                      kStandard, 2));
  rows(ControlId::DrvList, &F::DriveListPick, nullptr, nullptr);
  c.push_back(Control(ControlId::dirList, K::FolderList, "", {2040, 2040, 4215, 2790},
                      " Folder List", kStandard, 3));
  rows(ControlId::dirList, nullptr, nullptr, &F::FolderListOpen);
  button(ControlId::cmdOk, "&Add Virtual Drive", {720, 1560, 1095, 500}, " Create virtual drive. ",
         4, &F::cmdOk_Click);
  button(ControlId::cmdDefault, "&Make Permanent", {720, 3360, 1095, 500},
         " Make virtual drive letter permanent. ", 5, &F::cmdDefault_Click);
  button(ControlId::cmdCancel, kExitCaption, {720, 2520, 1095, 375},
         " Do nothing and exit program. ", 6, &F::cmdCancel_Click);
  c.back().cancelButton = true;
  button(ControlId::cmdRemove, "&Remove Virtual Drive", {720, 4315, 1095, 500},
         " Click Letter in Use, then Click to remove that letter's virtual drive. ", 7,
         &F::cmdRemove_Click);
  c.push_back(Control(ControlId::lstUsedLtrs, K::ListBox, "", {120, 0, 375, 4860},
                      " Lower case letters are network drives ", kLetterFont, 8));
  c.back().tooltipBackground = true;
  rows(ControlId::lstUsedLtrs, &F::lstUsedLtrs_Click, &F::lstUsedLtrs_DblClick, nullptr);
  c.push_back(Control(ControlId::Label3, K::Label, "Used Drive Letters", {600, 0, 1335, 495}, "",
                      kLabelFont, 9));
  c.push_back(Control(ControlId::Label1, K::Label, "Available Virtual Drive Letters",
                      {4800, 0, 1575, 495}, "", kLabelFont, 10));
  c.back().align = Align::Right;
  c.push_back(Control(ControlId::Label2, K::Label, "Full path: (C:\\FolderName\\SubFolder)",
                      {1080, 720, 3375, 255}, "", kLabelFont, 11));
}

// The menu bar; each entry with its handler or its help topic.
void AddMenu(Design& d) {
  using F = frmQOR_Pro;
  // The help topics are the help file's numbers (help_ids.h); they do not rise in menu order.
  auto& k = d.commands;
  MenuSpec help{"mnuHelp", "&Help", 0, {}, {}};
  help.children = {
      Topic(k, "MnuHelpIntro", "&Introduction", ids::MnuHelpIntro, IDH_INTRO, "F1"),
      Topic(k, "mnuHelpCreate", "&Create Virtual Drive", ids::mnuHelpCreate, IDH_CREATE),
      Topic(k, "mnuHelpCD", "Create a &Virtual CD", ids::mnuHelpCD, IDH_VIRTUAL_CD),
      Topic(k, "mnuHelpKB", "&Using the Keyboard", ids::mnuHelpKB, IDH_KEYBOARD),
      Topic(k, "mnuHelpPerm", "&Make Permanent", ids::mnuHelpPerm, IDH_PERMANENT),
      Topic(k, "mnuHelpRemove", "Remove Virtual &Drive", ids::mnuHelpRemove, IDH_REMOVE),
      Topic(k, "mnuHelpMisc", "Misc. &Functions", ids::mnuHelpMisc, IDH_MISC),
      Topic(k, "mnuHelpSupport", "&Support", ids::mnuHelpSupport, IDH_SUPPORT),
      Topic(k, "mnuHelpOrder", "&Ordering Information", ids::mnuHelpOrder, IDH_ORDERING),
      Topic(k, "mnuHelpLicense", "&License", ids::mnuHelpLicense, IDH_LICENSE),
  };
  MenuSpec file{"mnuFile", "&File", 0, {}, {}};
  file.children = {
      help,
      Item(k, "mnuAbout", "&About", ids::mnuAbout, &F::mnuAbout_Click),
      Separator("first"),
      Item(k, "mnuRepair", "&Restore", ids::mnuRepair, &F::mnuRepair_Click),
      Separator("second"),
      Item(k, "mnuChk4Upgrade", "&Check for Upgrade", ids::mnuChk4Upgrade,
           &F::mnuChk4Upgrade_Click),
  };
  d.window.menu = {file, Item(k, "mnuView", "&View", ids::mnuView, &F::mnuView_Click)};
}

Design BuildMainWindow() {
  Design d;
  d.window.name = "frmQOR_Pro";
  d.window.caption = app::kTitle;
  d.window.clientWidth = 7050;
  d.window.clientHeight = 5130;
  AddControls(d);
  AddMenu(d);
  return d;
}

const Design& MainDesign() {
  static const Design design = BuildMainWindow();
  return design;
}

}  // namespace

const WindowSpec& MainWindowSpec() { return MainDesign().window; }

const std::vector<CommandEntry>& MainCommands() { return MainDesign().commands; }

}  // namespace kestrane
