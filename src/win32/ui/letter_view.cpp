#include "win32/ui/letter_view.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cwchar>
#include <string>

#include "win32/ui/controls_thin.h"

namespace kestrane::win32 {

namespace {

constexpr int kTextMargin = 2;  // pixels left of an entry, as a plain list box has
constexpr UINT_PTR kSubclassId = 1;
constexpr int kLongestEntry = 16;  // characters; entries are a letter and a colon

// Pixel rows of a font's cell that a glyph inks, counted from the cell's top.
struct Band {
  int top = 0;
  int bottom = 0;  // one past the last
  int Height() const { return bottom - top; }
  void Add(const Band& other) {
    if (other.Height() <= 0) return;
    if (Height() <= 0) {
      *this = other;
      return;
    }
    top = std::min(top, other.top);
    bottom = std::max(bottom, other.bottom);
  }
};

// What a letter list knows of its font, and the ink of the entries it holds.
struct LetterRows {
  int cell = 1;                 // the font's cell height
  std::array<Band, 128> ink{};  // of each measured character
  Band held;                    // of every entry in the list
  // Kept as the list changes, so that a fit asks the list nothing: under Wine every message to a
  // subclassed window costs a round trip to the server, and the lists are refilled often.
  int count = 0;
  int clientHeight = 0;
  int rowHeight = -1;

  Band InkOf(const wchar_t* text, int length) const {
    Band band;
    for (int i = 0; i < length; ++i) {
      const auto ch = static_cast<unsigned>(text[i]);
      band.Add(ch < ink.size() && ink[ch].Height() > 0 ? ink[ch] : Band{0, cell});
    }
    return band;
  }
};

// The ink of the glyphs an entry can hold: capitals, small letters (network drives) and the
// colon. What the outline says is what the glyph covers; a font without outlines keeps its cell.
void Measure(HWND list, HFONT font, LetterRows& rows) {
  const HDC dc = GetDC(list);
  const HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  rows.cell = std::max<int>(1, tm.tmHeight);
  rows.ink.fill(Band{});
  const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  auto measure = [&](wchar_t ch) {
    GLYPHMETRICS gm{};
    if (GetGlyphOutlineW(dc, ch, GGO_METRICS, &gm, 0, nullptr, &identity) == GDI_ERROR) return;
    const int top = tm.tmAscent - gm.gmptGlyphOrigin.y;
    rows.ink[ch] = Band{top, top + static_cast<int>(gm.gmBlackBoxY)};
  };
  for (wchar_t ch = L'A'; ch <= L'Z'; ++ch) {
    measure(ch);
    measure(static_cast<wchar_t>(ch - L'A' + L'a'));
  }
  measure(L':');
  SelectObject(dc, old);
  ReleaseDC(list, dc);
}

Band InkOfEntries(HWND list, const LetterRows& rows) {
  Band band;
  const int count = rows.count;
  for (int i = 0; i < count; ++i) {
    wchar_t text[kLongestEntry + 1] = {};
    if (SendMessageW(list, LB_GETTEXTLEN, i, 0) > kLongestEntry) {
      band.Add(Band{0, rows.cell});
      continue;
    }
    const auto length = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    if (length > 0) band.Add(rows.InkOf(text, static_cast<int>(length)));
  }
  return band;
}

void Fit(HWND list, const LetterRows& rows) {
  int height = rows.cell;
  if (rows.count > 0 && rows.count * height > rows.clientHeight) {
    height = std::max(rows.clientHeight / rows.count, rows.held.Height());
  }
  height = std::max(1, height);
  if (rows.rowHeight != height) SendMessageW(list, LB_SETITEMHEIGHT, 0, height);
}

// Every change of what decides the rows' height passes through here, after the list has made it.
LRESULT CALLBACK LetterListProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR data) {
  auto& rows = *reinterpret_cast<LetterRows*>(data);
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(list, &LetterListProc, kSubclassId);
    SetWindowLongPtrW(list, GWLP_USERDATA, 0);
    delete &rows;
    return DefSubclassProc(list, msg, wParam, lParam);
  }
  const LRESULT result = DefSubclassProc(list, msg, wParam, lParam);
  switch (msg) {
    case WM_SETFONT: Measure(list, reinterpret_cast<HFONT>(wParam), rows); [[fallthrough]];
    case LB_DELETESTRING:
    case LB_RESETCONTENT:
      if (msg == LB_RESETCONTENT) rows.count = 0;
      if (msg == LB_DELETESTRING && result != LB_ERR) rows.count = static_cast<int>(result);
      rows.held = InkOfEntries(list, rows);
      Fit(list, rows);
      break;
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
      if (result >= 0) {
        ++rows.count;
        const auto* text = reinterpret_cast<const wchar_t*>(lParam);
        rows.held.Add(rows.InkOf(text, static_cast<int>(wcsnlen(text, kLongestEntry + 1))));
        Fit(list, rows);
      }
      break;
    case LB_SETITEMHEIGHT:
      if (result != LB_ERR && wParam == 0) rows.rowHeight = static_cast<int>(LOWORD(lParam));
      break;
    case WM_SIZE:
      rows.clientHeight = HIWORD(lParam);
      Fit(list, rows);
      break;
    default: break;
  }
  return result;
}

}  // namespace

void AttachLetterRows(HWND list) {
  auto* rows = new LetterRows;
  if (!SetWindowSubclass(list, &LetterListProc, kSubclassId, reinterpret_cast<DWORD_PTR>(rows))) {
    delete rows;
    return;
  }
  // Where the drawing finds the rows: MinGW's import library has no GetWindowSubclass, and a
  // window property is a round trip to the server under Wine, for every row drawn.
  SetWindowLongPtrW(list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(rows));
  RECT client{};
  GetClientRect(list, &client);
  rows->clientHeight = client.bottom;
  rows->count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  rows->rowHeight = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  Measure(list, Window(list).Font(), *rows);
}

void DrawLetterRow(const DRAWITEMSTRUCT& item, COLORREF background) {
  const HDC dc = item.hDC;
  const RECT& r = item.rcItem;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  SetBkColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHT) : background);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
  if (item.itemID != static_cast<UINT>(-1)) {
    const std::wstring text = ListBox(item.hwndItem).Item(static_cast<int>(item.itemID));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    // The ink of all the list's entries, not the font's cell, is centred: one baseline for every
    // row, and the rows may be lower than the cell.
    Band ink{0, tm.tmHeight};
    if (const auto* rows =
            reinterpret_cast<const LetterRows*>(GetWindowLongPtrW(item.hwndItem, GWLP_USERDATA))) {
      if (rows->held.Height() > 0) ink = rows->held;
    }
    const int y = r.top + (r.bottom - r.top - ink.Height()) / 2 - ink.top;
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    // The margin gives way, evenly on both sides, to an entry wider than the row leaves room for.
    const int x = r.left + std::clamp<int>((r.right - r.left - extent.cx) / 2, 0, kTextMargin);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    SetBkMode(dc, TRANSPARENT);
    ExtTextOutW(dc, x, y, ETO_CLIPPED, &r, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

}  // namespace kestrane::win32
