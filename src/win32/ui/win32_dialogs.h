#pragma once
#include "platform/dialogs.h"
#include "win32/ui/windows_api.h"

namespace kestrane::win32 {

// Modal boxes owned by the main window: the system's message box, our input box and the About
// box. Before the main window is on screen (start-up), a box has no owner and is task-modal.
class Win32Dialogs : public Dialogs {
 public:
  explicit Win32Dialogs(HINSTANCE instance) : instance_(instance) {}
  void SetOwner(HWND owner) { owner_ = owner; }

  Answer MessageBox(const std::string& body, const std::string& title, Buttons buttons,
                    Icon icon) override;
  std::string InputBox(const std::string& prompt, const std::string& title) override;

 private:
  HWND VisibleOwner() const;

  HINSTANCE instance_;
  HWND owner_ = nullptr;
};

// The message-box style for a set of buttons and an icon, and the answer for the button pressed.
UINT MessageBoxStyle(Buttons buttons, Icon icon);
Answer AnswerFor(int pressed, Buttons buttons);

}  // namespace kestrane::win32
