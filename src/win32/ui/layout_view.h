#pragma once
#include <memory>
#include <utility>
#include <vector>

#include "ui/window_design.h"
#include "win32/platform/handles.h"
#include "win32/ui/letter_view.h"
#include "win32/ui/metrics.h"
#include "win32/ui/windows_api.h"

namespace kestrane::win32 {

using IconHandle = UniqueHandle<NullEmptyTraits<HICON, &::DestroyIcon>>;

// The program's icon at a size, from resource 1; the system's application icon when the
// executable carries none. `owned` is empty when the shared system icon is returned.
HICON LoadAppIcon(HINSTANCE instance, int size, IconHandle& owned);

// The controls of a window description, created inside a parent in tab order (which is also
// their z-order, so Tab walks them in that order), with their fonts, colours and tooltips.
class LayoutView {
 public:
  LayoutView() = default;
  LayoutView(const LayoutView&) = delete;
  LayoutView& operator=(const LayoutView&) = delete;
  ~LayoutView();

  // With `tipsNow` false the controls' tips wait for AddTooltips: a window that shows before its
  // tips are made shows sooner.
  void Create(HWND parent, HINSTANCE instance, const WindowSpec& design, Dpi dpi,
              bool tipsNow = true);
  // The tooltip window and a tip for every control that has one; once only.
  void AddTooltips();
  // Places the controls again and gives them fonts for another resolution (the window moved to
  // a monitor with another DPI).
  void Rescale(Dpi dpi);

  const WindowSpec& Design() const { return spec_; }
  Dpi DpiUsed() const { return dpi_; }
  HWND Control(int id) const { return GetDlgItem(parent_, id); }
  HWND Tooltip() const { return tooltip_; }
  const ControlSpec* SpecOf(int id) const;
  // The font the control was given, or null.
  HFONT FontOf(int id) const;
  // The client size of the designed window, in pixels.
  SIZE ClientSize() const;

  // Answers the WM_CTLCOLOR* messages for the controls that have colours of their own.
  bool Colors(UINT msg, WPARAM dc, LPARAM control, LRESULT& brush) const;
  // Draws a row of a letter list or a label of the layout; false for other controls.
  bool DrawItem(const DRAWITEMSTRUCT& item) const;
  // Draws a button's caption when the button asks (NM_CUSTOMDRAW); false for other notices.
  bool DrawButtonCaption(const NMCUSTOMDRAW& draw, LRESULT& result) const;
  // Draws the designed lines (rules) onto the parent's client area.
  void PaintLines(HDC dc) const;
  // The parent's messages every described window answers alike: the controls' colours, the
  // captions and rows it draws, and the painting of its lines. False for any other message, or
  // a colour left to the system.
  bool AnswerDrawing(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) const;

 private:
  HWND CreateControl(const ControlSpec& control, HINSTANCE instance);
  void AddTooltip(HWND control, const std::string& text);
  void ApplyMetrics(bool place);

  HWND parent_ = nullptr;
  HINSTANCE instance_ = nullptr;
  HWND tooltip_ = nullptr;
  WindowSpec spec_;
  Dpi dpi_;
  std::vector<std::pair<FontSpec, Font>> fonts_;
  IconHandle icon_;
  std::vector<std::unique_ptr<LetterColumn>> letterColumns_;
};

}  // namespace kestrane::win32
