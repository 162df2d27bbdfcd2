#include "win32/ui/letter_view.h"

#include <algorithm>
#include <string>

#include "win32/platform/handles.h"
#include "win32/ui/controls_thin.h"

namespace kestrane::win32 {

namespace {

constexpr int kTextMargin = 2;  // pixels left of an entry, as a plain list box has

}  // namespace

void Band::Add(const Band& other) {
  if (other.Height() <= 0) return;
  if (Height() <= 0) {
    *this = other;
    return;
  }
  top = std::min(top, other.top);
  bottom = std::max(bottom, other.bottom);
}

Band LetterInk::Of(const std::wstring& text) const {
  Band band;
  for (const wchar_t c : text) {
    const auto ch = static_cast<unsigned>(c);
    band.Add(ch < glyphs.size() && glyphs[ch].Height() > 0 ? glyphs[ch] : Band{0, cell});
  }
  return band;
}

// What the outline says is what the glyph covers; a font without outlines keeps its cell.
std::shared_ptr<const LetterInk> MeasureLetterInk(HFONT font) {
  auto ink = std::make_shared<LetterInk>();
  const MemoryDc memory(CreateCompatibleDC(nullptr));
  const HDC dc = memory.Get();
  const HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  ink->cell = std::max<int>(1, tm.tmHeight);
  const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  auto measure = [&](wchar_t ch) {
    GLYPHMETRICS gm{};
    if (GetGlyphOutlineW(dc, ch, GGO_METRICS, &gm, 0, nullptr, &identity) == GDI_ERROR) return;
    const int top = tm.tmAscent - gm.gmptGlyphOrigin.y;
    ink->glyphs[ch] = Band{top, top + static_cast<int>(gm.gmBlackBoxY)};
  };
  for (wchar_t ch = L'A'; ch <= L'Z'; ++ch) {
    measure(ch);
    measure(static_cast<wchar_t>(ch - L'A' + L'a'));
  }
  measure(L':');
  SelectObject(dc, old);
  return ink;
}

LetterColumn::LetterColumn(HWND list) : list_(list) {
  SetWindowLongPtrW(list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  Resized();
}

LetterColumn::~LetterColumn() {
  // A list that outlives its column draws nothing more rather than reach a gone one.
  if (IsWindow(list_) && Of(list_) == this) SetWindowLongPtrW(list_, GWLP_USERDATA, 0);
}

LetterColumn* LetterColumn::Of(HWND list) {
  return reinterpret_cast<LetterColumn*>(GetWindowLongPtrW(list, GWLP_USERDATA));
}

void LetterColumn::SetFont(HFONT font, std::shared_ptr<const LetterInk> ink, bool redraw) {
  SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
  ink_ = std::move(ink);
  rowHeight_ = -1;
  held_ = Band{};
  count_ = ListBox(list_).Count();
  for (int i = 0; i < count_; ++i) held_.Add(ink_->Of(ListBox(list_).Item(i)));
  Fit();
}

void LetterColumn::Resized() {
  RECT client{};
  GetClientRect(list_, &client);
  clientHeight_ = client.bottom;
  Fit();
}

void LetterColumn::SetEntries(const std::vector<std::wstring>& entries) {
  const ListBox box(list_);
  // Drawn once, when every entry is in and the rows fit them; an entry at a time would redraw
  // the column, and under Wine ask the server, for each.
  box.SetRedraw(false);
  box.Clear();
  count_ = 0;
  held_ = Band{};
  for (const std::wstring& entry : entries) {
    if (box.Add(entry) < 0) continue;
    ++count_;
    if (ink_) held_.Add(ink_->Of(entry));
  }
  Fit();
  box.SetRedraw(true);
  InvalidateRect(list_, nullptr, TRUE);
}

void LetterColumn::Fit() {
  const int cell = ink_ ? ink_->cell : 1;
  int height = cell;
  if (count_ > 0 && count_ * height > clientHeight_) {
    height = std::max(clientHeight_ / count_, held_.Height());
  }
  height = std::max(1, height);
  if (rowHeight_ != height && ink_) {
    SendMessageW(list_, LB_SETITEMHEIGHT, 0, height);
    rowHeight_ = height;
  }
}

void LetterColumn::Draw(const DRAWITEMSTRUCT& item, COLORREF background) const {
  const HDC dc = item.hDC;
  const RECT& r = item.rcItem;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  SetBkColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHT) : background);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
  if (item.itemID != static_cast<UINT>(-1)) {
    const std::wstring text = ListBox(item.hwndItem).Item(static_cast<int>(item.itemID));
    // The ink of all the list's entries, not the font's cell, is centred: one baseline for every
    // row, and the rows may be lower than the cell.
    Band ink{0, ink_ ? ink_->cell : r.bottom - r.top};
    if (held_.Height() > 0) ink = held_;
    const int y = r.top + (r.bottom - r.top - ink.Height()) / 2 - ink.top;
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    // The margin gives way, evenly on both sides, to an entry wider than the row leaves room for.
    const int x = r.left + std::clamp<int>((r.right - r.left - extent.cx) / 2, 0, kTextMargin);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    SetBkMode(dc, TRANSPARENT);
    ExtTextOutW(dc, x, y, ETO_CLIPPED, &r, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

}  // namespace kestrane::win32
