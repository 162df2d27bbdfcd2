#pragma once
#include "win32/ui/metrics.h"
#include "win32/ui/windows_api.h"

namespace kestrane::win32 {

// The letter lists are 25 pixels wide at 96 dpi: a scroll bar would leave no room for the
// letters, so there is none (the keyboard and the wheel still scroll), and each row, as high as
// its font, is drawn by us on the list's own background.
void FitLetterRows(HWND list, HFONT font);
void DrawLetterRow(const DRAWITEMSTRUCT& item, COLORREF background);

// Whether a list box of this width has room for a scroll bar beside its entries.
bool RoomForScrollBar(int widthPixels, Dpi dpi);

}  // namespace kestrane::win32
