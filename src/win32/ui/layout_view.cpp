#include "win32/ui/layout_view.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <utility>

#include "win32/platform/strings.h"
#include "win32/ui/caption.h"
#include "win32/ui/controls_thin.h"
#include "win32/ui/folder_view.h"
#include "win32/ui/letter_view.h"
#include "win32/ui/startup_marks.h"

namespace kestrane::win32 {

namespace {

constexpr int kIconResource = 1;
constexpr int kIconPixels = 48;     // the program's picture at 96 dots per inch
constexpr int kDropDownRows = 200;  // pixels of the drive list's open list, at 96 dots per inch

bool LiesBeneath(const ControlSpec& c) {
  return c.kind == ControlKind::Label || c.kind == ControlKind::Picture;
}

COLORREF FromRgb(unsigned rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace

HICON LoadAppIcon(HINSTANCE instance, int size, IconHandle& owned) {
  owned.Reset(static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, size, size, 0)));
  if (owned) return owned.Get();
  return LoadIconW(nullptr, IDI_APPLICATION);
}

LayoutView::~LayoutView() {
  // The controls die with their parent; only the tooltip window is a top-level of its own.
  if (tooltip_ != nullptr && IsWindow(tooltip_)) DestroyWindow(tooltip_);
}

void LayoutView::Create(HWND parent, HINSTANCE instance, const WindowSpec& design, Dpi dpi,
                        bool tipsNow) {
  parent_ = parent;
  instance_ = instance;
  spec_ = design;
  dpi_ = dpi;
  // Labels and pictures are drawn on the window's background, beneath every other control: a
  // label's box may reach under a button without hiding it. A new control goes beneath those
  // made before it, so the others are made first, in tab order (which Tab follows), and the
  // labels and pictures last; they take no focus, so the tab order is the designed one. Made in
  // that order, no control has to be moved down the z-order afterwards.
  std::vector<ControlSpec> ordered = spec_.controls;
  std::stable_sort(ordered.begin(), ordered.end(), [](const ControlSpec& a, const ControlSpec& b) {
    const bool aBeneath = LiesBeneath(a);
    const bool bBeneath = LiesBeneath(b);
    if (aBeneath != bBeneath) return bBeneath;
    return a.tabIndex < b.tabIndex;
  });
  for (const ControlSpec& control : ordered) CreateControl(control, instance);
  MarkStartup("controls");
  ApplyMetrics(false);
  MarkStartup("fonts");
  if (tipsNow) AddTooltips();
}

void LayoutView::AddTooltips() {
  if (tooltip_ != nullptr || parent_ == nullptr) return;
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, parent_, nullptr, instance_, nullptr);
  for (const ControlSpec& c : spec_.controls) {
    if (c.tooltip.empty()) continue;
    if (const HWND control = Control(c.id)) AddTooltip(control, c.tooltip);
  }
}

HWND LayoutView::CreateControl(const ControlSpec& c, HINSTANCE instance) {
  const RECT r = ToPixels(c.rect, dpi_);
  int height = r.bottom - r.top;
  const wchar_t* cls = L"STATIC";
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  DWORD exStyle = 0;
  switch (c.kind) {
    case ControlKind::ListBox:
    case ControlKind::FolderList:
      // The letter lists and the folder list are the same owner-drawn list. A letter list shows
      // its scroll bar only when even the lowest rows cannot hold every letter.
      cls = L"LISTBOX";
      style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED |
               LBS_HASSTRINGS;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::TextBox:
      // What the user types here is never taken over (the folder comes from the folder list),
      // so the box shows the path read-only; it still takes the focus for copying.
      cls = L"EDIT";
      style |= WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::DriveList:
      cls = L"COMBOBOX";
      style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
      height += ScaleY(kDropDownRows, dpi_);
      break;
    case ControlKind::Button:
      // The frame is the system's; the caption is ours (DrawButtonCaption).
      cls = L"BUTTON";
      style |= WS_TABSTOP | BS_MULTILINE | (c.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
      break;
    case ControlKind::Label: style |= SS_OWNERDRAW; break;
    case ControlKind::Picture: style |= SS_ICON; break;
  }
  if (!c.takesFocus) style &= ~static_cast<DWORD>(WS_TABSTOP);
  const std::wstring caption = Widen(c.caption);
  const HWND hwnd =
      CreateWindowExW(exStyle, cls, c.kind == ControlKind::Picture ? nullptr : caption.c_str(),
                      style, r.left, r.top, r.right - r.left, height, parent_,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
  if (hwnd != nullptr && c.kind == ControlKind::ListBox) {
    letterColumns_.push_back(std::make_unique<LetterColumn>(hwnd));
  }
  return hwnd;
}

void LayoutView::ApplyMetrics(bool place) {
  // One font per design font, shared by its controls: creating a font is a good part of what
  // the window costs before it can show.
  std::vector<std::pair<FontSpec, Font>> fonts;
  std::vector<std::pair<HFONT, std::shared_ptr<const LetterInk>>> inks;
  IconHandle icon;
  for (const ControlSpec& c : spec_.controls) {
    const HWND hwnd = Control(c.id);
    if (hwnd == nullptr) continue;
    if (place) {
      const RECT r = ToPixels(c.rect, dpi_);
      const int extra = c.kind == ControlKind::DriveList ? ScaleY(kDropDownRows, dpi_) : 0;
      SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top + extra,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (c.kind == ControlKind::Picture) {
      const HICON picture = LoadAppIcon(instance_, ScaleX(kIconPixels, dpi_), icon);
      SendMessageW(hwnd, STM_SETICON, reinterpret_cast<WPARAM>(picture), 0);
      continue;
    }
    auto same = std::find_if(fonts.begin(), fonts.end(),
                             [&c](const auto& made) { return made.first == c.font; });
    if (same == fonts.end()) {
      fonts.emplace_back(c.font, CreateSpecFont(c.font, dpi_));
      same = std::prev(fonts.end());
    }
    const HFONT font = same->second.Get();
    LetterColumn* column = c.kind == ControlKind::ListBox ? LetterColumn::Of(hwnd) : nullptr;
    if (column != nullptr) {
      auto ink = std::find_if(inks.begin(), inks.end(),
                              [font](const auto& measured) { return measured.first == font; });
      if (ink == inks.end()) ink = inks.insert(inks.end(), {font, MeasureLetterInk(font)});
      column->SetFont(font, ink->second, place);
      if (place) column->Resized();
      continue;
    }
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), place);
    if (c.kind == ControlKind::FolderList) FitFolderRowHeight(hwnd, font, dpi_);
    // A text box scrolled to show its caret (the path box's end) shows it in the new font too.
    if (c.kind == ControlKind::TextBox) SendMessageW(hwnd, EM_SCROLLCARET, 0, 0);
  }
  // The old fonts and icon go only once no control uses them any more.
  fonts_ = std::move(fonts);
  icon_ = std::move(icon);
}

void LayoutView::Rescale(Dpi dpi) {
  dpi_ = dpi;
  ApplyMetrics(true);
}

void LayoutView::AddTooltip(HWND control, const std::string& text) {
  if (tooltip_ == nullptr) return;
  std::wstring wide = Widen(text);
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every version of the common controls
  // Not subclassed: the message loop relays the controls' mouse messages to the tip.
  info.uFlags = TTF_IDISHWND;
  info.hwnd = parent_;
  info.uId = reinterpret_cast<UINT_PTR>(control);
  info.lpszText = wide.data();
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

const ControlSpec* LayoutView::SpecOf(int id) const {
  for (const ControlSpec& c : spec_.controls) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

HFONT LayoutView::FontOf(int id) const {
  const ControlSpec* c = SpecOf(id);
  if (c == nullptr) return nullptr;
  for (const auto& [designed, font] : fonts_) {
    if (designed == c->font) return font.Get();
  }
  return nullptr;
}

SIZE LayoutView::ClientSize() const {
  return SIZE{TwipsToPixels(spec_.clientWidth, dpi_.x), TwipsToPixels(spec_.clientHeight, dpi_.y)};
}

bool LayoutView::Colors(UINT msg, WPARAM dc, LPARAM control, LRESULT& brush) const {
  const ControlSpec* c = SpecOf(GetDlgCtrlID(reinterpret_cast<HWND>(control)));
  if (c == nullptr) return false;
  const HDC hdc = reinterpret_cast<HDC>(dc);
  if (msg == WM_CTLCOLORLISTBOX && c->tooltipBackground) {
    SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(hdc, GetSysColor(COLOR_INFOBK));
    brush = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_INFOBK));
    return true;
  }
  return false;
}

bool LayoutView::DrawItem(const DRAWITEMSTRUCT& item) const {
  const ControlSpec* c = SpecOf(static_cast<int>(item.CtlID));
  if (c == nullptr) return false;
  if (c->kind != ControlKind::ListBox && c->kind != ControlKind::Label) return false;
  const HGDIOBJ old = SelectObject(item.hDC, Window(item.hwndItem).Font());
  if (c->kind == ControlKind::ListBox) {
    if (const LetterColumn* column = LetterColumn::Of(item.hwndItem)) {
      column->Draw(item, GetSysColor(c->tooltipBackground ? COLOR_INFOBK : COLOR_WINDOW));
    }
  } else {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    SetTextColor(item.hDC, c->blackText ? RGB(0, 0, 0) : GetSysColor(COLOR_WINDOWTEXT));
    SetBkMode(item.hDC, TRANSPARENT);
    DrawCaption(item.hDC, Window(item.hwndItem).Text(), item.rcItem, CaptionStyle{c->align});
  }
  SelectObject(item.hDC, old);
  return true;
}

bool LayoutView::DrawButtonCaption(const NMCUSTOMDRAW& draw, LRESULT& result) const {
  const ControlSpec* c = SpecOf(static_cast<int>(draw.hdr.idFrom));
  if (draw.hdr.code != NM_CUSTOMDRAW || c == nullptr || c->kind != ControlKind::Button) {
    return false;
  }
  result = CDRF_DODEFAULT;  // the system draws the frame
  if (draw.dwDrawStage != CDDS_PREPAINT) return true;
  const HWND button = draw.hdr.hwndFrom;
  const HDC dc = draw.hdc;
  const LRESULT cues = SendMessageW(button, WM_QUERYUISTATE, 0, 0);
  RECT box = draw.rc;
  InflateRect(&box, -(GetSystemMetrics(SM_CXEDGE) + 1), -(GetSystemMetrics(SM_CYEDGE) + 1));
  const RECT focus = box;
  if (draw.uItemState & CDIS_SELECTED) OffsetRect(&box, 1, 1);  // pressed in
  const HGDIOBJ old = SelectObject(dc, Window(button).Font());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor((draw.uItemState & CDIS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  DrawCaption(dc, Window(button).Text(), box,
              CaptionStyle{Align::Center, true, (cues & UISF_HIDEACCEL) != 0, true});
  if ((draw.uItemState & CDIS_FOCUS) && !(cues & UISF_HIDEFOCUS)) DrawFocusRect(dc, &focus);
  SelectObject(dc, old);
  result = CDRF_SKIPDEFAULT;
  return true;
}

bool LayoutView::AnswerDrawing(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) const {
  switch (msg) {
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: return Colors(msg, wParam, lParam, result);
    case WM_DRAWITEM:
      result = TRUE;
      return DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_NOTIFY:
      return DrawButtonCaption(*reinterpret_cast<const NMCUSTOMDRAW*>(lParam), result);
    case WM_PAINT: {
      PAINTSTRUCT ps;
      const HDC dc = BeginPaint(parent_, &ps);
      PaintLines(dc);
      EndPaint(parent_, &ps);
      result = 0;
      return true;
    }
    default: return false;
  }
}

void LayoutView::PaintLines(HDC dc) const {
  // A wider line lies under a narrower one drawn at the same height: that is what makes the
  // grey-over-white pair read as an etched rule.
  std::vector<LineSpec> lines = spec_.lines;
  std::stable_sort(lines.begin(), lines.end(),
                   [](const LineSpec& a, const LineSpec& b) { return a.width > b.width; });
  for (const LineSpec& line : lines) {
    const int x1 = TwipsToPixels(std::min(line.x1, line.x2), dpi_.x);
    const int x2 = TwipsToPixels(std::max(line.x1, line.x2), dpi_.x);
    const int y = TwipsToPixels(line.y, dpi_.y);
    const int width = std::max(1, ScaleY(line.width, dpi_));
    const RECT r{x1, y, x2 + 1, y + width};
    SetBkColor(dc, FromRgb(line.rgb));
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
  }
}

}  // namespace kestrane::win32
