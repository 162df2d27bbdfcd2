// The main window with its Controls port, and the modal boxes, driven as a user would: keys go
// through the same dialog-key handling as in the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/control_ids.h"
#include "app/frm_qor_pro.h"
#include "info/about.h"
#include "seen_as_designed.h"
#include "test_folder.h"
#include "win32/platform/strings.h"
#include "win32/platform/win32_drives.h"
#include "win32/platform/win32_files.h"
#include "win32/platform/win32_processes.h"
#include "win32/platform/win32_shell.h"
#include "win32/ui/about_window.h"
#include "win32/ui/arrivals.h"
#include "win32/ui/input_box.h"
#include "win32/ui/main_window.h"
#include "win32/ui/message_loop.h"
#include "win32/ui/win32_controls.h"
#include "win32/ui/win32_dialogs.h"
#include "win32/ui/windows_api.h"
// DROPFILES, what Explorer hands a window: after the system's own header, which names MessageBox.
#include <shlobj.h>

namespace {

using namespace kestrane;
using namespace kestrane::win32;

// Runs a step from inside a modal loop, once its window has come up (or the time is over).
struct WhenShown {
  const wchar_t* windowClass;
  std::function<void(HWND)> step;
  bool ran = false;
  int ticks = 0;
};
WhenShown* pending = nullptr;

void CALLBACK OnTick(HWND, UINT, UINT_PTR timer, DWORD) {
  if (pending == nullptr) return;
  const HWND shown = FindWindowW(pending->windowClass, nullptr);
  if ((shown != nullptr && IsWindowVisible(shown)) || ++pending->ticks > 200) {
    KillTimer(nullptr, timer);
    pending->ran = true;
    pending->step(shown != nullptr && IsWindowVisible(shown) ? shown : nullptr);
  }
}

void Arm(WhenShown& when) {
  pending = &when;
  SetTimer(nullptr, 0, 20, &OnTick);
}

// A key as the user presses it: posted to the focused control, handled by the modal loop.
void PressKey(HWND dialog, WPARAM key) {
  const HWND focus = GetFocus();
  const HWND target = focus != nullptr && IsChild(dialog, focus) ? focus : dialog;
  PostMessageW(target, WM_KEYDOWN, key, 1);
  PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

class ModalBoxes : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                             200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  void TearDown() override {
    DestroyWindow(owner_);
    pending = nullptr;
  }
  HWND owner_ = nullptr;
};

TEST_F(ModalBoxes, InputBoxGivesTheTypedTextOnOkAndDisablesItsOwnerMeanwhile) {
  bool ownerDisabled = false;
  std::wstring prompt;
  WhenShown when{ids::kInputWindowClass, [&](HWND box) {
                   ASSERT_NE(box, nullptr);
                   ownerDisabled = !IsWindowEnabled(owner_);
                   wchar_t text[128] = {};
                   GetDlgItemTextW(box, ids::inputPrompt, text, 128);
                   prompt = text;
                   SetDlgItemTextW(box, ids::inputText, L"Private");
                   PressKey(box, VK_RETURN);  // OK is the default button
                 }};
  Arm(when);
  InputBox box;
  EXPECT_EQ(box.Ask(GetModuleHandleW(nullptr), owner_, L"C:\\R&D\\", L"Enter Folder Name"),
            L"Private");
  EXPECT_TRUE(when.ran);
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(IsWindowEnabled(owner_));
  EXPECT_EQ(prompt, L"C:\\R&D\\");
}

TEST_F(ModalBoxes, InputBoxGivesNothingOnCancelEscOrTheCloseBox) {
  const std::function<void(HWND)> endings[] = {
      [](HWND box) { PostMessageW(GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0); },
      [](HWND box) { PressKey(box, VK_ESCAPE); },
      [](HWND box) { PostMessageW(box, WM_CLOSE, 0, 0); },
  };
  for (const auto& end : endings) {
    WhenShown when{ids::kInputWindowClass, [&](HWND box) {
                     ASSERT_NE(box, nullptr);
                     SetDlgItemTextW(box, ids::inputText, L"typed");
                     end(box);
                   }};
    Arm(when);
    InputBox box;
    EXPECT_EQ(box.Ask(GetModuleHandleW(nullptr), owner_, L"C:\\", L"Enter Folder Name"), L"");
    EXPECT_TRUE(when.ran);
  }
}

TEST_F(ModalBoxes, AboutBoxIsAFixedDialogOffTheTaskBarClosedByEnterOrEsc) {
  for (const WPARAM key : {WPARAM{VK_RETURN}, WPARAM{VK_ESCAPE}}) {
    LONG_PTR style = 0;
    LONG_PTR exStyle = 0;
    std::wstring title;
    HWND owner = nullptr;
    bool hasOk = false;
    WhenShown when{ids::kAboutWindowClass, [&](HWND box) {
                     ASSERT_NE(box, nullptr);
                     style = GetWindowLongPtrW(box, GWL_STYLE);
                     exStyle = GetWindowLongPtrW(box, GWL_EXSTYLE);
                     wchar_t text[128] = {};
                     GetWindowTextW(box, text, 128);
                     title = text;
                     owner = GetWindow(box, GW_OWNER);
                     hasOk = GetDlgItem(box, kestrane::about_ids::cmdOK) != nullptr;
                     PressKey(box, key);
                   }};
    Arm(when);
    AboutWindow about;
    about.Show(GetModuleHandleW(nullptr), owner_, BuildAboutBox());
    EXPECT_TRUE(when.ran);
    EXPECT_EQ(FindWindowW(ids::kAboutWindowClass, nullptr), nullptr) << "still open after a key";
    EXPECT_EQ(title, L"About Kestrane - Pro");
    EXPECT_EQ(owner, owner_);
    EXPECT_TRUE(hasOk);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
    EXPECT_TRUE(IsWindowEnabled(owner_));
  }
}

struct BoxCase {
  Buttons buttons;
  Icon icon;
  UINT style;
};

class MessageBoxStyles : public ::testing::TestWithParam<BoxCase> {};

TEST_P(MessageBoxStyles, ButtonsAndIconMapToTheSystemStyle) {
  EXPECT_EQ(MessageBoxStyle(GetParam().buttons, GetParam().icon), GetParam().style);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MessageBoxStyles,
    ::testing::Values(BoxCase{Buttons::Ok, Icon::None, MB_OK},
                      BoxCase{Buttons::Ok, Icon::Critical, MB_OK | MB_ICONHAND},
                      BoxCase{Buttons::OkCancel, Icon::None, MB_OKCANCEL},
                      BoxCase{Buttons::YesNoCancel, Icon::Question,
                              MB_YESNOCANCEL | MB_ICONQUESTION},
                      BoxCase{Buttons::YesNo, Icon::Exclamation, MB_YESNO | MB_ICONEXCLAMATION},
                      BoxCase{Buttons::Ok, Icon::Information, MB_OK | MB_ICONASTERISK}));

TEST(MessageBoxAnswers, TheCloseBoxAndFailuresAnswerCancelUnlessOkStandsAlone) {
  EXPECT_EQ(AnswerFor(IDOK, Buttons::OkCancel), Answer::Ok);
  EXPECT_EQ(AnswerFor(IDYES, Buttons::YesNoCancel), Answer::Yes);
  EXPECT_EQ(AnswerFor(IDNO, Buttons::YesNo), Answer::No);
  EXPECT_EQ(AnswerFor(IDCANCEL, Buttons::YesNoCancel), Answer::Cancel);
  EXPECT_EQ(AnswerFor(IDCLOSE, Buttons::OkCancel), Answer::Cancel);
  EXPECT_EQ(AnswerFor(0, Buttons::OkCancel), Answer::Cancel);
  EXPECT_EQ(AnswerFor(IDCANCEL, Buttons::Ok), Answer::Ok);
}

// The real window over real adapters; nothing here runs a handler that reaches the machine.
class MainWindowPort : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    ASSERT_TRUE(window_.Create(GetModuleHandleW(nullptr)));
    controls_.Attach(window_.Hwnd());
    dialogs_.SetOwner(window_.Hwnd());
  }
  void TearDown() override {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  Win32Controls controls_;
  Win32Dialogs dialogs_{GetModuleHandleW(nullptr)};
  Win32Drives drives_;
  Win32Files files_;
  Win32Processes processes_;
  Win32Shell shell_;
  frmQOR_Pro form_{Ports{controls_, dialogs_, drives_, files_, processes_, shell_}};
  MainWindow window_{form_};
};

TEST_F(MainWindowPort, ListsTextsAndVisibilityGoThroughTheRealControls) {
  const auto send = [&](int id, UINT message, WPARAM w = 0) {
    return SendDlgItemMessageW(window_.Hwnd(), id, message, w, 0);
  };
  const auto text = [&](int id) {
    wchar_t buffer[256] = {};
    GetDlgItemTextW(window_.Hwnd(), id, buffer, 256);
    return Narrow(buffer);
  };
  controls_.SetListItems(ControlId::lstAvail, {"E:", "F:"});
  EXPECT_EQ(send(ids::lstAvail, LB_GETCOUNT), 2);
  wchar_t item[8] = {};
  SendDlgItemMessageW(window_.Hwnd(), ids::lstAvail, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(item));
  EXPECT_STREQ(item, L"F:");
  EXPECT_EQ(send(ids::lstAvail, LB_GETCURSEL), LB_ERR);
  controls_.SetListItems(ControlId::lstAvail, {});
  EXPECT_EQ(send(ids::lstAvail, LB_GETCOUNT), 0);

  controls_.SetText(ControlId::txtPath, "C:\\Données");
  EXPECT_EQ(text(ids::txtPath), "C:\\Données");
  EXPECT_EQ(text(ids::cmdCancel), "&Exit");
  const HWND make = GetDlgItem(window_.Hwnd(), ids::cmdDefault);
  EXPECT_TRUE(GetWindowLongPtrW(make, GWL_STYLE) & WS_VISIBLE);
  controls_.SetVisible(ControlId::cmdDefault, false);
  EXPECT_FALSE(GetWindowLongPtrW(make, GWL_STYLE) & WS_VISIBLE);

  controls_.SetDriveItems({"c:", "d: [DATA]"}, 1);
  EXPECT_EQ(SendDlgItemMessageW(window_.Hwnd(), ids::DrvList, CB_GETCURSEL, 0, 0), 1);
  controls_.SetFolderRows({{"C:\\", 0, true}, {"Windows", 1, true}, {"System32", 2, false}}, 1);
  EXPECT_EQ(controls_.FolderHighlight(), 1);
  EXPECT_EQ(SendDlgItemMessageW(window_.Hwnd(), ids::dirList, LB_GETCOUNT, 0, 0), 3);
}

TEST_F(MainWindowPort, WindowPlacementIsInTwipsAndKeepsTheWindowHidden) {
  EXPECT_EQ(controls_.Caption(), "Kestrane");
  controls_.SetCaption(controls_.Caption() + " - Pro");
  EXPECT_EQ(controls_.Caption(), "Kestrane - Pro");
  TwipsRect r = controls_.WindowRect();
  r.left = 1500;
  r.top = 750;
  r.height = 5790;
  controls_.MoveWindow(r);
  EXPECT_EQ(controls_.WindowRect(), r);
  EXPECT_GT(controls_.ScreenWidth(), 0);
  EXPECT_FALSE(IsWindowVisible(window_.Hwnd()));
}

TEST_F(MainWindowPort, EscEndsTheProgramAndTheWindowIsNeverShown) {
  const HWND main = window_.Hwnd();
  SetFocus(GetDlgItem(main, ids::lstAvail));
  MSG key{GetDlgItem(main, ids::lstAvail), WM_KEYDOWN, VK_ESCAPE, 1, 0, {}};
  EXPECT_TRUE(IsDialogMessageW(main, &key));
  EXPECT_TRUE(controls_.Ended());
  EXPECT_FALSE(IsWindow(main));
  MSG quit;
  EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// Moved while it runs to a monitor of another resolution, the window looks as it would have had
// it started there.
TEST_F(MainWindowPort, AChangeOfDpiRescalesEverythingAPersonSees) {
  const int from = window_.DpiUsed().y;
  ExpectSeenAsDesigned(window_.Hwnd(), MainWindowSpec(), from);
  const int to = from == 144 ? 96 : 144;
  RECT r{};
  GetWindowRect(window_.Hwnd(), &r);
  r = RECT{r.left, r.top, r.left + MulDiv(r.right - r.left, to, from),
           r.top + MulDiv(r.bottom - r.top, to, from)};
  SendMessageW(window_.Hwnd(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&r));
  ExpectSeenAsDesigned(window_.Hwnd(), MainWindowSpec(), to);
  GetClientRect(window_.Hwnd(), &r);
  EXPECT_EQ(r.right, TwipsToPixels(MainWindowSpec().clientWidth, to));
  EXPECT_EQ(r.bottom, TwipsToPixels(MainWindowSpec().clientHeight, to));
}

// A path wider than its box shows its end, the folder's own name, also after a change of DPI.
TEST_F(MainWindowPort, APathWiderThanItsBoxKeepsItsEndInSightAtEveryDpi) {
  const HWND box = GetDlgItem(window_.Hwnd(), ids::txtPath);
  const std::string path =
      "C:\\Users\\Ann\\Documents\\Clients\\Northwind Traders\\2026\\"
      "Quarterly Reports\\Drafts and Final Versions\\Report";
  const auto endInSight = [&] {
    RECT client{};
    GetClientRect(box, &client);
    const LRESULT last = SendMessageW(box, EM_POSFROMCHAR, path.size() - 1, 0);
    const int x = static_cast<short>(LOWORD(last));
    return last != -1 && x >= 0 && x < client.right;
  };
  controls_.SetText(ControlId::txtPath, path);
  EXPECT_TRUE(endInSight());
  const int from = window_.DpiUsed().y;
  const int to = from == 144 ? 96 : 144;
  RECT r{};
  GetWindowRect(window_.Hwnd(), &r);
  SendMessageW(window_.Hwnd(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&r));
  EXPECT_TRUE(endInSight()) << "at " << to << " dpi";
}

// No button is the default: Enter presses the button that has the focus, however it got there
// (Tab, a click, a box closing), and nothing while the focus is elsewhere.
TEST_F(MainWindowPort, EnterPressesOnlyTheButtonWithTheFocus) {
  const HWND main = window_.Hwnd();
  const auto enterOn = [&](int id) {
    const HWND control = GetDlgItem(main, id);
    SetFocus(control);
    MSG key{control, WM_KEYDOWN, VK_RETURN, 1, 0, {}};
    IsDialogMessageW(main, &key);
  };
  enterOn(ids::lstAvail);
  enterOn(ids::txtPath);
  EXPECT_FALSE(controls_.Ended());
  enterOn(ids::cmdCancel);
  EXPECT_TRUE(controls_.Ended());
  EXPECT_FALSE(IsWindow(main));
}

// The window shows before its tips are made; the program's loop makes them as soon as it first
// has nothing to do, before any input can reach a control, with a tip for every control that has
// one in the design.
TEST_F(MainWindowPort, TipsAreMadeAtTheLoopsFirstIdleMomentWithEveryDesignedTip) {
  ASSERT_EQ(window_.TooltipIfMade(), nullptr);
  const HWND main = window_.Hwnd();
  bool made = false;
  int tools = 0;
  // The loop idles only once what is queued has been handled.
  PostMessageW(main, WM_NULL, 0, 0);
  RunMessageLoop(
      main, nullptr, [&] { return window_.TooltipIfMade(); },
      [&] {
        window_.MakeTooltips();
        made = window_.TooltipIfMade() != nullptr;
        tools = static_cast<int>(SendMessageW(window_.TooltipIfMade(), TTM_GETTOOLCOUNT, 0, 0));
        PostQuitMessage(0);
      });
  int designed = 0;
  for (const ControlSpec& c : MainWindowSpec().controls) designed += c.tooltip.empty() ? 0 : 1;
  EXPECT_TRUE(made);
  EXPECT_GT(designed, 0);
  EXPECT_EQ(tools, designed);
}

// Messages handled as the program's loop handles them, until `done` or the limit.
bool PumpUntil(TipRelay& tips, const std::function<bool()>& done, DWORD limitMs) {
  const DWORD end = GetTickCount() + limitMs;
  while (!done()) {
    if (GetTickCount() > end) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      tips.Look(msg);
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

POINT Centre(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The pointer really moves (SetCursorPos on the X display). A tip that could stay up half a
// minute by itself must go as soon as the pointer leaves its control for outside the window, or
// another window (a message box, the input box) takes the activation from the main window.
TEST_F(MainWindowPort, ATipGoesWithThePointerOrTheActivationAndDiesWithTheWindow) {
  const HWND main = window_.Hwnd();
  window_.MakeTooltips();
  const HWND tip = window_.TooltipIfMade();
  ShowWindow(main, SW_SHOWNORMAL);
  SetForegroundWindow(main);
  SendMessageW(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, 30000);
  TipRelay tips(tip);
  const auto shown = [&] { return IsWindowVisible(tip) != FALSE; };
  const auto gone = [&] { return !shown(); };
  const auto showTip = [&](int id) {
    const POINT at = Centre(GetDlgItem(main, id));
    SetCursorPos(at.x - 3, at.y);
    SetCursorPos(at.x, at.y);
    return PumpUntil(tips, shown, 5000);
  };
  RECT frame{};
  GetWindowRect(main, &frame);
  ASSERT_TRUE(showTip(ids::dirList)) << "no tip came up";
  SetCursorPos(frame.right + 40, Centre(GetDlgItem(main, ids::dirList)).y);  // out, to the right
  EXPECT_TRUE(PumpUntil(tips, gone, 3000)) << "the tip stayed";

  ASSERT_TRUE(showTip(ids::dirList));
  const HWND other =
      CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE | WS_CAPTION, frame.left,
                      frame.top, 120, 60, main, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetActiveWindow(other);
  EXPECT_TRUE(PumpUntil(tips, gone, 3000)) << "the tip stayed over a box";
  DestroyWindow(other);
  SetForegroundWindow(main);

  ASSERT_TRUE(showTip(ids::cmdOk));
  DestroyWindow(main);
  EXPECT_FALSE(IsWindow(tip));
  SetCursorPos(0, 0);
}

// Counts the messages sent to a main window and its folder list, once its object is going, that
// would still reach a procedure of that object: the window's own while it points at the object,
// or any procedure in front of the list box's own.
struct Afterlife {
  HWND main = nullptr;
  HWND list = nullptr;
  bool going = false;
  std::vector<UINT> reached;
};
Afterlife afterlife;

bool HasItsClassProcedure(HWND window) {
  return static_cast<ULONG_PTR>(GetWindowLongPtrW(window, GWLP_WNDPROC)) ==
         GetClassLongPtrW(window, GCLP_WNDPROC);
}

LRESULT CALLBACK SeeSent(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && afterlife.going) {
    const bool toObject =
        (sent->hwnd == afterlife.main && GetWindowLongPtrW(afterlife.main, GWLP_USERDATA) != 0) ||
        (sent->hwnd == afterlife.list && !HasItsClassProcedure(afterlife.list));
    if (toObject) afterlife.reached.push_back(sent->message);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Marks when the object starts to go: the destructor of a derived class runs first.
class GoingWindow : public MainWindow {
 public:
  using MainWindow::MainWindow;
  ~GoingWindow() override { afterlife.going = true; }
};

TEST_F(MainWindowPort, AWindowObjectThatGoesFirstLeavesNoProcedureOfItsOwnBehind) {
  auto going = std::make_unique<GoingWindow>(form_);
  ASSERT_TRUE(going->Create(GetModuleHandleW(nullptr)));
  going->Show(SW_SHOWNA);
  afterlife = Afterlife{going->Hwnd(), GetDlgItem(going->Hwnd(), ids::dirList), false, {}};
  ASSERT_NE(afterlife.list, nullptr);
  ASSERT_FALSE(HasItsClassProcedure(afterlife.list)) << "the folder list is not subclassed";
  const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &SeeSent, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  // The list has the focus, and a key and a click of Exit are still queued, when the object goes.
  SetFocus(afterlife.list);
  PostMessageW(afterlife.list, WM_CHAR, 'a', 1);
  PostMessageW(afterlife.main, WM_COMMAND, MAKEWPARAM(ids::cmdCancel, BN_CLICKED), 0);
  going.reset();
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  SendMessageW(afterlife.list, WM_CHAR, 'b', 1);
  UnhookWindowsHookEx(hook);
  EXPECT_TRUE(afterlife.reached.empty())
      << afterlife.reached.size() << " messages reached the gone object, the first 0x" << std::hex
      << afterlife.reached.front();
  EXPECT_FALSE(IsWindow(afterlife.main));
  EXPECT_FALSE(IsWindow(afterlife.list));
  EXPECT_FALSE(controls_.Ended());
}

// What Explorer hands a window that accepts files: an HDROP of wide full paths.
HDROP DropOf(const std::vector<std::wstring>& paths) {
  std::wstring names;
  for (const auto& p : paths) names += p + L'\0';
  const std::size_t bytes = sizeof(DROPFILES) + (names.size() + 1) * sizeof(wchar_t);
  const HGLOBAL drop = GlobalAlloc(GHND, bytes);
  auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
  files->pFiles = sizeof(DROPFILES);
  files->fWide = TRUE;
  std::copy(names.begin(), names.end(), reinterpret_cast<wchar_t*>(files + 1));
  GlobalUnlock(drop);
  return static_cast<HDROP>(drop);
}

// Also while a box is open: the box disables the window, and a drop that comes all the same
// changes nothing under it.
TEST_F(MainWindowPort, AFolderDroppedOnTheWindowIsChosenButNotUnderABox) {
  const test::TestFolder folder;
  folder.MakeFolder(L"Dropped");
  folder.MakeFolder(L"Later");
  folder.MakeFile(L"note.txt", "note");
  const HWND main = window_.Hwnd();
  const auto drop = [&](const wchar_t* name) {
    const HDROP files = DropOf({folder.WideAt(L"note.txt"), folder.WideAt(name)});
    SendMessageW(main, WM_DROPFILES, reinterpret_cast<WPARAM>(files), 0);
  };
  const auto path = [&] {
    wchar_t text[1024] = {};
    GetDlgItemTextW(main, ids::txtPath, text, 1024);
    return Narrow(text);
  };
  const auto shows = [&](const char* name) {  // a long path by its end
    return path().ends_with(std::string("\\") + name);
  };
  ASSERT_NE(GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
  drop(L"Dropped");
  EXPECT_TRUE(shows("Dropped")) << path();

  bool disabled = false;
  WhenShown when{L"#32770", [&](HWND box) {
                   disabled = !IsWindowEnabled(main);
                   drop(L"Later");
                   PostMessageW(box, WM_COMMAND, IDOK, 0);
                 }};
  Arm(when);
  dialogs_.MessageBox("A question", "Kestrane", Buttons::Ok, Icon::None);
  EXPECT_TRUE(disabled);
  EXPECT_TRUE(shows("Dropped")) << path();
}

}  // namespace
