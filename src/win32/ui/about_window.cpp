#include "win32/ui/about_window.h"

#include "win32/platform/strings.h"

namespace kestrane::win32 {

namespace {
// A fixed dialog frame: no minimise or maximise button and no icon of its own. Being owned by
// the main window keeps it off the task bar.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
}  // namespace

void AboutWindow::Show(HINSTANCE instance, HWND owner, const AboutBox& box) {
  instance_ = instance;
  spec_ = &box.window;
  if (!Register(instance, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) return;
  // At the resolution of the window it is shown over, which may have moved to another monitor.
  dpi_ = WindowDpi(owner);
  RECT frame{0, 0, TwipsToPixels(box.window.clientWidth, dpi_.x),
             TwipsToPixels(box.window.clientHeight, dpi_.y)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  const std::wstring title = Widen(box.window.caption);
  if (CreateAs(kExStyle, title.c_str(), kStyle, 0, 0, frame.right - frame.left,
               frame.bottom - frame.top, owner, nullptr, instance) == nullptr) {
    return;
  }
  CentreOver(CentringArea(owner));
  defaultId_ = ButtonWith(&ControlSpec::defaultButton);
  RunModal(owner);
}

int AboutWindow::ButtonWith(bool ControlSpec::*role) const {
  for (const ControlSpec& c : layout_.Design().controls) {
    if (c.kind == ControlKind::Button && c.*role) return c.id;
  }
  return 0;
}

LRESULT AboutWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (DialogMessage(msg, wParam, lParam, result)) return result;
  switch (msg) {
    case WM_CREATE: layout_.Create(hwnd_, instance_, *spec_, dpi_); return 0;
    case WM_DPICHANGED: {
      layout_.Rescale(Dpi{LOWORD(wParam), HIWORD(wParam)});
      RECT frame{0, 0, layout_.ClientSize().cx, layout_.ClientSize().cy};
      AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, frame.right - frame.left,
                   frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const HWND control = reinterpret_cast<HWND>(lParam);
      // Esc arrives as IDCANCEL and Enter as the default button; both close the box, as does
      // a click on any of its buttons.
      const bool cancel = id == IDCANCEL && ButtonWith(&ControlSpec::cancelButton) != 0;
      const ControlSpec* c = layout_.SpecOf(id);
      const bool button = c != nullptr && c->kind == ControlKind::Button &&
                          (control == nullptr || HIWORD(wParam) == BN_CLICKED);
      if (cancel || button || (id == IDOK && defaultId_ != 0)) EndModal(id);
      return 0;
    }
    default:
      if (layout_.AnswerDrawing(msg, wParam, lParam, result)) return result;
      break;
  }
  return Default(msg, wParam, lParam);
}

}  // namespace kestrane::win32
