#include "win32/ui/menu_bar.h"

#include <string>

#include "win32/platform/strings.h"

namespace kestrane::win32 {

namespace {

void AddEntries(HMENU parent, const std::vector<MenuSpec>& entries) {
  for (const MenuSpec& entry : entries) {
    if (entry.IsSeparator()) {
      AppendMenuW(parent, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::wstring caption = Widen(entry.caption);
    if (!entry.shortcut.empty()) caption += L"\t" + Widen(entry.shortcut);
    if (!entry.children.empty()) {
      const HMENU popup = CreatePopupMenu();
      AddEntries(popup, entry.children);
      AppendMenuW(parent, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), caption.c_str());
    } else {
      AppendMenuW(parent, MF_STRING, static_cast<UINT_PTR>(entry.id), caption.c_str());
    }
  }
}

void CollectAccelerators(const std::vector<MenuSpec>& entries, std::vector<ACCEL>& out) {
  for (const MenuSpec& entry : entries) {
    if (const WORD key = ShortcutKey(entry.shortcut); key != 0 && entry.id != 0) {
      out.push_back(ACCEL{FVIRTKEY, key, static_cast<WORD>(entry.id)});
    }
    CollectAccelerators(entry.children, out);
  }
}

}  // namespace

WORD ShortcutKey(const std::string& shortcut) {
  if (shortcut.size() < 2 || shortcut.size() > 3 || shortcut[0] != 'F') return 0;
  int number = 0;
  for (std::size_t i = 1; i < shortcut.size(); ++i) {
    if (shortcut[i] < '0' || shortcut[i] > '9') return 0;
    number = number * 10 + (shortcut[i] - '0');
  }
  if (number < 1 || number > 12) return 0;
  return static_cast<WORD>(VK_F1 + number - 1);
}

HMENU BuildMenuBar(const std::vector<MenuSpec>& menu) {
  const HMENU bar = CreateMenu();
  AddEntries(bar, menu);
  return bar;
}

HACCEL BuildAccelerators(const std::vector<MenuSpec>& menu) {
  std::vector<ACCEL> table;
  CollectAccelerators(menu, table);
  if (table.empty()) return nullptr;
  return CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

}  // namespace kestrane::win32
