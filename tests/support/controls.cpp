#include "e2e_support.h"

namespace e2e {
namespace {

// The rows of a list box or a combo box: the two kinds differ only in their message numbers, and
// both answer -1 for a row they do not have.
std::vector<std::wstring> Rows(HWND control, UINT getCount, UINT getLength, UINT getText) {
  std::vector<std::wstring> rows;
  auto count = SendMessageW(control, getCount, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    auto length = SendMessageW(control, getLength, i, 0);
    if (length < 0) break;
    std::wstring row(static_cast<size_t>(length) + 1, L'\0');
    length = SendMessageW(control, getText, i, reinterpret_cast<LPARAM>(row.data()));
    row.resize(length < 0 ? 0 : static_cast<size_t>(length));
    rows.push_back(row);
  }
  return rows;
}

// What the parent of a list or combo box hears when the user picks in it.
void Notify(HWND control, WORD code) {
  PostMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
               reinterpret_cast<LPARAM>(control));
}

}  // namespace

std::string Narrow(const std::wstring& text, UINT codePage) {
  const int size = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring TextOf(HWND window) {
  auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  auto copied =
      SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(copied));
  return text;
}

std::vector<std::wstring> ListItems(HWND list) {
  return Rows(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

std::vector<std::wstring> ComboItems(HWND combo) {
  return Rows(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
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

// Both posted, so that the window takes them one after the other as it takes a click on the row:
// a selection sent at once could land while the window is busy, and the lists rebuilt before its
// notification came would no longer show it.
void SelectListItem(HWND list, int index) {
  PostMessageW(list, LB_SETCURSEL, index, 0);
  Notify(list, LBN_SELCHANGE);
}

void DoubleClickListItem(HWND list, int index) {
  SelectListItem(list, index);
  Notify(list, LBN_DBLCLK);
}

void SelectComboItem(HWND combo, int index) {
  SendMessageW(combo, CB_SETCURSEL, index, 0);
  Notify(combo, CBN_SELCHANGE);
}

void ChooseMenu(HWND window, int command) {
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

HWND Control(HWND window, int id) { return GetDlgItem(window, id); }

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

}  // namespace e2e
