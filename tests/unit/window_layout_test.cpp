#include "app/window_layout.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/control_ids.h"

namespace kestrane {
namespace {

const ControlSpec& Find(const std::string& name) {
  const auto& c = MainWindowSpec().controls;
  auto it = std::find_if(c.begin(), c.end(), [&](const ControlSpec& s) { return s.name == name; });
  EXPECT_NE(it, c.end()) << name;
  return *it;
}

TEST(MainWindowLayout, ControlsStandInTabOrder) {
  std::vector<std::string> names;
  int tab = 0;
  for (const auto& c : MainWindowSpec().controls) {
    EXPECT_EQ(c.tabIndex, tab++);
    names.push_back(c.name);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"lstAvail", "txtPath", "DrvList", "dirList", "cmdOk",
                                             "cmdDefault", "cmdCancel", "cmdRemove", "lstUsedLtrs",
                                             "Label3", "Label1", "Label2"}));
}

TEST(MainWindowLayout, ButtonsCaptionsTooltipsAndPositionsAreExact) {
  EXPECT_EQ(Find("cmdOk").caption, "&Add Virtual Drive");
  EXPECT_EQ(Find("cmdOk").tooltip, " Create virtual drive. ");
  EXPECT_EQ(Find("cmdDefault").caption, "&Make Permanent");
  EXPECT_EQ(Find("cmdDefault").tooltip, " Make virtual drive letter permanent. ");
  EXPECT_EQ(Find("cmdCancel").caption, "&Exit");
  EXPECT_EQ(Find("cmdCancel").tooltip, " Do nothing and exit program. ");
  EXPECT_TRUE(Find("cmdCancel").cancelButton);
  EXPECT_EQ(Find("cmdRemove").tooltip,
            " Click Letter in Use, then Click to remove that letter's virtual drive. ");
  EXPECT_EQ(Find("cmdRemove").rect, (TwipsRect{720, 4315, 1095, 500}));
  EXPECT_EQ(Find("lstUsedLtrs").tooltip, " Lower case letters are network drives ");
  EXPECT_EQ(Find("txtPath").tooltip, " Selected Path");
  EXPECT_EQ(Find("DrvList").tooltip, " Drive List");
  EXPECT_EQ(Find("dirList").tooltip, " Folder List");
  EXPECT_EQ(Find("Label2").caption, "Full path: (C:\\FolderName\\SubFolder)");
  EXPECT_EQ(Find("Label1").align, Align::Right);
  for (const auto& c : MainWindowSpec().controls) EXPECT_FALSE(c.defaultButton) << c.name;
}

TEST(MainWindowLayout, LetterListsUseTheBoldFontOnTheTooltipColour) {
  for (const char* name : {"lstAvail", "lstUsedLtrs"}) {
    EXPECT_TRUE(Find(name).tooltipBackground);
    EXPECT_EQ(Find(name).font.face, "MS Sans Serif");
    EXPECT_DOUBLE_EQ(Find(name).font.points, 9.75);
    EXPECT_TRUE(Find(name).font.bold);
  }
}

std::vector<std::string> Captions(const std::vector<MenuSpec>& items) {
  std::vector<std::string> out;
  for (const auto& i : items) out.push_back(i.IsSeparator() ? "-" : i.caption);
  return out;
}

TEST(MainWindowLayout, MenuTreeAndShortcut) {
  const auto& bar = MainWindowSpec().menu;
  EXPECT_EQ(Captions(bar), (std::vector<std::string>{"&File", "&View"}));
  EXPECT_TRUE(bar[1].children.empty());
  EXPECT_EQ(bar[1].id, ids::mnuView);
  EXPECT_EQ(Captions(bar[0].children), (std::vector<std::string>{"&Help", "&About", "-", "&Restore",
                                                                 "-", "&Check for Upgrade"}));
  const auto& help = bar[0].children[0].children;
  EXPECT_EQ(Captions(help),
            (std::vector<std::string>{
                "&Introduction", "&Create Virtual Drive", "Create a &Virtual CD",
                "&Using the Keyboard", "&Make Permanent", "Remove Virtual &Drive",
                "Misc. &Functions", "&Support", "&Ordering Information", "&License"}));
  EXPECT_EQ(help[0].shortcut, "F1");
}

TEST(MainWindowLayout, TwipsBecomePixelsAtTheRealDpi) {
  EXPECT_EQ(TwipsToPixels(7050, 96), 470);
  EXPECT_EQ(TwipsToPixels(5130, 96), 342);
  EXPECT_EQ(TwipsToPixels(7050, 144), 705);
  EXPECT_EQ(TwipsToPixels(4315, 96), 288);  // 287.67 rounds up
}

}  // namespace
}  // namespace kestrane
