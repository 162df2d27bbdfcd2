// What a person sees of both windows at 96, 120 and 144 dots per inch, read from what the
// controls really draw (recorded in a metafile): every caption whole inside its control and on
// the lines its design gives it, every font at its designed size, folder rows no lower than their
// font, every letter in sight. The main window's change of DPI while it runs is in
// ui_window_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <sstream>

#include "info/about.h"
#include "seen_as_designed.h"
#include "win32/platform/strings.h"
#include "win32/ui/layout_view.h"

namespace kestrane::win32 {

namespace {

constexpr double kStandardPoints = 8;  // the platform's dialog font, which the design assumes

// One call that put text on the screen, and the box the text covers in the control's font.
struct Run {
  std::wstring text;
  RECT box{};
};

struct Recording {
  HFONT font = nullptr;
  std::vector<Run> runs;
};

HFONT FontOf(HWND control) {
  return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
}

TEXTMETRICW MetricsOf(HFONT font, const std::wstring& text = L"", SIZE* extent = nullptr) {
  const HDC dc = GetDC(nullptr);
  const HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  if (extent != nullptr) GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), extent);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return tm;
}

int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
  if (record->iType != EMR_EXTTEXTOUTW) return 1;
  auto& recording = *reinterpret_cast<Recording*>(data);
  const EMRTEXT& t = reinterpret_cast<const EMREXTTEXTOUTW*>(record)->emrtext;
  if (t.nChars == 0) return 1;  // a background fill
  Run run;
  const auto* chars = reinterpret_cast<const BYTE*>(record) + t.offString;
  run.text.assign(reinterpret_cast<const wchar_t*>(chars), t.nChars);
  SIZE extent{};
  const TEXTMETRICW tm = MetricsOf(recording.font, run.text, &extent);
  const POINTL at = t.ptlReference;
  run.box = RECT{at.x, at.y, at.x + extent.cx, at.y + tm.tmHeight};
  recording.runs.push_back(run);
  return 1;
}

// The control paints itself into a metafile as it paints on the screen; its text calls are kept,
// top to bottom.
std::vector<Run> DrawnText(HWND control) {
  const HDC screen = GetDC(nullptr);
  const HDC recorder = CreateEnhMetaFileW(screen, nullptr, nullptr, nullptr);
  ReleaseDC(nullptr, screen);
  SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(recorder),
               PRF_CLIENT | PRF_ERASEBKGND);
  const HENHMETAFILE file = CloseEnhMetaFile(recorder);
  Recording recording{FontOf(control), {}};
  EnumEnhMetaFile(nullptr, file, &CollectText, &recording, nullptr);
  DeleteEnhMetaFile(file);
  std::stable_sort(recording.runs.begin(), recording.runs.end(),
                   [](const Run& a, const Run& b) { return a.box.top < b.box.top; });
  return recording.runs;
}

bool Inside(const RECT& in, const RECT& out) {
  return in.left >= out.left && in.top >= out.top && in.right <= out.right &&
         in.bottom <= out.bottom;
}

std::string Where(const Run& run) {
  return "\"" + Narrow(run.text) + "\" ending at (" + std::to_string(run.box.right) + "," +
         std::to_string(run.box.bottom) + ")";
}

std::vector<std::wstring> Words(const std::wstring& text) {
  std::wistringstream in(text);
  return {std::istream_iterator<std::wstring, wchar_t>(in), {}};
}

// The lines the design gives a caption at every resolution: a 500-twip button holds two.
const std::map<std::string, std::vector<std::wstring>> kDesignedLines{
    {"cmdOk", {L"Add Virtual", L"Drive"}},
    {"cmdDefault", {L"Make", L"Permanent"}},
    {"cmdRemove", {L"Remove", L"Virtual Drive"}},
    {"lblDescription", {L"Another Quality Application", L"from Halvecki"}},
};

void ExpectCaptionFits(HWND control, const ControlSpec& c) {
  const std::vector<Run> runs = DrawnText(control);
  ASSERT_FALSE(runs.empty()) << "the caption was not drawn";
  RECT client{};
  GetClientRect(control, &client);
  std::wstring drawn;
  std::vector<std::wstring> lines;
  for (const Run& run : runs) {
    EXPECT_TRUE(Inside(run.box, client)) << Where(run) << " leaves the control";
    drawn += run.text + L" ";
    const auto words = Words(run.text);
    lines.push_back(words.empty() ? L"" : run.text.substr(run.text.find(words.front())));
    lines.back().erase(lines.back().find_last_not_of(L' ') + 1);
  }
  std::wstring caption = Widen(c.caption);
  const auto key = caption.find(L'&');  // the access key's mark, on buttons
  if (c.kind == ControlKind::Button && key != std::wstring::npos) caption.erase(key, 1);
  EXPECT_EQ(Words(drawn), Words(caption)) << "words of the caption went missing";
  if (const auto designed = kDesignedLines.find(c.name); designed != kDesignedLines.end()) {
    EXPECT_EQ(lines, designed->second) << "drawn as " << Narrow(drawn);
  }
}

// All 26 letters in sight, each clear of the list's right border by at least the room before it.
void ExpectLettersClearOfTheBorder(HWND list) {
  LetterColumn* column = LetterColumn::Of(list);
  ASSERT_NE(column, nullptr) << "a letter list without its column";
  std::vector<std::wstring> entries;
  for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) entries.push_back({letter, L':'});
  column->SetEntries(entries);
  RECT client{};
  GetClientRect(list, &client);
  const std::vector<Run> runs = DrawnText(list);
  EXPECT_EQ(runs.size(), 26u) << "rows of " << SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
  for (const Run& run : runs) {
    EXPECT_GE(client.right - run.box.right, run.box.left) << Where(run) << " in " << client.right;
  }
}

}  // namespace

void ExpectSeenAsDesigned(HWND window, const WindowSpec& design, int dpi) {
  for (const ControlSpec& c : design.controls) {
    SCOPED_TRACE(c.name + " at " + std::to_string(dpi) + " dpi");
    const HWND control = GetDlgItem(window, c.id);
    ASSERT_NE(control, nullptr);
    if (c.kind == ControlKind::Picture) continue;
    // The em (the height less the room for accents) is the design size, to the nearest pixel.
    const TEXTMETRICW tm = MetricsOf(FontOf(control));
    const double points = c.font.face.empty() ? kStandardPoints : c.font.points;
    EXPECT_NEAR(tm.tmHeight - tm.tmInternalLeading, std::lround(points * dpi / 72), 1);
    EXPECT_EQ(tm.tmWeight >= FW_BOLD, c.font.bold);
    if (!c.caption.empty()) ExpectCaptionFits(control, c);
    if (c.kind == ControlKind::ListBox) ExpectLettersClearOfTheBorder(control);
    if (c.kind == ControlKind::FolderList) {
      EXPECT_GE(SendMessageW(control, LB_GETITEMHEIGHT, 0, 0), tm.tmHeight);
    }
    if (c.kind == ControlKind::DriveList) {
      EXPECT_GE(SendMessageW(control, CB_GETITEMHEIGHT, 0, 0), tm.tmHeight);
    }
  }
}

namespace {

// A parent that answers its controls' drawing as the program's windows do.
LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* view = reinterpret_cast<LayoutView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  LRESULT result = 0;
  if (view != nullptr && view->AnswerDrawing(msg, wParam, lParam, result)) return result;
  if (view != nullptr && msg == WM_DRAWITEM &&
      view->DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
    return TRUE;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class SeenAt : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &HostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KestraneDpiTestHost";
    RegisterClassExW(&wc);
    host_ = CreateWindowExW(0, wc.lpszClassName, L"host", WS_OVERLAPPEDWINDOW, 0, 0, 1200, 900,
                            nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(host_, nullptr);
  }
  void TearDown() override { DestroyWindow(host_); }
  void ExpectSeen(const WindowSpec& design) {
    view_.Create(host_, GetModuleHandleW(nullptr), design, Dpi{GetParam(), GetParam()});
    SetWindowLongPtrW(host_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&view_));
    ExpectSeenAsDesigned(host_, design, GetParam());
    SetWindowLongPtrW(host_, GWLP_USERDATA, 0);
  }

  HWND host_ = nullptr;
  LayoutView view_;
};

TEST_P(SeenAt, MainWindowAtStart) { ExpectSeen(MainWindowSpec()); }

TEST_P(SeenAt, AboutBox) { ExpectSeen(BuildAboutBox().window); }

INSTANTIATE_TEST_SUITE_P(Dpi, SeenAt, ::testing::Values(96, 120, 144));

}  // namespace
}  // namespace kestrane::win32
