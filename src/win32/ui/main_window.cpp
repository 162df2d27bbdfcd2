#include "win32/ui/main_window.h"

#include <commctrl.h>
#include <dbt.h>

#include "app/window_layout.h"
#include "win32/platform/modal_wait.h"
#include "win32/platform/strings.h"
#include "win32/ui/arrivals.h"
#include "win32/ui/controls_thin.h"
#include "win32/ui/folder_view.h"
#include "win32/ui/menu_bar.h"
#include "win32/ui/startup_marks.h"

namespace kestrane::win32 {

namespace {

// Posted to itself when the system announces a drive change.
constexpr UINT kCheckDriveSet = WM_APP + 1;

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr UINT_PTR kFolderSubclass = 1;

int ShiftState() {
  int shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= kShiftMask;
  if (GetKeyState(VK_CONTROL) < 0) shift |= kCtrlMask;
  if (GetKeyState(VK_MENU) < 0) shift |= kAltMask;
  return shift;
}

// Another of the program's forms handing the activation back (the About box closing); message
// boxes and the input box are not forms and do not count.
bool IsProgramForm(HWND other) {
  if (other == nullptr || !IsWindow(other)) return false;
  wchar_t name[64] = {};
  GetClassNameW(other, name, 64);
  return lstrcmpW(name, ids::kAboutWindowClass) == 0;
}

}  // namespace

MainWindow::~MainWindow() {
  // The object may go while its window is open (a start-up that ends early, an exception, a
  // test): the list gets its own procedure back first, then the window goes while the fonts
  // and the tooltip still exist, and no message of either reaches this object any more.
  ReleaseFolderList();
  DestroyDetached();
}

void MainWindow::ReleaseFolderList() {
  if (const HWND folders = layout_.Control(ids::dirList)) {
    RemoveWindowSubclass(folders, &MainWindow::FolderListProc, kFolderSubclass);
  }
}

bool MainWindow::Create(HINSTANCE instance) {
  instance_ = instance;
  const HICON big = LoadAppIcon(instance, GetSystemMetrics(SM_CXICON), bigIcon_);
  if (!Register(instance, big, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) return false;
  MarkStartup("class, icon");
  const WindowSpec& design = MainWindowSpec();
  const Dpi dpi = ScreenDpi();
  RECT frame{0, 0, TwipsToPixels(design.clientWidth, dpi.x),
             TwipsToPixels(design.clientHeight, dpi.y)};
  AdjustWindowRectEx(&frame, kStyle, TRUE, 0);
  const HMENU menu = BuildMenuBar(design.menu);
  accelerators_.Reset(BuildAccelerators(design.menu));
  const std::wstring caption = Widen(design.caption);
  MarkStartup("menu");
  if (CreateAs(WS_EX_ACCEPTFILES, caption.c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
               frame.right - frame.left, frame.bottom - frame.top, nullptr, menu,
               instance) == nullptr) {
    DestroyMenu(menu);
    return false;
  }
  MarkStartup("small icon");
  FitClientArea();
  MarkStartup("client area fitted");
  return true;
}

void MainWindow::FitClientArea() {
  // A menu bar that wraps, or a frame wider than the system says, would eat into the designed
  // client area; grow the frame by what is missing.
  const SIZE want = layout_.ClientSize();
  RECT client{};
  RECT outer{};
  GetClientRect(hwnd_, &client);
  GetWindowRect(hwnd_, &outer);
  const int dx = want.cx - (client.right - client.left);
  const int dy = want.cy - (client.bottom - client.top);
  if (dx == 0 && dy == 0) return;
  SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left + dx, outer.bottom - outer.top + dy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::OnCreate() {
  // The monitor the window opened on decides, not the system's resolution.
  MarkStartup("frame");
  layout_.Create(hwnd_, instance_, MainWindowSpec(), WindowDpi(hwnd_), false);
  smallIcon_.Reset();
  const HICON small = LoadAppIcon(instance_, GetSystemMetrics(SM_CXSMICON), smallIcon_);
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

void MainWindow::Show(int how) {
  ShowWindow(hwnd_, how);
  MarkStartup("shown");
  UpdateWindow(hwnd_);
  MarkStartup("frame painted");
  if (const HWND folders = layout_.Control(ids::dirList)) {
    SetWindowSubclass(folders, &MainWindow::FolderListProc, kFolderSubclass,
                      reinterpret_cast<DWORD_PTR>(this));
  }
}

void MainWindow::OnDpiChanged(Dpi dpi, const RECT& suggested) {
  layout_.Rescale(dpi);
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  FitClientArea();
}

int MainWindow::CancelButtonId() const {
  for (const ControlSpec& c : layout_.Design().controls) {
    if (c.cancelButton) return c.id;
  }
  return 0;
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_ACTIVATE: OnActivate(wParam, lParam); return 0;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlID == ids::dirList) {
        DrawFolderRow(*item, layout_.DpiUsed(), layout_.FontOf(ids::dirList));
        return TRUE;
      }
      if (layout_.DrawItem(*item)) return TRUE;
      break;
    }
    case WM_DEVICECHANGE:
      // A drive came or went. The program that announced it waits for every window's answer,
      // so ours comes at once and the lists follow once the announcement is over. While a
      // command of ours runs, its own refresh follows it.
      if ((wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE) &&
          !driveCheckPosted_) {
        driveCheckPosted_ = PostMessageW(hwnd_, kCheckDriveSet, 0, 0) != FALSE;
      }
      return TRUE;
    case kCheckDriveSet:
      driveCheckPosted_ = false;
      CheckDriveSetWhenFree();
      return 0;
    case WM_DROPFILES: {
      // A modal box disables the window, so no drop should come meanwhile; one that does anyway
      // must not change the folder under the box's question.
      const auto items = TakeDroppedPaths(reinterpret_cast<HDROP>(wParam));
      if (IsWindowEnabled(hwnd_)) {
        RunCommand([&] { form_.FolderArrived(items, ArrivalWay::Drop); });
      }
      return 0;
    }
    case WM_CLOSE:
      // As under a box: the command still running needs its window.
      if (CommandRunning()) return 0;
      break;
    case WM_DPICHANGED:
      OnDpiChanged(Dpi{LOWORD(wParam), HIWORD(wParam)}, *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_DESTROY:
      ReleaseFolderList();
      PostQuitMessage(0);
      return 0;
    default: {
      LRESULT result = 0;
      if (layout_.AnswerDrawing(msg, wParam, lParam, result)) return result;
      break;
    }
  }
  return Default(msg, wParam, lParam);
}

// Not the hourglass: the pointer is only reset at the first activation, which a loaded system
// may deliver after the first click, and a command that ends on a silent path leaves it on.
bool MainWindow::CommandRunning() const { return commandRunning_ || InModalWait(); }

void MainWindow::RunCommand(const std::function<void()>& command) {
  if (CommandRunning()) return;
  commandRunning_ = true;
  try {
    command();
  } catch (...) {
    commandRunning_ = false;
    checkingDrives_ = false;
    throw;
  }
  commandRunning_ = false;
  checkingDrives_ = false;
  if (driveCheckDue_) {
    driveCheckDue_ = false;
    CheckDriveSetWhenFree();
  }
  while (!pending_.empty() && !CommandRunning()) {
    const Pending next = pending_.front();
    pending_.erase(pending_.begin());
    if (next.pickedRow) {
      // The row picked, where the lists rebuilt meanwhile still have it; gone, the list shows
      // what the form holds, and there is nothing to take.
      const ListBox list(next.control);
      const int row = next.pickedRow->empty() ? -1 : list.Find(*next.pickedRow);
      if (row < 0 && !next.pickedRow->empty()) continue;
      list.Select(row);
    }
    OnCommand(next.id, next.code, next.control);
  }
}

bool MainWindow::IsLetterPick(int id, int code, HWND control) const {
  const ControlSpec* design = control != nullptr ? layout_.SpecOf(id) : nullptr;
  return design != nullptr && design->kind == ControlKind::ListBox && code == LBN_SELCHANGE;
}

void MainWindow::CheckDriveSetWhenFree() {
  if (CommandRunning()) {
    driveCheckDue_ = true;
    return;
  }
  checkingDrives_ = true;
  RunCommand([this] { form_.CheckDriveSet(); });
}

void MainWindow::OnCommand(int id, int code, HWND control) {
  if (CommandRunning()) {
    // No click or key of the user's reaches the window under a wait or a box, only what another
    // program posts; of that, a pick is already shown in its list, and is not lost.
    if (IsLetterPick(id, code, control)) {
      const ListBox list(control);
      const int row = list.Selected();
      pending_.push_back({id, code, control, row < 0 ? std::wstring() : list.Item(row)});
    } else if (checkingDrives_ && commandRunning_) {
      pending_.push_back({id, code, control, std::nullopt});
    }
    return;
  }
  // A command may wait for seconds or open a box: its tip has done its work.
  if (const HWND tip = layout_.Tooltip()) SendMessageW(tip, TTM_POP, 0, 0);
  RunCommand([&] { Dispatch(id, code, control); });
}

void MainWindow::Dispatch(int id, int code, HWND control) {
  if (control == nullptr) {
    // Menu entries and the F1 accelerator; Esc arrives from the dialog keys as IDCANCEL and is
    // the cancel button's click. Enter arrives as IDOK: no button is the default, so it presses
    // the button that has the focus, as a dialog does, and nothing else.
    if (id == IDCANCEL) {
      if (const int cancel = CancelButtonId()) form_.Command(cancel);
      return;
    }
    if (id == IDOK) {
      const ControlSpec* focused = layout_.SpecOf(GetDlgCtrlID(GetFocus()));
      if (focused != nullptr && focused->kind == ControlKind::Button &&
          IsChild(hwnd_, GetFocus())) {
        form_.Command(focused->id);
      }
      return;
    }
    form_.Command(id);
    return;
  }
  // What the notification means for the kind of control; which handler it reaches is the window
  // description's business.
  const ControlSpec* design = layout_.SpecOf(id);
  if (design == nullptr) return;
  switch (design->kind) {
    case ControlKind::ListBox:
    case ControlKind::FolderList:
      if (code == LBN_SELCHANGE) form_.Event(id, ControlEvent::Pick, ListBox(control).Selected());
      if (code == LBN_DBLCLK) form_.Event(id, ControlEvent::Open, ListBox(control).Selected());
      return;
    case ControlKind::DriveList: {
      // While the list is open the arrow keys only move through it; the pick counts when it
      // closes on an entry, or at once when the closed list is changed from the keyboard.
      const ComboBox drives(control);
      if ((code == CBN_SELCHANGE && !drives.DroppedDown()) || code == CBN_SELENDOK) {
        form_.Event(id, ControlEvent::Pick, drives.Selected());
      }
      return;
    }
    case ControlKind::Button:
      if (code == BN_CLICKED) form_.Event(id, ControlEvent::Click, -1);
      return;
    default: return;
  }
}

void MainWindow::OnActivate(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    // A box or another program came up: the tip would stay over it, as no pointer move of
    // ours reaches it any more.
    if (const HWND tip = layout_.Tooltip()) SendMessageW(tip, TTM_POP, 0, 0);
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(hwnd_, focus)) lastFocus_ = focus;
    return;
  }
  if (HIWORD(wParam) != 0) return;  // minimised
  const HWND other = reinterpret_cast<HWND>(lParam);
  if (!activatedOnce_ || IsProgramForm(other)) {
    activatedOnce_ = true;
    form_.Form_Activate();
    return;
  }
  // Coming back from another program or from a message box: drives may have come or gone
  // meanwhile, and the focus goes back where it was.
  CheckDriveSetWhenFree();
  if (lastFocus_ != nullptr && IsWindow(lastFocus_) && IsWindowVisible(lastFocus_)) {
    SetFocus(lastFocus_);
  } else if (const HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE)) {
    SetFocus(first);
  }
}

LRESULT MainWindow::FolderListMessage(HWND list, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_GETDLGCODE: {
      // Enter belongs to the folder list (it opens the highlighted folder), not to the window.
      LRESULT code = DefSubclassProc(list, msg, wParam, lParam);
      const auto* key = reinterpret_cast<const MSG*>(lParam);
      if (key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) {
        code |= DLGC_WANTMESSAGE;
      }
      return code;
    }
    case WM_CHAR:
      RunCommand([&] { form_.dirList_KeyPress(static_cast<int>(wParam)); });
      if (wParam == VK_RETURN) return 0;
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      const LRESULT result = DefSubclassProc(list, msg, wParam, lParam);
      const int button = msg == WM_LBUTTONDOWN   ? kLeftButton
                         : msg == WM_RBUTTONDOWN ? kRightButton
                                                 : kMiddleButton;
      RunCommand([&] { form_.dirList_MouseDown(button, ShiftState()); });
      return result;
    }
    default: break;
  }
  return DefSubclassProc(list, msg, wParam, lParam);
}

LRESULT CALLBACK MainWindow::FolderListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR self) {
  try {
    return reinterpret_cast<MainWindow*>(self)->FolderListMessage(hwnd, msg, wParam, lParam);
  } catch (const std::exception& e) {
    ReportUnexpected(GetParent(hwnd), e.what());
  } catch (...) {
    ReportUnexpected(GetParent(hwnd), nullptr);
  }
  return 0;
}

}  // namespace kestrane::win32
