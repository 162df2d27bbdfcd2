#pragma once
#include "win32/ui/windows_api.h"

namespace kestrane::win32 {

// The letter lists hold up to 26 entries in a column designed for some 24 rows of its font. Each
// row is as high as the font while every entry fits so; when they would not, the rows shrink
// toward the ink of the glyphs the list holds (never below it), and only if even that cannot hold
// them all does the list show a scroll bar. The list keeps this true by itself, whenever its
// entries, its font or its size change. Each row is drawn by us on the list's own background.
void AttachLetterRows(HWND list);
void DrawLetterRow(const DRAWITEMSTRUCT& item, COLORREF background);

}  // namespace kestrane::win32
