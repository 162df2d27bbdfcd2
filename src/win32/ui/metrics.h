#pragma once
#include "ui/window_design.h"
#include "win32/platform/handles.h"
#include "win32/ui/windows_api.h"

namespace kestrane::win32 {

// The screen's logical resolution; the layout is designed in twips and placed at this.
struct Dpi {
  int x = 96;
  int y = 96;
};
Dpi ScreenDpi();
// The resolution of the monitor a window is on, where the system says (Windows 10 and Wine);
// the screen's otherwise.
Dpi WindowDpi(HWND window);

RECT ToPixels(const TwipsRect& rect, Dpi dpi);
int PixelsToTwips(int pixels, int dpi);
int ScaleX(int pixelsAt96, Dpi dpi);
int ScaleY(int pixelsAt96, Dpi dpi);

// The platform's dialog font at 8 points, the standard font of every control without a font of
// its own. Not the message font: that follows the user's settings (Segoe UI 9 on Windows 10,
// Tahoma 8 in Wine), and the designed boxes hold captions of the dialog font's size.
Font CreateStandardFont(Dpi dpi);

// The named face at its point size and weight, at the given resolution. A face that is not
// installed, or comes only as bitmaps, is replaced by the first comparable outline face that is.
Font CreateSpecFont(const FontSpec& design, Dpi dpi);

// The measures of `font` as it draws on the screen.
TEXTMETRICW TextMetricsOf(HFONT font);

}  // namespace kestrane::win32
