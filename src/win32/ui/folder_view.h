#pragma once
#include <vector>

#include "ui/controls.h"
#include "win32/ui/metrics.h"
#include "win32/ui/windows_api.h"

namespace kestrane::win32 {

// The folder list is an owner-drawn list box: each row is a folder name, indented by its depth
// under the drive root, with an open folder for the root, the ancestors and the current folder,
// and a closed one for the sub-folders.
void SetFolderRows(HWND list, const std::vector<Controls::FolderRow>& rows, int highlighted);
// Row height for the list's font; the folder glyph needs at least 16 pixels at 96 dpi.
void FitFolderRowHeight(HWND list, HFONT font, Dpi dpi);
// Draws a row in the list's font; its depth and glyph come with the item, not from the list.
void DrawFolderRow(const DRAWITEMSTRUCT& item, Dpi dpi, HFONT font);

}  // namespace kestrane::win32
