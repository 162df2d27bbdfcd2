#include "win32/ui/folder_view.h"

#include <algorithm>
#include <string>

#include "win32/platform/handles.h"
#include "win32/platform/strings.h"
#include "win32/ui/controls_thin.h"

namespace kestrane::win32 {

namespace {

constexpr int kGlyph = 16;   // folder glyph, pixels at 96 dpi
constexpr int kIndent = 11;  // per level of depth
constexpr int kGap = 4;      // between glyph and name
constexpr LPARAM kOpenBit = 1;

using Pen = GdiObject<HPEN>;

// Item data keeps a row's depth and whether it is drawn open.
LPARAM PackRow(const Controls::FolderRow& row) {
  return (static_cast<LPARAM>(row.depth) << 1) | (row.open ? kOpenBit : 0);
}

void DrawPolygon(HDC dc, const POINT* points, int count, COLORREF fill, COLORREF outline) {
  const Brush brush(CreateSolidBrush(fill));
  const Pen pen(CreatePen(PS_SOLID, 1, outline));
  const HGDIOBJ oldBrush = SelectObject(dc, brush.Get());
  const HGDIOBJ oldPen = SelectObject(dc, pen.Get());
  Polygon(dc, points, count);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
}

void DrawFolderGlyph(HDC dc, int x, int y, bool open, Dpi dpi) {
  const auto sx = [&](int v) { return x + ScaleX(v, dpi); };
  const auto sy = [&](int v) { return y + ScaleY(v, dpi); };
  const COLORREF outline = RGB(128, 96, 16);
  const COLORREF back = RGB(224, 176, 48);
  const COLORREF front = RGB(255, 222, 120);
  const POINT body[] = {{sx(1), sy(3)},  {sx(6), sy(3)},   {sx(7), sy(4)},
                        {sx(14), sy(4)}, {sx(14), sy(13)}, {sx(1), sy(13)}};
  DrawPolygon(dc, body, 6, open ? back : front, outline);
  if (open) {
    const POINT flap[] = {{sx(3), sy(7)}, {sx(16), sy(7)}, {sx(14), sy(13)}, {sx(1), sy(13)}};
    DrawPolygon(dc, flap, 4, front, outline);
  }
}

}  // namespace

void SetFolderRows(HWND list, const std::vector<Controls::FolderRow>& rows, int highlighted) {
  const ListBox box(list);
  box.SetRedraw(false);
  box.Clear();
  // Two messages a row, for a folder of thousands: they go to the list box's own procedure,
  // past the window's procedure in front of it, which under Wine costs each message a round trip
  // to the server and has nothing to do with filling. The storage is taken once, not row by row.
  const auto proc = reinterpret_cast<WNDPROC>(GetClassLongPtrW(list, GCLP_WNDPROC));
  const auto send = [&](UINT msg, WPARAM wParam, LPARAM lParam) {
    return proc != nullptr ? CallWindowProcW(proc, list, msg, wParam, lParam)
                           : SendMessageW(list, msg, wParam, lParam);
  };
  std::size_t chars = 0;
  for (const Controls::FolderRow& row : rows) chars += row.name.size() + 1;
  send(LB_INITSTORAGE, rows.size(), static_cast<LPARAM>(chars * sizeof(wchar_t)));
  for (const Controls::FolderRow& row : rows) {
    const std::wstring name = Widen(row.name);
    const LRESULT index = send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (index >= 0) send(LB_SETITEMDATA, static_cast<WPARAM>(index), PackRow(row));
  }
  box.Select(highlighted);
  box.SetRedraw(true);
  InvalidateRect(list, nullptr, TRUE);
}

void FitFolderRowHeight(HWND list, HFONT font, Dpi dpi) {
  const TEXTMETRICW tm = TextMetricsOf(font);
  const int height = std::max<int>(tm.tmHeight, ScaleY(kGlyph, dpi)) + ScaleY(1, dpi);
  SendMessageW(list, LB_SETITEMHEIGHT, 0, height);
}

void DrawFolderRow(const DRAWITEMSTRUCT& item, Dpi dpi, HFONT font) {
  const HDC dc = item.hDC;
  const RECT& r = item.rcItem;
  FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
  if (item.itemID == static_cast<UINT>(-1)) {
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
    return;
  }
  const ListBox box(item.hwndItem);
  const int index = static_cast<int>(item.itemID);
  const auto data = static_cast<LPARAM>(item.itemData);
  const int depth = static_cast<int>(data >> 1);
  const bool open = (data & kOpenBit) != 0;
  const int glyphX = r.left + ScaleX(2 + kIndent * depth, dpi);
  const int glyphY = r.top + (r.bottom - r.top - ScaleY(kGlyph, dpi)) / 2;
  DrawFolderGlyph(dc, glyphX, glyphY, open, dpi);

  const std::wstring name = box.Item(index);
  const HGDIOBJ oldFont = SelectObject(dc, font);
  SIZE extent{};
  GetTextExtentPoint32W(dc, name.c_str(), static_cast<int>(name.size()), &extent);
  RECT text{glyphX + ScaleX(kGlyph + kGap, dpi), r.top, 0, r.bottom};
  text.right = text.left + extent.cx + ScaleX(4, dpi);
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &text, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  RECT inner = text;
  inner.left += ScaleX(2, dpi);
  DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &inner,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &text);
  SelectObject(dc, oldFont);
}

}  // namespace kestrane::win32
