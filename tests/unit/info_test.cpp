#include <gtest/gtest.h>

#include <algorithm>

#include "app/control_ids.h"
#include "app/window_layout.h"
#include "fakes/fakes.h"
#include "info/about.h"
#include "info/help.h"

namespace kestrane::fakes {
namespace {

class Info : public ::testing::Test {
 protected:
  void SetUp() override { m.StandardSetup(); }
  Machine m;
};

// ---- help topics

struct TopicCase {
  int command;
  const char* caption;
  unsigned long topic;
};

class HelpEntry : public Info, public ::testing::WithParamInterface<TopicCase> {};

TEST_P(HelpEntry, OpensItsTopicOfTheFileBesideTheProgram) {
  m.shell.programFolder = "D:\\Tools\\Kestrane";
  ASSERT_TRUE(m.form.Command(GetParam().command));
  ASSERT_EQ(m.shell.helpCalls.size(), 1u);
  EXPECT_EQ(m.shell.helpCalls[0].file, "D:\\Tools\\Kestrane\\qor.chm");
  EXPECT_EQ(m.shell.helpCalls[0].command, 15u);
  EXPECT_EQ(m.shell.helpCalls[0].data, GetParam().topic);
  EXPECT_TRUE(m.dialogs.boxes.empty());
  EXPECT_TRUE(m.shell.opened.empty());
}

// Menu order; the numbers are the help file's and do not rise in that order.
const TopicCase kTopicCases[] = {
    {ids::MnuHelpIntro, "&Introduction", 100},
    {ids::mnuHelpCreate, "&Create Virtual Drive", 110},
    {ids::mnuHelpCD, "Create a &Virtual CD", 120},
    {ids::mnuHelpKB, "&Using the Keyboard", 140},
    {ids::mnuHelpPerm, "&Make Permanent", 130},
    {ids::mnuHelpRemove, "Remove Virtual &Drive", 150},
    {ids::mnuHelpMisc, "Misc. &Functions", 165},
    {ids::mnuHelpSupport, "&Support", 170},
    {ids::mnuHelpOrder, "&Ordering Information", 180},
    {ids::mnuHelpLicense, "&License", 190},
};
INSTANTIATE_TEST_SUITE_P(Menu, HelpEntry, ::testing::ValuesIn(kTopicCases));

// Each entry of the Help submenu, in menu order, is captioned for the topic it opens.
TEST_F(Info, HelpSubmenuOpensItsTopicsEntryByEntry) {
  const MenuSpec& help = MainWindowSpec().menu.at(0).children.at(0);
  ASSERT_EQ(help.children.size(), std::size(kTopicCases));
  for (std::size_t i = 0; i < help.children.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(help.children[i].caption, kTopicCases[i].caption);
    ASSERT_TRUE(m.form.Command(help.children[i].id));
    EXPECT_EQ(m.shell.helpCalls.back().data, kTopicCases[i].topic);
  }
}

TEST(HelpTable, F1IsTheIntroductionsShortcut) {
  const MenuSpec& help = MainWindowSpec().menu.at(0).children.at(0);
  int withF1 = 0;
  for (const auto& item : help.children) {
    if (item.shortcut == "F1") {
      ++withF1;
      EXPECT_EQ(item.id, ids::MnuHelpIntro);
    }
  }
  EXPECT_EQ(withF1, 1);
}

TEST_F(Info, EachClickIsAFreshCallAndAFailingViewerIsNotReported) {
  m.form.Command(ids::mnuHelpMisc);
  m.form.Command(ids::mnuHelpMisc);
  m.form.Command(ids::MnuHelpIntro);
  ASSERT_EQ(m.shell.helpCalls.size(), 3u);
  EXPECT_EQ(m.shell.helpCalls[1].data, 165u);
  EXPECT_EQ(m.shell.helpCalls[2].data, 100u);
  EXPECT_TRUE(m.dialogs.boxes.empty());
}

// ---- About box

const ControlSpec& Find(const WindowSpec& w, const std::string& name) {
  auto it = std::find_if(w.controls.begin(), w.controls.end(),
                         [&](const ControlSpec& c) { return c.name == name; });
  if (it == w.controls.end()) throw std::runtime_error("no control " + name);
  return *it;
}

TEST_F(Info, AboutShowsAFreshlyBuiltBoxEachTime) {
  m.form.Command(ids::mnuAbout);
  m.form.Command(ids::mnuAbout);
  ASSERT_EQ(m.controls.abouts.size(), 2u);
  EXPECT_EQ(m.controls.abouts[0].window.caption, "About Kestrane - Pro");
  EXPECT_EQ(m.controls.abouts[1].window.caption, m.controls.abouts[0].window.caption);
  EXPECT_EQ(Find(m.controls.abouts[1].window, "lblVersion").caption, "Version 3.0.1");
  EXPECT_TRUE(m.dialogs.boxes.empty());
}

TEST(AboutBoxLayout, ClientAreaAndTabOrder) {
  const WindowSpec w = BuildAboutBox().window;
  EXPECT_EQ(w.name, "frmAbout");
  EXPECT_EQ(w.clientWidth, 5730);
  EXPECT_EQ(w.clientHeight, 3585);
  EXPECT_TRUE(w.menu.empty());
  std::vector<std::string> names;
  for (std::size_t i = 0; i < w.controls.size(); ++i) {
    names.push_back(w.controls[i].name);
    EXPECT_EQ(w.controls[i].tabIndex, static_cast<int>(i));
  }
  EXPECT_EQ(names, (std::vector<std::string>{"cmdOK", "picIcon", "lblDescription", "lblDisclaimer",
                                             "lblTitle", "lblVersion"}));
}

TEST(AboutBoxLayout, OneOkButtonThatIsDefaultAndCancel) {
  const WindowSpec w = BuildAboutBox().window;
  int buttons = 0;
  for (const auto& c : w.controls) buttons += c.kind == ControlKind::Button;
  EXPECT_EQ(buttons, 1);
  const ControlSpec& ok = Find(w, "cmdOK");
  EXPECT_EQ(ok.kind, ControlKind::Button);
  EXPECT_EQ(ok.id, 1);  // IDOK, so that Enter and Esc reach it as a dialog's own
  EXPECT_EQ(ok.caption, "&OK");
  EXPECT_EQ(ok.rect, (TwipsRect{4320, 1880, 1260, 345}));
  EXPECT_TRUE(ok.defaultButton);
  EXPECT_TRUE(ok.cancelButton);
  EXPECT_TRUE(ok.font.face.empty());
}

struct LabelCase {
  const char* name;
  int id;
  const char* caption;
  TwipsRect rect;
  const char* face;
  double points;
  Align align;
  bool black;
};

class AboutLabel : public ::testing::TestWithParam<LabelCase> {};

TEST_P(AboutLabel, TextPlaceAndFont) {
  const LabelCase& p = GetParam();
  const WindowSpec w = BuildAboutBox().window;
  const ControlSpec& c = Find(w, p.name);
  EXPECT_EQ(c.kind, ControlKind::Label);
  EXPECT_EQ(c.id, p.id);
  EXPECT_EQ(c.caption, p.caption);
  EXPECT_EQ(c.rect, p.rect);
  EXPECT_EQ(c.font.face, p.face);
  EXPECT_DOUBLE_EQ(c.font.points, p.points);
  EXPECT_FALSE(c.font.bold);
  EXPECT_EQ(c.align, p.align);
  EXPECT_EQ(c.blackText, p.black);
  EXPECT_FALSE(c.takesFocus);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AboutLabel,
    ::testing::Values(LabelCase{"lblDescription",
                                ids::lblDescription,
                                "Another Quality Application         from Halvecki",
                                {1290, 1320, 3645, 810},
                                "Arial",
                                14.25,
                                Align::Left,
                                true},
                      // "Kestrane - Pro" and the trade mark sign in UTF-8.
                      LabelCase{"lblTitle",
                                ids::lblTitle,
                                "Kestrane - Pro\xE2\x84\xA2",
                                {1170, 240, 4365, 480},
                                "Verdana",
                                14.25,
                                Align::Center,
                                true},
                      LabelCase{"lblVersion",
                                ids::lblVersion,
                                "Version 3.0.1",
                                {1290, 780, 3645, 225},
                                "Arial",
                                9.75,
                                Align::Center,
                                false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AboutBoxLayout, IconAndNoticeStayInsideTheBox) {
  const WindowSpec w = BuildAboutBox().window;
  const ControlSpec& icon = Find(w, "picIcon");
  EXPECT_EQ(icon.kind, ControlKind::Picture);
  EXPECT_EQ(icon.id, ids::picIcon);
  EXPECT_EQ(icon.rect, (TwipsRect{240, 240, 780, 780}));
  EXPECT_EQ(TwipsToPixels(icon.rect.width, 96), 52);  // room for the 48 x 48 icon
  const ControlSpec& notice = Find(w, "lblDisclaimer");
  EXPECT_EQ(notice.id, ids::lblDisclaimer);
  EXPECT_NE(notice.caption.find("Halvecki"), std::string::npos);
  EXPECT_TRUE(notice.blackText);
  // Below the rule, clear of the button, within the client area.
  EXPECT_GT(notice.rect.top, 2279 + 30);
  EXPECT_LE(notice.rect.left + notice.rect.width, w.clientWidth);
  EXPECT_LE(notice.rect.top + notice.rect.height, w.clientHeight);
  const ControlSpec& ok = Find(w, "cmdOK");
  EXPECT_LT(ok.rect.top + ok.rect.height, 2279);
}

TEST(AboutBoxLayout, EtchedRule) {
  const auto& lines = BuildAboutBox().window.lines;
  ASSERT_EQ(lines.size(), 2u);
  // White first, so that the grey line is drawn over its upper pixel.
  EXPECT_EQ(lines[0].rgb, 0xFFFFFFu);
  EXPECT_EQ(lines[0].width, 2);
  EXPECT_EQ(lines[0].x1, 105);
  EXPECT_EQ(lines[1].rgb, 0x808080u);
  EXPECT_EQ(lines[1].width, 1);
  EXPECT_EQ(lines[1].x1, 90);
  for (const auto& l : lines) {
    EXPECT_EQ(l.y, 2279);
    EXPECT_EQ(l.x2, 5654);
  }
}

// ---- version check

TEST_F(Info, VersionCheckMessageByteForByte) {
  m.dialogs.answers = {Answer::Cancel};
  m.form.Command(ids::mnuChk4Upgrade);
  ASSERT_EQ(m.dialogs.boxes.size(), 1u);
  const Box& box = m.dialogs.boxes[0];
  EXPECT_EQ(box.body,
            "Your current version is 3.0.1. Connect to the internet \r"
            "then click 'OK' and your browser will link directly to the \r"
            "What's New section of the QOR page on our Web Site!");
  EXPECT_EQ(box.body.find('\n'), std::string::npos);
  EXPECT_EQ(box.title, "Version Check");
  EXPECT_EQ(box.buttons, Buttons::OkCancel);
  EXPECT_EQ(box.icon, Icon::None);
}

TEST_F(Info, OkHandsTheProductPageToTheBrowser) {
  m.dialogs.answers = {Answer::Ok};
  m.form.Command(ids::mnuChk4Upgrade);
  ASSERT_EQ(m.shell.opened.size(), 1u);
  EXPECT_EQ(m.shell.opened[0], "http://" KESTRANE_WEB_HOST "/qor.htm#Whats_New");
  EXPECT_EQ(m.shell.opened[0], ProductPageAddress());
}

TEST_F(Info, CancelOpensNothingAndEveryClickAsksAgain) {
  m.dialogs.answers = {Answer::Cancel, Answer::Cancel};
  m.form.Command(ids::mnuChk4Upgrade);
  m.form.Command(ids::mnuChk4Upgrade);
  EXPECT_EQ(m.dialogs.boxes.size(), 2u);
  EXPECT_EQ(m.dialogs.boxes[1].body, m.dialogs.boxes[0].body);
  EXPECT_TRUE(m.shell.opened.empty());
}

}  // namespace
}  // namespace kestrane::fakes
