#include <cwctype>

#include "app/control_ids.h"
#include "e2e_support.h"

namespace e2e {
namespace {

namespace ids = kestrane::ids;

std::wstring Root(wchar_t letter) {
  return {static_cast<wchar_t>(std::towupper(letter)), L':', L'\\'};
}

// The path box shortens a long path to "....." and its last 63 characters.
bool PathBoxShows(HWND main, const std::wstring& path) {
  const std::wstring shown = path.size() > 66 ? L"....." + path.substr(path.size() - 63) : path;
  return WaitFor([&] { return TextOf(Control(main, ids::txtPath)) == shown; });
}

}  // namespace

bool ChooseDrive(HWND main, wchar_t letter) {
  HWND drives = Control(main, ids::DrvList);
  const std::wstring entry{static_cast<wchar_t>(std::towlower(letter)), L':'};
  auto items = ComboItems(drives);
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].rfind(entry, 0) == 0) {
      SelectComboItem(drives, static_cast<int>(i));
      return PathBoxShows(main, Root(letter));
    }
  }
  return false;
}

bool OpenFolder(HWND main, const std::wstring& folder) {
  if (folder.size() < 3 || folder[1] != L':' || folder[2] != L'\\') return false;
  const std::wstring shown = TextOf(Control(main, ids::txtPath));
  if (shown.empty() || std::towupper(shown[0]) != std::towupper(folder[0])) {
    if (!ChooseDrive(main, folder[0])) return false;
  }
  HWND list = Control(main, ids::dirList);
  std::wstring path = Root(folder[0]);
  DoubleClickListItem(list, 0);  // the root, first of the ancestors
  if (!PathBoxShows(main, path)) return false;
  int current = 0;
  for (size_t start = 3; start < folder.size();) {
    size_t end = folder.find(L'\\', start);
    if (end == std::wstring::npos) end = folder.size();
    const std::wstring name = folder.substr(start, end - start);
    start = end + 1;
    // Sub-folders follow the current folder's row.
    auto rows = ListItems(list);
    int row = -1;
    for (int i = current + 1; i < static_cast<int>(rows.size()); ++i) {
      if (rows[static_cast<size_t>(i)] == name) {
        row = i;
        break;
      }
    }
    if (row < 0) return false;
    DoubleClickListItem(list, row);
    path += (path.back() == L'\\' ? L"" : L"\\") + name;
    if (!PathBoxShows(main, path)) return false;
    ++current;
  }
  return true;
}

bool SelectLetter(HWND list, wchar_t letter) {
  const int index = IndexOf(list, std::wstring{letter, L':'});
  if (index < 0) return false;
  SelectListItem(list, index);
  // The row picked is the letter's: the lists may have been rebuilt before the pick came.
  return WaitFor([&] {
    return ListSelection(list) == index && IndexOf(list, std::wstring{letter, L':'}) == index;
  });
}

}  // namespace e2e
