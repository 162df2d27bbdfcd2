#pragma once
#include "app/window_layout.h"
#include "win32/platform/handles.h"
#include "win32/ui/windows_api.h"

namespace kestrane::win32 {

// The screen's logical resolution; the layout is designed in twips and placed at this.
struct Dpi {
  int x = 96;
  int y = 96;
};
Dpi ScreenDpi();

RECT ToPixels(const TwipsRect& rect, Dpi dpi);
int PixelsToTwips(int pixels, int dpi);
int ScaleX(int pixelsAt96, Dpi dpi);
int ScaleY(int pixelsAt96, Dpi dpi);

// The system's message-box font, the standard font of every control without a font of its own.
Font CreateStandardFont(Dpi dpi);

// The named face at its point size and weight, measured at the real resolution. A face that is
// not installed is replaced by the first comparable sans-serif face that is.
Font CreateSpecFont(const FontSpec& design, Dpi dpi);

// The measures of `font` as it draws in `window`.
TEXTMETRICW TextMetricsOf(HWND window, HFONT font);

}  // namespace kestrane::win32
