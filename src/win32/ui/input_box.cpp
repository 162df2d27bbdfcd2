#include "win32/ui/input_box.h"

#include "win32/ui/controls_thin.h"
#include "win32/ui/metrics.h"

namespace kestrane::win32 {

namespace {

// Client layout in pixels at 96 dots per inch: the prompt beside the buttons, the field below.
constexpr int kClientWidth = 362;
constexpr int kClientHeight = 126;
constexpr RECT kPrompt{9, 9, 272, 90};
constexpr RECT kOk{282, 9, 355, 32};
constexpr RECT kCancel{282, 38, 355, 61};
constexpr RECT kField{9, 96, 355, 117};
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

}  // namespace

std::wstring InputBox::Ask(HINSTANCE instance, HWND owner, const std::wstring& prompt,
                           const std::wstring& title) {
  instance_ = instance;
  prompt_ = prompt;
  if (!Register(instance, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) return {};
  const Dpi dpi = ScreenDpi();
  RECT frame{0, 0, ScaleX(kClientWidth, dpi), ScaleY(kClientHeight, dpi)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  if (CreateAs(kExStyle, title.c_str(), kStyle, 0, 0, frame.right - frame.left,
               frame.bottom - frame.top, owner, nullptr, instance) == nullptr) {
    return {};
  }
  // Centred across and a third of the way down, where users expect a question to appear.
  RECT area = CentringArea(nullptr);
  area.bottom = area.top + (area.bottom - area.top) * 2 / 3;
  CentreOver(area);
  defaultId_ = IDOK;
  return RunModal(owner) == IDOK ? answer_ : std::wstring();
}

void InputBox::OnCreate() {
  const Dpi dpi = ScreenDpi();
  font_ = CreateStandardFont(dpi);
  const auto make = [&](const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle,
                        const RECT& r, int id) {
    const HWND hwnd = CreateWindowExW(
        exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, ScaleX(r.left, dpi), ScaleY(r.top, dpi),
        ScaleX(r.right - r.left, dpi), ScaleY(r.bottom - r.top, dpi), hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    Window(hwnd).SetFont(font_.Get());
  };
  // Tab order: the field first, so that the user can type at once, then OK and Cancel.
  make(L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kField, ids::inputText);
  make(L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, kOk, IDOK);
  make(L"BUTTON", L"Cancel", WS_TABSTOP | BS_PUSHBUTTON, 0, kCancel, IDCANCEL);
  make(L"STATIC", prompt_.c_str(), SS_LEFT | SS_NOPREFIX, 0, kPrompt, ids::inputPrompt);
}

LRESULT InputBox::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (DialogMessage(msg, wParam, lParam, result)) return result;
  switch (msg) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        answer_ = Window(GetDlgItem(hwnd_, ids::inputText)).Text();
        EndModal(IDOK);
      } else if (LOWORD(wParam) == IDCANCEL) {
        EndModal(IDCANCEL);
      }
      return 0;
    default: return Default(msg, wParam, lParam);
  }
}

}  // namespace kestrane::win32
