#pragma once
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "ui/window_design.h"
#include "win32/ui/windows_api.h"

namespace kestrane::win32 {

// Captions of buttons and labels are broken into lines here, not by DrawText, because Wine's
// DrawText breaks a line one word early whenever the first character past the box is a space.
// A push button lays its caption out twice, the second time in a box exactly as wide as its
// widest line, so "Add Virtual" filled its box to the pixel and "Add Virtual Drive" came out
// on three lines; the run of spaces in the About box's description put "Application" on the
// second line and "Halvecki" on a third. Windows breaks at those spaces, as this does, so both
// systems show the same lines.

// The caption as it reads: with `prefix`, "&x" shows x (underlined) and "&&" shows one "&".
std::wstring ShownText(const std::wstring& caption, bool prefix);

// The lines of `caption` in a box `width` pixels wide, each as written in the caption (its
// ampersands kept): as many words on a line as fit, a run of spaces kept between two words on
// one line and dropped where the line breaks, a word wider than the box alone on its line, and a
// new line at every line feed. `shownWidth` measures shown text.
std::vector<std::wstring> BreakCaption(const std::wstring& caption, int width, bool prefix,
                                       const std::function<int(const std::wstring&)>& shownWidth);

struct CaptionStyle {
  Align align = Align::Left;
  bool prefix = false;      // an ampersand marks the access key
  bool hidePrefix = false;  // the access key is not underlined (until Alt is pressed)
  bool centred = false;     // the lines stand in the middle of the box's height, not at its top
};

// Draws the caption's lines inside `box` with the font, text colour and background mode that
// `dc` has.
void DrawCaption(HDC dc, const std::wstring& caption, const RECT& box, const CaptionStyle& style);

}  // namespace kestrane::win32
