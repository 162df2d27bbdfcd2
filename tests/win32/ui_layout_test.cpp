// The main window's description as the Win32 layer renders it: controls, tab order, tooltips,
// fonts, menu and shortcut, at more than one resolution.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/window_layout.h"
#include "win32/platform/strings.h"
#include "win32/ui/layout_view.h"
#include "win32/ui/menu_bar.h"
#include "win32/ui/windows_api.h"

namespace {

using namespace kestrane;
using namespace kestrane::win32;

constexpr wchar_t kParentClass[] = L"KestraneLayoutTestParent";

HWND CreateParent() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kParentClass;
  RegisterClassExW(&wc);
  return CreateWindowExW(0, kParentClass, L"layout", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

std::string TextOf(HWND hwnd) {
  wchar_t text[256] = {};
  GetWindowTextW(hwnd, text, 256);
  return Narrow(text);
}

RECT RectInParent(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class MainLayout : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    parent_ = CreateParent();
    ASSERT_NE(parent_, nullptr);
    view_.Create(parent_, GetModuleHandleW(nullptr), MainWindowSpec(), Dpi{GetParam(), GetParam()});
  }
  void TearDown() override { DestroyWindow(parent_); }

  HWND parent_ = nullptr;
  LayoutView view_;
};

TEST_P(MainLayout, EveryControlHasItsKindAndItsPlaceInPixels) {
  const Dpi dpi{GetParam(), GetParam()};
  for (const ControlSpec& c : MainWindowSpec().controls) {
    SCOPED_TRACE(c.name);
    const HWND hwnd = view_.Control(c.id);
    ASSERT_NE(hwnd, nullptr);
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    const RECT want = ToPixels(c.rect, dpi);
    const RECT got = RectInParent(hwnd);
    EXPECT_EQ(got.left, want.left);
    EXPECT_EQ(got.top, want.top);
    EXPECT_EQ(got.right - got.left, want.right - want.left);
    if (c.kind != ControlKind::DriveList) {
      EXPECT_EQ(got.bottom - got.top, want.bottom - want.top);
    }
    EXPECT_EQ((style & WS_TABSTOP) != 0, c.takesFocus);
    switch (c.kind) {
      case ControlKind::ListBox:
        // A scroll bar would cover the letters of a list this narrow.
        EXPECT_FALSE(style & WS_VSCROLL);
        [[fallthrough]];
      case ControlKind::FolderList:
        EXPECT_EQ(ClassOf(hwnd), L"ListBox");
        EXPECT_TRUE(style & LBS_NOTIFY);
        EXPECT_TRUE(style & LBS_NOINTEGRALHEIGHT);
        break;
      case ControlKind::DriveList:
        EXPECT_EQ(ClassOf(hwnd), L"ComboBox");
        EXPECT_EQ(style & 3, CBS_DROPDOWNLIST);
        break;
      case ControlKind::Button:
        EXPECT_EQ(ClassOf(hwnd), L"Button");
        // No button of the main window is the default: Enter triggers none.
        EXPECT_EQ(style & 0xF, BS_PUSHBUTTON);
        EXPECT_EQ(TextOf(hwnd), c.caption);
        break;
      case ControlKind::TextBox: EXPECT_EQ(ClassOf(hwnd), L"Edit"); break;
      case ControlKind::Label:
        EXPECT_EQ(ClassOf(hwnd), L"Static");
        EXPECT_EQ(style & SS_TYPEMASK, SS_OWNERDRAW);  // its caption's lines are ours
        EXPECT_EQ(TextOf(hwnd), c.caption);
        break;
      case ControlKind::Picture: break;
    }
  }
}

TEST_P(MainLayout, TabWalksTheFocusTakingControlsInTheirOrderAndWrapsAround) {
  std::vector<int> want;
  for (const ControlSpec& c : MainWindowSpec().controls) {
    if (c.takesFocus) want.push_back(c.id);
  }
  std::vector<int> walked;
  HWND at = view_.Control(want.front());
  for (std::size_t i = 0; i <= want.size(); ++i) {
    walked.push_back(GetDlgCtrlID(at));
    at = GetNextDlgTabItem(parent_, at, FALSE);
  }
  want.push_back(want.front());
  EXPECT_EQ(walked, want);
}

TEST_P(MainLayout, TooltipsCarryTheirExactTexts) {
  const HWND tip = view_.Tooltip();
  ASSERT_NE(tip, nullptr);
  int withTip = 0;
  for (const ControlSpec& c : MainWindowSpec().controls) {
    if (c.tooltip.empty()) continue;
    ++withTip;
    SCOPED_TRACE(c.name);
    wchar_t text[256] = {};
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = parent_;
    info.uId = reinterpret_cast<UINT_PTR>(view_.Control(c.id));
    info.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(Narrow(text), c.tooltip);
  }
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), withTip);
}

TEST_P(MainLayout, LabelsLieBeneathTheOtherControls) {
  bool seenLabel = false;
  for (HWND at = GetWindow(parent_, GW_CHILD); at != nullptr; at = GetWindow(at, GW_HWNDNEXT)) {
    const bool label = ClassOf(at) == L"Static";
    if (seenLabel) {
      EXPECT_TRUE(label) << "control " << GetDlgCtrlID(at) << " lies under a label";
    }
    seenLabel = seenLabel || label;
  }
  EXPECT_TRUE(seenLabel);
}

TEST_P(MainLayout, MovingToAMonitorOfAnotherResolutionPlacesAndSizesEverythingAnew) {
  const int other = GetParam() == 96 ? 144 : 96;
  view_.Rescale(Dpi{other, other});
  for (const ControlSpec& c : MainWindowSpec().controls) {
    SCOPED_TRACE(c.name);
    const RECT want = ToPixels(c.rect, Dpi{other, other});
    const RECT got = RectInParent(view_.Control(c.id));
    EXPECT_EQ(got.left, want.left);
    EXPECT_EQ(got.top, want.top);
    EXPECT_EQ(got.right - got.left, want.right - want.left);
    if (!c.font.face.empty()) {
      LOGFONTW font{};
      GetObjectW(reinterpret_cast<HFONT>(SendMessageW(view_.Control(c.id), WM_GETFONT, 0, 0)),
                 sizeof(font), &font);
      EXPECT_EQ(font.lfHeight, -MulDiv(975, other, 7200));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AtResolutions, MainLayout, ::testing::Values(96, 120, 144));

std::wstring MenuText(HMENU menu, int position) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
  return text;
}

TEST(MainMenu, FileHoldsHelpAboutRestoreAndUpgradeAndViewIsACommandOnTheBar) {
  const HMENU bar = BuildMenuBar(MainWindowSpec().menu);
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  EXPECT_EQ(MenuText(bar, 0), L"&File");
  EXPECT_EQ(MenuText(bar, 1), L"&View");
  EXPECT_EQ(GetSubMenu(bar, 1), nullptr);
  EXPECT_EQ(GetMenuItemID(bar, 1), static_cast<UINT>(ids::mnuView));

  const HMENU file = GetSubMenu(bar, 0);
  ASSERT_EQ(GetMenuItemCount(file), 6);
  const std::vector<std::wstring> captions{L"&Help",    L"&About", L"",
                                           L"&Restore", L"",       L"&Check for Upgrade"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(MenuText(file, i), captions[static_cast<std::size_t>(i)]);
  EXPECT_TRUE(GetMenuState(file, 2, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_TRUE(GetMenuState(file, 4, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ(GetMenuItemID(file, 5), static_cast<UINT>(ids::mnuChk4Upgrade));

  const HMENU help = GetSubMenu(file, 0);
  ASSERT_EQ(GetMenuItemCount(help), 10);
  EXPECT_EQ(MenuText(help, 0), L"&Introduction\tF1");
  EXPECT_EQ(GetMenuItemID(help, 0), static_cast<UINT>(ids::MnuHelpIntro));
  EXPECT_EQ(MenuText(help, 9), L"&License");
  DestroyMenu(bar);
}

TEST(MainMenu, F1IsTheOnlyShortcutAndOpensTheIntroduction) {
  const HACCEL table = BuildAccelerators(MainWindowSpec().menu);
  ASSERT_NE(table, nullptr);
  ACCEL entries[4] = {};
  ASSERT_EQ(CopyAcceleratorTableW(table, entries, 4), 1);
  EXPECT_EQ(entries[0].key, VK_F1);
  EXPECT_EQ(entries[0].cmd, ids::MnuHelpIntro);
  EXPECT_EQ(entries[0].fVirt & (FCONTROL | FALT | FSHIFT), 0);
  DestroyAcceleratorTable(table);
}

TEST(MainMenu, ShortcutNamesAreFunctionKeysOnly) {
  EXPECT_EQ(ShortcutKey("F1"), VK_F1);
  EXPECT_EQ(ShortcutKey("F12"), VK_F12);
  EXPECT_EQ(ShortcutKey("F13"), 0);
  EXPECT_EQ(ShortcutKey("F0"), 0);
  EXPECT_EQ(ShortcutKey("Ctrl+A"), 0);
  EXPECT_EQ(ShortcutKey(""), 0);
}

TEST(Twips, PixelsAndTwipsConvertBothWays) {
  EXPECT_EQ(PixelsToTwips(470, 96), 7050);
  EXPECT_EQ(PixelsToTwips(342, 96), 5130);
  EXPECT_EQ(PixelsToTwips(1, 120), 12);
  for (const int dpi : {96, 120, 144, 192}) {
    for (const int px : {0, 1, 25, 386, 1024})
      EXPECT_EQ(TwipsToPixels(PixelsToTwips(px, dpi), dpi), px);
  }
}

}  // namespace
