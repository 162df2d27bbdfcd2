#include "info/about.h"

#include "info/version.h"

#ifndef KESTRANE_WEB_HOST
#define KESTRANE_WEB_HOST "www.kestrane.example"
#endif

namespace kestrane {

namespace {

constexpr unsigned kGrey = 0x808080;  // 0xRRGGBB
constexpr unsigned kWhite = 0xFFFFFF;
constexpr int kRuleY = 2279;

ControlSpec Label(std::string name, int id, std::string caption, TwipsRect rect, FontSpec font,
                  int tab, Align align, bool black) {
  ControlSpec c;
  c.name = std::move(name);
  c.kind = ControlKind::Label;
  c.id = id;
  c.caption = std::move(caption);
  c.rect = rect;
  c.font = std::move(font);
  c.tabIndex = tab;
  c.takesFocus = false;
  c.align = align;
  c.blackText = black;
  return c;
}

std::string LegalNotice() {
  return "Copyright \u00a9 2026 Halvecki. All rights reserved. Kestrane is licensed, not sold; "
         "its use is governed by the licence in its help file. It comes with no warranty of any "
         "kind, and Halvecki is not liable for any loss arising from its use.";
}

}  // namespace

AboutBox BuildAboutBox() {
  WindowSpec w;
  w.name = "frmAbout";
  w.clientWidth = 5730;
  w.clientHeight = 3585;

  const std::string notice = LegalNotice();
  // Designed at Top 3000, below the rule; moved up beside the description, above it.
  const TwipsRect okRect{4320, 1880, 1260, 345};
  const std::string title = std::string(app::kTitle) + " - Pro\u2122";
  w.caption = "About " + std::string(app::kTitle) + " - Pro";
  const std::string version = "Version " + app::VersionText();

  ControlSpec ok;
  ok.name = "cmdOK";
  ok.kind = ControlKind::Button;
  ok.id = about_ids::cmdOK;
  ok.caption = "&OK";
  ok.rect = okRect;
  ok.tabIndex = 0;
  ok.defaultButton = true;
  ok.cancelButton = true;

  ControlSpec icon;
  icon.name = "picIcon";
  icon.kind = ControlKind::Picture;  // the application icon, 48 x 48, no border
  icon.id = about_ids::picIcon;
  icon.rect = {240, 240, 780, 780};
  icon.tabIndex = 1;
  icon.takesFocus = false;

  const FontSpec arial14{"Arial", 14.25, false};
  const FontSpec verdana14{"Verdana", 14.25, false};
  const FontSpec arial9{"Arial", 9.75, false};
  // The spaces put "from Halvecki" on a line of its own at this width and size.
  w.controls = {
      ok,
      icon,
      Label("lblDescription", about_ids::lblDescription,
            "Another Quality Application         from Halvecki", {1290, 1320, 3645, 810}, arial14,
            2, Align::Left, true),
      Label("lblDisclaimer", about_ids::lblDisclaimer, notice, {255, 2520, 5220, 945}, {}, 3,
            Align::Left, true),
      Label("lblTitle", about_ids::lblTitle, title, {1170, 240, 4365, 480}, verdana14, 4,
            Align::Center, true),
      Label("lblVersion", about_ids::lblVersion, version, {1290, 780, 3645, 225}, arial9, 5,
            Align::Center, false),
  };
  // An etched rule: in drawing order, the white line and then the grey one over its upper half.
  w.lines = {
      LineSpec{105, 5654, kRuleY, kWhite, 2},
      LineSpec{90, 5654, kRuleY, kGrey, 1},
  };
  return AboutBox{std::move(w)};
}

std::string VersionCheckMessage() {
  return "Your current version is " + app::VersionText() + ". Connect to the internet \r" +
         "then click 'OK' and your browser will link directly to the \r" +
         "What's New section of the QOR page on our Web Site!";
}

std::string ProductPageAddress() { return "http://" KESTRANE_WEB_HOST "/qor.htm#Whats_New"; }

}  // namespace kestrane
