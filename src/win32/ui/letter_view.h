#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "win32/ui/windows_api.h"

namespace kestrane::win32 {

// Pixel rows of a font's cell that a glyph inks, counted from the cell's top.
struct Band {
  int top = 0;
  int bottom = 0;  // one past the last
  int Height() const { return bottom - top; }
  void Add(const Band& other);
};

// The ink of the glyphs a letter list's entries can hold (capitals, small letters for network
// drives, the colon) in one font, measured once per font and shared by the lists that use it.
struct LetterInk {
  int cell = 1;  // the font's cell height
  std::array<Band, 128> glyphs{};
  Band Of(const std::wstring& text) const;
};
std::shared_ptr<const LetterInk> MeasureLetterInk(HFONT font);

// A letter list holds up to 26 entries in a column designed for some 24 rows of its font. Each
// row is as high as the font while every entry fits so; when they would not, the rows shrink
// toward the ink of the glyphs the list holds (never below it), and only if even that cannot hold
// them all does the list show a scroll bar. Each row is drawn by us on the list's own background.
//
// The column is told of every change that decides its rows (its font, its size, its entries) by
// the code that makes it, and asks the list nothing: the list has no procedure of ours, so a
// message to it costs what a list's own costs. The drawing finds the column in the list's
// GWLP_USERDATA.
class LetterColumn {
 public:
  explicit LetterColumn(HWND list);
  LetterColumn(const LetterColumn&) = delete;
  LetterColumn& operator=(const LetterColumn&) = delete;
  ~LetterColumn();

  // The column of a list, or null for a list that has none.
  static LetterColumn* Of(HWND list);

  void SetFont(HFONT font, std::shared_ptr<const LetterInk> ink, bool redraw);
  void Resized();
  // The list's entries replaced by these, nothing selected, and drawn once.
  void SetEntries(const std::vector<std::wstring>& entries);

  void Draw(const DRAWITEMSTRUCT& item, COLORREF background) const;

 private:
  void Fit();

  HWND list_;
  std::shared_ptr<const LetterInk> ink_;
  Band held_;  // of every entry in the list
  int count_ = 0;
  int clientHeight_ = 0;
  int rowHeight_ = -1;
};

}  // namespace kestrane::win32
