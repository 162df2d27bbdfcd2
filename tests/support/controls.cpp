#include "e2e_support.h"

namespace e2e {

std::wstring TextOf(HWND window) {
  auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  auto copied =
      SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(copied));
  return text;
}

std::vector<std::wstring> ListItems(HWND list) {
  std::vector<std::wstring> items;
  auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    auto length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
    if (length == LB_ERR) break;
    std::wstring item(static_cast<size_t>(length) + 1, L'\0');
    length = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()));
    item.resize(length == LB_ERR ? 0 : static_cast<size_t>(length));
    items.push_back(item);
  }
  return items;
}

int ListSelection(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)); }

int IndexOf(HWND list, const std::wstring& item) {
  auto items = ListItems(list);
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] == item) return static_cast<int>(i);
  }
  return -1;
}

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

namespace {

void Notify(HWND list, WORD code) {
  PostMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), code),
               reinterpret_cast<LPARAM>(list));
}

}  // namespace

void SelectListItem(HWND list, int index) {
  SendMessageW(list, LB_SETCURSEL, index, 0);
  Notify(list, LBN_SELCHANGE);
}

void DoubleClickListItem(HWND list, int index) {
  SelectListItem(list, index);
  Notify(list, LBN_DBLCLK);
}

HWND Control(HWND window, int id) { return GetDlgItem(window, id); }

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

}  // namespace e2e

namespace e2e {

std::vector<std::wstring> ComboItems(HWND combo) {
  std::vector<std::wstring> items;
  auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    auto length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
    if (length == CB_ERR) break;
    std::wstring item(static_cast<size_t>(length) + 1, L'\0');
    length = SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
    item.resize(length == CB_ERR ? 0 : static_cast<size_t>(length));
    items.push_back(item);
  }
  return items;
}

void SelectComboItem(HWND combo, int index) {
  SendMessageW(combo, CB_SETCURSEL, index, 0);
  PostMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
}

void ChooseMenu(HWND window, int command) {
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

}  // namespace e2e
