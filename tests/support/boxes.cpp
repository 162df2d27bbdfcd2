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
  Pixels seen = ScreenPixels(control, width, height);
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
    long distance = ColourDistance(
        seen, IconPixels(LoadIconW(nullptr, candidate.id), width, height, seen.front()));
    if (distance < bestDistance) bestDistance = distance, best = candidate.icon;
  }
  // Near enough: on average less than 8 levels per channel off.
  return bestDistance < static_cast<long>(seen.size()) * 24 ? best : Icon::Unknown;
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
  return FindWindowOf(processId, L"#32770", [&](HWND window) {
    return window != exclude && IsWindowVisible(window) && GetDlgItem(window, kTextId);
  });
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

bool CloseAsUser(Program& program, HWND main) {
  for (int i = 0; i < 5; ++i) {
    Box left;
    if ((left.window = FindBox(program.Id())) == nullptr) break;
    if (!Answer(left, IDOK) && !Answer(left, IDCANCEL)) break;
  }
  if (IsWindow(main)) PostMessageW(main, WM_CLOSE, 0, 0);
  return program.WaitForExit().has_value();
}

}  // namespace e2e
