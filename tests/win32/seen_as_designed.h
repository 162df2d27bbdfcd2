#pragma once
#include "app/window_layout.h"
#include "win32/ui/windows_api.h"

namespace kestrane::win32 {

// The controls of `window`, described by `design` and shown at `dpi`, as a person sees them
// (ui_dpi_test.cpp): captions whole and on their designed lines, fonts at their designed size,
// list rows as high as their font.
void ExpectSeenAsDesigned(HWND window, const WindowSpec& design, int dpi);

}  // namespace kestrane::win32
