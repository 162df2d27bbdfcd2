#pragma once
#include <string>

#include "app/control_ids.h"
#include "win32/platform/handles.h"
#include "win32/ui/dialog_base.h"
#include "win32/ui/windows_api.h"

namespace kestrane::win32 {

// A prompt, an empty text field, OK (the default) and Cancel; Cancel and the close box give the
// empty string.
class InputBox : public DialogBase<InputBox> {
 public:
  static const wchar_t* ClassName() { return ids::kInputWindowClass; }

  std::wstring Ask(HINSTANCE instance, HWND owner, const std::wstring& prompt,
                   const std::wstring& title);

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  void OnCreate();

  HINSTANCE instance_ = nullptr;
  std::wstring prompt_;
  std::wstring answer_;
  Font font_;
};

}  // namespace kestrane::win32
