#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/frm_qor_pro.h"
#include "win32/ui/base_window.h"
#include "win32/ui/layout_view.h"
#include "win32/ui/windows_api.h"

namespace kestrane::win32 {

using Accelerators = UniqueHandle<NullEmptyTraits<HACCEL, &::DestroyAcceleratorTable>>;

// frmQOR_Pro on the screen: the designed controls and menu, and the events of each control
// handed to the form's handlers.
class MainWindow : public BaseWindow<MainWindow> {
 public:
  explicit MainWindow(frmQOR_Pro& form) : form_(form) {}
  ~MainWindow() override;

  static const wchar_t* ClassName() { return ids::kMainWindowClass; }

  // Creates the window hidden, with its controls and menu; false when the system refuses.
  bool Create(HINSTANCE instance);
  // Shows the window and paints it at once, then attaches the folder list's procedure (its keys
  // and clicks). Under Wine that procedure costs every message to the list a round trip to the
  // server, and the list's first filling and painting need none of it; nothing the user does
  // reaches the list before the message loop, which comes after.
  void Show(int how);
  HACCEL Accelerators() const { return accelerators_.Get(); }
  // Shows the controls' tips; the message loop hands it their mouse messages. The window shows
  // before the tips are made, at the message loop's first idle moment.
  void MakeTooltips() { layout_.AddTooltips(); }
  // The tooltip if it is made already, else null.
  HWND TooltipIfMade() const { return layout_.Tooltip(); }
  Dpi DpiUsed() const { return layout_.DpiUsed(); }

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

  // Runs one of the form's commands, unless one is running already: a command that arrives
  // meanwhile (through a wait's message loop or a box's) is dropped, never run inside the other
  // or after it. A drive check asked for meanwhile runs once, when the command is over, and a
  // pick in a letter list is taken then, as the list already shows it.
  void RunCommand(const std::function<void()>& command);

 private:
  void OnCreate();
  void OnCommand(int id, int code, HWND control);
  void Dispatch(int id, int code, HWND control);
  bool IsLetterPick(int id, int code, HWND control) const;
  void OnActivate(WPARAM wParam, LPARAM lParam);
  bool CommandRunning() const;
  // The lists follow drives other programs made or removed; not in the middle of a command.
  void CheckDriveSetWhenFree();
  void OnDpiChanged(Dpi dpi, const RECT& suggested);
  void FitClientArea();
  int CancelButtonId() const;
  void ReleaseFolderList();
  LRESULT FolderListMessage(HWND list, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK FolderListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);

  frmQOR_Pro& form_;
  HINSTANCE instance_ = nullptr;
  LayoutView layout_;
  win32::Accelerators accelerators_;
  IconHandle bigIcon_;
  IconHandle smallIcon_;
  HWND lastFocus_ = nullptr;
  bool activatedOnce_ = false;
  bool driveCheckPosted_ = false;  // a drive-set check is waiting in the queue
  bool commandRunning_ = false;
  bool checkingDrives_ = false;  // the command running is the lists' own drive check
  bool driveCheckDue_ = false;   // asked for while a command ran
  // Commands that came while the lists' own drive check was running: the user asked for them
  // before it was their turn, so they run after it, in order. So do picks in a letter list that
  // came while any command ran, by the picked row's text, as the lists may be rebuilt meanwhile.
  struct Pending {
    int id;
    int code;
    HWND control;
    std::optional<std::wstring> pickedRow;
  };
  std::vector<Pending> pending_;
};

}  // namespace kestrane::win32
