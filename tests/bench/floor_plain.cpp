// The floor for the program's start: the program's main window as a plain Win32 program makes it,
// with nothing of the program's own code. The same frame and menu bar, and the twelve controls of
// the same classes, styles, fonts and places (at 96 dots per inch, scaled to the screen's), shown
// and painted; nothing is loaded into them. It starts as the program starts, with the program's
// resources (manifest, icon), and keeps the bare window's start-up marks, so that the bench sets
// the start against the least its window can cost on this system.

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <iterator>

#include "app/control_ids.h"
#include "floor_marks.h"
#include "info/version.h"

namespace {

namespace ids = kestrane::ids;
using floor_marks::MarkStage;

constexpr DWORD kFrameStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int kClientWidth = 470, kClientHeight = 342;
constexpr wchar_t kTitle[] = L"" KESTRANE_TITLE " - Pro";  // as the load leaves it
constexpr int kIconResource = 1;
constexpr int kDropDownRows = 200;  // the drive list's open list

// The program's designed fonts; under Wine, MS Sans Serif is an outline face, the one the program
// ends up with.
enum FontIndex { kDialog, kLetters, kLabels, kFontCount };
struct FontDesign {
  const wchar_t* face;
  double points;
  bool bold;
};
constexpr FontDesign kFonts[kFontCount] = {
    {L"MS Shell Dlg 2", 8, false}, {L"MS Sans Serif", 9.75, true}, {L"MS Sans Serif", 9.75, false}};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
constexpr DWORD kList = kChild | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                        LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
constexpr DWORD kButton = kChild | WS_TABSTOP | BS_MULTILINE | BS_PUSHBUTTON;

struct ControlDesign {
  int id;
  const wchar_t* windowClass;
  const wchar_t* caption;
  DWORD style;
  DWORD exStyle;
  RECT at;  // left, top, width, height
  FontIndex font;
};
// In the order the program makes them: tab order, then the labels beneath the rest. The captions
// break where the program breaks them; Wine's own line breaking would take "Add Virtual Drive"
// onto three lines.
constexpr ControlDesign kControls[] = {
    {ids::lstAvail, L"LISTBOX", L"", kList, WS_EX_CLIENTEDGE, {432, 0, 25, 324}, kLetters},
    {ids::txtPath,
     L"EDIT",
     L"",
     kChild | WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY,
     WS_EX_CLIENTEDGE,
     {48, 72, 369, 19},
     kDialog},
    {ids::DrvList,
     L"COMBOBOX",
     L"",
     kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
     0,
     {136, 104, 281, 21 + kDropDownRows},
     kDialog},
    {ids::dirList, L"LISTBOX", L"", kList, WS_EX_CLIENTEDGE, {136, 136, 281, 186}, kDialog},
    {ids::cmdOk, L"BUTTON", L"&Add Virtual\nDrive", kButton, 0, {48, 104, 73, 33}, kDialog},
    {ids::cmdDefault, L"BUTTON", L"&Make\nPermanent", kButton, 0, {48, 224, 73, 33}, kDialog},
    {ids::cmdCancel, L"BUTTON", L"&Exit", kButton, 0, {48, 168, 73, 25}, kDialog},
    {ids::cmdRemove, L"BUTTON", L"&Remove\nVirtual Drive", kButton, 0, {48, 288, 73, 33}, kDialog},
    {ids::lstUsedLtrs, L"LISTBOX", L"", kList, WS_EX_CLIENTEDGE, {8, 0, 25, 324}, kLetters},
    {ids::Label3,
     L"STATIC",
     L"Used Drive\nLetters",
     kChild | SS_OWNERDRAW,
     0,
     {40, 0, 89, 33},
     kLabels},
    {ids::Label1,
     L"STATIC",
     L"Available Virtual\nDrive Letters",
     kChild | SS_OWNERDRAW,
     0,
     {320, 0, 105, 33},
     kLabels},
    {ids::Label2,
     L"STATIC",
     L"Full path: (C:\\FolderName\\SubFolder)",
     kChild | SS_OWNERDRAW,
     0,
     {72, 48, 225, 17},
     kLabels},
};

// One function of each system library kestrane.exe imports, as in the bare window.
using AnyFunction = void (*)();
AnyFunction const volatile kImports[] = {
    reinterpret_cast<AnyFunction>(&InitCommonControlsEx),
    reinterpret_cast<AnyFunction>(&GetStockObject),
    reinterpret_cast<AnyFunction>(&CoInitializeEx),
    reinterpret_cast<AnyFunction>(&SHGetFolderPathW),
};

int dpi = 96;
HFONT fonts[kFontCount] = {};

int Scale(int pixels) { return MulDiv(pixels, dpi, 96); }

HMENU MenuBar() {
  const HMENU help = CreatePopupMenu();
  AppendMenuW(help, MF_STRING, ids::MnuHelpIntro, L"&Introduction\tF1");
  AppendMenuW(help, MF_STRING, ids::mnuHelpCreate, L"&Create Virtual Drive");
  AppendMenuW(help, MF_STRING, ids::mnuHelpCD, L"Create a &Virtual CD");
  AppendMenuW(help, MF_STRING, ids::mnuHelpKB, L"&Using the Keyboard");
  AppendMenuW(help, MF_STRING, ids::mnuHelpPerm, L"&Make Permanent");
  AppendMenuW(help, MF_STRING, ids::mnuHelpRemove, L"Remove Virtual &Drive");
  AppendMenuW(help, MF_STRING, ids::mnuHelpMisc, L"Misc. &Functions");
  AppendMenuW(help, MF_STRING, ids::mnuHelpSupport, L"&Support");
  AppendMenuW(help, MF_STRING, ids::mnuHelpOrder, L"&Ordering Information");
  AppendMenuW(help, MF_STRING, ids::mnuHelpLicense, L"&License");
  const HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(help), L"&Help");
  AppendMenuW(file, MF_STRING, ids::mnuAbout, L"&About");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, ids::mnuRepair, L"&Restore");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, ids::mnuChk4Upgrade, L"&Check for Upgrade");
  const HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(file), L"&File");
  AppendMenuW(bar, MF_STRING, ids::mnuView, L"&View");
  return bar;
}

void MakeControls(HWND window, HINSTANCE instance) {
  for (int i = 0; i < kFontCount; ++i) {
    const FontDesign& f = kFonts[i];
    fonts[i] = CreateFontW(-static_cast<int>(f.points * dpi / 72.0 + 0.5), 0, 0, 0,
                           f.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_SWISS, f.face);
  }
  for (const ControlDesign& c : kControls) {
    const HWND control =
        CreateWindowExW(c.exStyle, c.windowClass, c.caption, c.style, Scale(c.at.left),
                        Scale(c.at.top), Scale(c.at.right), Scale(c.at.bottom), window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[c.font]), FALSE);
  }
  const HANDLE small = LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                  GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0);
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

// The labels' captions: on the window's colour, right-aligned where the program aligns them.
void DrawLabel(const DRAWITEMSTRUCT& item) {
  wchar_t text[64] = {};
  GetWindowTextW(item.hwndItem, text, static_cast<int>(std::size(text)));
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  const HGDIOBJ old = SelectObject(item.hDC, fonts[kLabels]);
  SetTextColor(item.hDC, GetSysColor(COLOR_WINDOWTEXT));
  SetBkMode(item.hDC, TRANSPARENT);
  RECT box = item.rcItem;
  DrawTextW(item.hDC, text, -1, &box,
            DT_NOPREFIX | DT_TOP | (item.CtlID == ids::Label1 ? DT_RIGHT : DT_LEFT));
  SelectObject(item.hDC, old);
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      MakeControls(window, reinterpret_cast<const CREATESTRUCTW*>(lParam)->hInstance);
      return 0;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item.CtlType == ODT_STATIC) DrawLabel(item);
      return TRUE;
    }
    case WM_CTLCOLORLISTBOX: {
      // The letter lists stand on the tooltip colour.
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
      if (id != ids::lstAvail && id != ids::lstUsedLtrs) break;
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_INFOBK));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_INFOBK));
    }
    case WM_DESTROY:
      for (const HFONT font : fonts) DeleteObject(font);
      PostQuitMessage(0);
      return 0;
    default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  MarkStage("wWinMain");
  if (kImports[0] == nullptr) return 2;
  // The program's standard controls are version 6's, for the manifest's visual styles.
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  if (const HDC screen = GetDC(nullptr)) {
    dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon =
      static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = ids::kMainWindowClass;
  if (!RegisterClassExW(&windowClass)) return 1;
  RECT frame{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
  AdjustWindowRectEx(&frame, kFrameStyle, TRUE, 0);
  HWND window = CreateWindowExW(0, ids::kMainWindowClass, kTitle, kFrameStyle, CW_USEDEFAULT,
                                CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                nullptr, MenuBar(), instance, nullptr);
  if (window == nullptr) return 1;
  MarkStage("window");
  ShowWindow(window, show == SW_SHOWDEFAULT ? SW_SHOWNORMAL : show);
  MarkStage("shown");
  UpdateWindow(window);
  MarkStage("frame painted");
  return floor_marks::RunLoop();
}
