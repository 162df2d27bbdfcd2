#include "win32/ui/win32_dialogs.h"

#include "win32/platform/strings.h"
#include "win32/ui/input_box.h"

namespace kestrane::win32 {

UINT MessageBoxStyle(Buttons buttons, Icon icon) {
  UINT style = 0;
  switch (buttons) {
    case Buttons::Ok: style = MB_OK; break;
    case Buttons::OkCancel: style = MB_OKCANCEL; break;
    case Buttons::YesNoCancel: style = MB_YESNOCANCEL; break;
    case Buttons::YesNo: style = MB_YESNO; break;
  }
  switch (icon) {
    case Icon::None: break;
    case Icon::Critical: style |= MB_ICONHAND; break;
    case Icon::Question: style |= MB_ICONQUESTION; break;
    case Icon::Exclamation: style |= MB_ICONEXCLAMATION; break;
    case Icon::Information: style |= MB_ICONASTERISK; break;
  }
  return style;
}

Answer AnswerFor(int pressed, Buttons buttons) {
  switch (pressed) {
    case IDOK: return Answer::Ok;
    case IDYES: return Answer::Yes;
    case IDNO: return Answer::No;
    default:
      // Cancel, the close box, or a box that could not be shown; an OK-only box has no other
      // answer to give.
      return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
  }
}

HWND Win32Dialogs::VisibleOwner() const {
  return owner_ != nullptr && IsWindow(owner_) && IsWindowVisible(owner_) ? owner_ : nullptr;
}

Answer Win32Dialogs::MessageBox(const std::string& body, const std::string& title, Buttons buttons,
                                Icon icon) {
  const HWND owner = VisibleOwner();
  UINT style = MessageBoxStyle(buttons, icon);
  if (owner == nullptr) style |= MB_TASKMODAL | MB_SETFOREGROUND;
  const int pressed = MessageBoxW(owner, Widen(body).c_str(), Widen(title).c_str(), style);
  return AnswerFor(pressed, buttons);
}

std::string Win32Dialogs::InputBox(const std::string& prompt, const std::string& title) {
  win32::InputBox box;
  return Narrow(box.Ask(instance_, VisibleOwner(), Widen(prompt), Widen(title)));
}

}  // namespace kestrane::win32
