#pragma once
#include <string>

#include "win32/ui/windows_api.h"

namespace kestrane::win32 {

// Thin wrappers that borrow a control's HWND for the length of a call; they own nothing.
class Window {
 public:
  explicit Window(HWND hwnd) : hwnd_(hwnd) {}
  HWND Hwnd() const { return hwnd_; }
  bool Valid() const { return hwnd_ != nullptr && IsWindow(hwnd_); }
  std::wstring Text() const {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
    return text;
  }
  void SetText(const std::wstring& text) const { SetWindowTextW(hwnd_, text.c_str()); }
  void Show(bool visible) const { ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }
  HFONT Font() const { return reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)); }
  void SetFont(HFONT font) const {
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }

 protected:
  LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendMessageW(hwnd_, msg, wParam, lParam);
  }

 private:
  HWND hwnd_;
};

class ListBox : public Window {
 public:
  using Window::Window;
  void Clear() const { Send(LB_RESETCONTENT); }
  int Add(const std::wstring& item) const {
    return static_cast<int>(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str())));
  }
  int Count() const { return static_cast<int>(Send(LB_GETCOUNT)); }
  std::wstring Item(int index) const {
    const LRESULT length = Send(LB_GETTEXTLEN, static_cast<WPARAM>(index));
    if (length == LB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got =
        Send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
    return text;
  }
  int Selected() const {
    const LRESULT index = Send(LB_GETCURSEL);
    return index == LB_ERR ? -1 : static_cast<int>(index);
  }
  void Select(int index) const { Send(LB_SETCURSEL, static_cast<WPARAM>(index)); }
  // The row whose whole text is `item`, case aside; -1 for none.
  int Find(const std::wstring& item) const {
    const LRESULT index =
        Send(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item.c_str()));
    return index == LB_ERR ? -1 : static_cast<int>(index);
  }
  void SetItemData(int index, LPARAM data) const {
    Send(LB_SETITEMDATA, static_cast<WPARAM>(index), data);
  }
  void SetRedraw(bool redraw) const { Send(WM_SETREDRAW, redraw ? TRUE : FALSE); }
};

class ComboBox : public Window {
 public:
  using Window::Window;
  void Clear() const { Send(CB_RESETCONTENT); }
  int Add(const std::wstring& item) const {
    return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str())));
  }
  int Selected() const {
    const LRESULT index = Send(CB_GETCURSEL);
    return index == CB_ERR ? -1 : static_cast<int>(index);
  }
  void Select(int index) const { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
  bool DroppedDown() const { return Send(CB_GETDROPPEDSTATE) != 0; }
};

}  // namespace kestrane::win32
