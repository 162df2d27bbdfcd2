#include <cstdlib>
#include <limits>

#include "e2e_support.h"

namespace e2e {
namespace {

constexpr int kTextId = 0xFFFF;
// Windows numbers a message box's icon control 0x14; Wine's template uses stc1.
constexpr int kIconIds[] = {0x14, 0x0440};
constexpr int kButtons[] = {IDOK, IDCANCEL, IDYES, IDNO};

HWND IconControl(HWND box) {
  for (int id : kIconIds) {
    if (HWND control = GetDlgItem(box, id)) return control;
  }
  return nullptr;
}

using Pixels = std::vector<COLORREF>;

// Pixels of the screen under a control's client area, as the user sees them.
Pixels Capture(HWND control, int width, int height) {
  POINT origin{0, 0};
  ClientToScreen(control, &origin);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
  Pixels pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(memory, x, y));
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// A system icon drawn the way the box's static draws its own, on the same background.
Pixels Render(HICON icon, int width, int height, COLORREF background) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  HBRUSH brush = CreateSolidBrush(background);
  RECT all{0, 0, width, height};
  FillRect(memory, &all, brush);
  DrawIconEx(memory, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
  Pixels pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(memory, x, y));
  }
  SelectObject(memory, old);
  DeleteObject(brush);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

long Distance(const Pixels& a, const Pixels& b) {
  long sum = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    sum += std::abs(GetRValue(a[i]) - GetRValue(b[i])) +
           std::abs(GetGValue(a[i]) - GetGValue(b[i])) +
           std::abs(GetBValue(a[i]) - GetBValue(b[i]));
  }
  return sum;
}

// Icon handles belong to the process that loaded them, so the box's icon is recognised by its
// pixels on the screen: the nearest of the four system icons, if it is near enough.
Icon Recognise(HWND box) {
  HWND control = IconControl(box);
  if (!control || !IsWindowVisible(control) || !SendMessageW(control, STM_GETICON, 0, 0)) {
    return Icon::None;
  }
  RECT client{};
  GetClientRect(control, &client);
  int width = client.right, height = client.bottom;
  if (width <= 0 || height <= 0) return Icon::None;
  Pixels seen = Capture(control, width, height);
  const struct {
    Icon icon;
    LPCWSTR id;
  } candidates[] = {{Icon::Critical, IDI_HAND},
                    {Icon::Question, IDI_QUESTION},
                    {Icon::Exclamation, IDI_EXCLAMATION},
                    {Icon::Information, IDI_ASTERISK}};
  Icon best = Icon::Unknown;
  long bestDistance = std::numeric_limits<long>::max();
  for (const auto& candidate : candidates) {
    long distance =
        Distance(seen, Render(LoadIconW(nullptr, candidate.id), width, height, seen.front()));
    if (distance < bestDistance) bestDistance = distance, best = candidate.icon;
  }
  // Near enough: on average less than 8 levels per channel off.
  return bestDistance < static_cast<long>(seen.size()) * 24 ? best : Icon::Unknown;
}

struct BoxSearch {
  DWORD processId;
  HWND exclude;
  HWND found;
};

BOOL CALLBACK MatchBox(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<BoxSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (owner == search.processId && window != search.exclude && IsWindowVisible(window) &&
      std::wstring(className) == L"#32770" && GetDlgItem(window, kTextId)) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

const char* NameOf(Icon icon) {
  switch (icon) {
    case Icon::None: return "no icon";
    case Icon::Critical: return "critical";
    case Icon::Question: return "question";
    case Icon::Exclamation: return "exclamation";
    case Icon::Information: return "information";
    case Icon::Unknown: break;
  }
  return "an icon not recognised";
}

bool Box::Has(int button) const {
  for (int b : buttons) {
    if (b == button) return true;
  }
  return false;
}

HWND FindBox(DWORD processId, HWND exclude) {
  BoxSearch search{processId, exclude, nullptr};
  EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::optional<Box> WaitForBox(const Program& program, Duration limit, HWND exclude) {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindBox(program.Id(), exclude)) != nullptr || !program.Running(); },
          limit);
  if (!found) return std::nullopt;
  Box box;
  box.window = found;
  box.title = TextOf(box.window);
  box.text = TextOf(GetDlgItem(box.window, kTextId));
  for (int id : kButtons) {
    HWND button = GetDlgItem(box.window, id);
    if (button && IsWindowVisible(button)) box.buttons.push_back(id);
  }
  // The box may not have painted yet when it first becomes visible.
  WaitFor([&] { return (box.icon = Recognise(box.window)) != Icon::Unknown; }, 3s);
  return box;
}

bool Answer(const Box& box, int button, Duration limit) {
  HWND control = GetDlgItem(box.window, button);
  if (!control) return false;
  Click(control);
  return WaitFor([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); }, limit);
}

}  // namespace e2e
