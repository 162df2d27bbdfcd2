#pragma once
#include "ui/controls.h"
#include "win32/ui/windows_api.h"

namespace kestrane::win32 {

// The Controls port over the main window's real controls, found by their identifiers.
class Win32Controls : public Controls {
 public:
  // The main window, once it exists; until then every call is harmless.
  void Attach(HWND main) { main_ = main; }
  // EndProgram has run: the window is gone and the message loop is ending.
  bool Ended() const { return ended_; }

  void SetListItems(ControlId list, const std::vector<std::string>& items) override;
  void ListSelect(ControlId list, int index) override;

  void SetText(ControlId id, const std::string& text) override;
  void SetVisible(ControlId id, bool visible) override;
  void SetFocus(ControlId id) override;

  void SetDriveItems(const std::vector<std::string>& items, int current) override;
  void SetFolderRows(const std::vector<FolderRow>& rows, int highlighted) override;
  int FolderHighlight() const override;

  std::string Caption() const override;
  void SetCaption(const std::string& caption) override;
  void SetMousePointer(MousePointer pointer) override;
  TwipsRect WindowRect() const override;
  void MoveWindow(const TwipsRect& rect) override;
  int ScreenWidth() const override;
  int ScreenHeight() const override;
  void FocusWindow() override;
  void EndProgram() override;
  void ShowAbout(const AboutBox& box) override;

 private:
  HWND Item(ControlId id) const;

  HWND main_ = nullptr;
  bool ended_ = false;
};

}  // namespace kestrane::win32
