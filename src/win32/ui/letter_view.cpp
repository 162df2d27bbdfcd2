#include "win32/ui/letter_view.h"

#include <algorithm>
#include <string>

#include "win32/ui/controls_thin.h"

namespace kestrane::win32 {

namespace {

constexpr int kTextMargin = 2;      // pixels left of an entry, as a plain list box has
constexpr int kNarrowestText = 24;  // pixels an entry needs beside a scroll bar, at 96 dpi

}  // namespace

bool RoomForScrollBar(int widthPixels, Dpi dpi) {
  return widthPixels >= GetSystemMetrics(SM_CXVSCROLL) + ScaleX(kNarrowestText, dpi);
}

void FitLetterRows(HWND list, HFONT font) {
  // Rows lower than the font let the bold letters of one row touch those of the next.
  const TEXTMETRICW tm = TextMetricsOf(list, font);
  SendMessageW(list, LB_SETITEMHEIGHT, 0, std::max<LONG>(1, tm.tmHeight));
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
    const int y = r.top + (r.bottom - r.top - tm.tmHeight) / 2;
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    SetBkMode(dc, TRANSPARENT);
    ExtTextOutW(dc, r.left + kTextMargin, y, ETO_CLIPPED, &r, text.c_str(),
                static_cast<UINT>(text.size()), nullptr);
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

}  // namespace kestrane::win32
