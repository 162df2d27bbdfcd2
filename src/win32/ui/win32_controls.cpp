#include "win32/ui/win32_controls.h"

#include "ui/window_design.h"
#include "win32/platform/strings.h"
#include "win32/ui/about_window.h"
#include "win32/ui/base_window.h"
#include "win32/ui/controls_thin.h"
#include "win32/ui/folder_view.h"
#include "win32/ui/letter_view.h"
#include "win32/ui/metrics.h"

namespace kestrane::win32 {

HWND Win32Controls::Item(ControlId id) const {
  return main_ == nullptr ? nullptr : GetDlgItem(main_, Id(id));
}

void Win32Controls::SetListItems(ControlId list, const std::vector<std::string>& items) {
  LetterColumn* column = LetterColumn::Of(Item(list));
  if (column == nullptr) return;
  std::vector<std::wstring> entries;
  entries.reserve(items.size());
  for (const std::string& item : items) entries.push_back(Widen(item));
  column->SetEntries(entries);
}

void Win32Controls::ListSelect(ControlId list, int index) {
  if (const HWND hwnd = Item(list)) ListBox(hwnd).Select(index);
}

void Win32Controls::SetText(ControlId id, const std::string& text) {
  const HWND hwnd = Item(id);
  if (hwnd == nullptr) return;
  // A caption set to what it already says would only be drawn again.
  const std::wstring wide = Widen(text);
  if (Window(hwnd).Text() != wide) Window(hwnd).SetText(wide);
  // A path longer than the box shows its end, the folder's own name, whatever the font's width.
  if (id == ControlId::txtPath) {
    const auto end = static_cast<WPARAM>(wide.size());
    SendMessageW(hwnd, EM_SETSEL, end, static_cast<LPARAM>(end));
    SendMessageW(hwnd, EM_SCROLLCARET, 0, 0);
  }
}

void Win32Controls::SetVisible(ControlId id, bool visible) {
  const HWND hwnd = Item(id);
  if (hwnd == nullptr) return;
  if (!visible && GetFocus() == hwnd) {
    // A hidden control cannot keep the focus; pass it on as Tab would.
    if (const HWND next = GetNextDlgTabItem(main_, hwnd, FALSE); next != hwnd) ::SetFocus(next);
  }
  Window(hwnd).Show(visible);
}

void Win32Controls::SetFocus(ControlId id) {
  const HWND hwnd = Item(id);
  if (hwnd != nullptr && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) ::SetFocus(hwnd);
}

void Win32Controls::SetDriveItems(const std::vector<std::string>& items, int current) {
  const HWND hwnd = Item(ControlId::DrvList);
  if (hwnd == nullptr) return;
  const ComboBox drives(hwnd);
  drives.Clear();
  for (const std::string& item : items) drives.Add(Widen(item));
  drives.Select(current);
}

void Win32Controls::SetFolderRows(const std::vector<FolderRow>& rows, int highlighted) {
  if (const HWND hwnd = Item(ControlId::dirList)) win32::SetFolderRows(hwnd, rows, highlighted);
}

int Win32Controls::FolderHighlight() const {
  const HWND hwnd = Item(ControlId::dirList);
  return hwnd == nullptr ? -1 : ListBox(hwnd).Selected();
}

std::string Win32Controls::Caption() const {
  return main_ == nullptr ? std::string() : Narrow(Window(main_).Text());
}

void Win32Controls::SetCaption(const std::string& caption) {
  if (main_ != nullptr) Window(main_).SetText(Widen(caption));
}

void Win32Controls::SetMousePointer(MousePointer pointer) {
  SetAppBusy(pointer == MousePointer::Hourglass);
}

TwipsRect Win32Controls::WindowRect() const {
  RECT r{};
  if (main_ != nullptr) GetWindowRect(main_, &r);
  const Dpi dpi = ScreenDpi();
  return TwipsRect{PixelsToTwips(r.left, dpi.x), PixelsToTwips(r.top, dpi.y),
                   PixelsToTwips(r.right - r.left, dpi.x), PixelsToTwips(r.bottom - r.top, dpi.y)};
}

void Win32Controls::MoveWindow(const TwipsRect& rect) {
  if (main_ == nullptr) return;
  const RECT r = ToPixels(rect, ScreenDpi());
  SetWindowPos(main_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

int Win32Controls::ScreenWidth() const {
  return PixelsToTwips(GetSystemMetrics(SM_CXSCREEN), ScreenDpi().x);
}

int Win32Controls::ScreenHeight() const {
  return PixelsToTwips(GetSystemMetrics(SM_CYSCREEN), ScreenDpi().y);
}

void Win32Controls::FocusWindow() {
  if (main_ == nullptr || !IsWindowVisible(main_)) return;
  SetForegroundWindow(main_);
  SetActiveWindow(main_);
}

void Win32Controls::EndProgram() {
  ended_ = true;
  SetAppBusy(false);
  // Destroying a window that was never shown keeps it from ever appearing; the quit message ends
  // the message loop, or tells the start-up code not to enter it.
  if (main_ != nullptr && IsWindow(main_)) DestroyWindow(main_);
  main_ = nullptr;
  PostQuitMessage(0);
}

void Win32Controls::ShowAbout(const AboutBox& about) {
  AboutWindow box;
  const HWND owner = main_ != nullptr && IsWindow(main_) ? main_ : nullptr;
  box.Show(GetModuleHandleW(nullptr), owner, about);
}

}  // namespace kestrane::win32
