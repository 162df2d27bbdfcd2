#pragma once
#include "app/control_ids.h"
#include "info/about.h"
#include "win32/ui/dialog_base.h"
#include "win32/ui/layout_view.h"
#include "win32/ui/windows_api.h"

namespace kestrane::win32 {

// frmAbout: whatever its description holds, drawn like the main window's controls, with its
// rules painted on the client area. Any of its buttons closes it.
class AboutWindow : public DialogBase<AboutWindow> {
 public:
  static const wchar_t* ClassName() { return ids::kAboutWindowClass; }

  void Show(HINSTANCE instance, HWND owner, const AboutBox& box);

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  int ButtonWith(bool ControlSpec::*role) const;

  HINSTANCE instance_ = nullptr;
  const WindowSpec* spec_ = nullptr;
  Dpi dpi_;
  LayoutView layout_;
};

}  // namespace kestrane::win32
