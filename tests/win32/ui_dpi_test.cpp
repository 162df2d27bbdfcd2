// What a person sees of both windows at 96, 120 and 144 dots per inch, read from what the
// controls really draw (recorded in a metafile): every caption whole inside its control and on
// the lines its design gives it, every font at its designed size for the resolution, list rows
// no lower than their font; at start and after the window moves to a monitor of another DPI.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/frm_qor_pro.h"
#include "app/window_layout.h"
#include "info/about.h"
#include "win32/platform/strings.h"
#include "win32/platform/win32_clock.h"
#include "win32/platform/win32_drives.h"
#include "win32/platform/win32_files.h"
#include "win32/platform/win32_processes.h"
#include "win32/platform/win32_shell.h"
#include "win32/ui/layout_view.h"
#include "win32/ui/main_window.h"
#include "win32/ui/win32_controls.h"
#include "win32/ui/win32_dialogs.h"
#include "win32/ui/windows_api.h"

namespace {

using namespace kestrane;
using namespace kestrane::win32;

constexpr double kStandardPoints = 8;  // the platform's dialog font, which the design assumes

// One call that put text on the screen, with the box the text covers in the control's font.
struct Run {
  std::wstring text;
  RECT box{};
  bool clipped = false;
  RECT clip{};
};

struct Recording {
  HFONT font = nullptr;
  std::vector<Run> runs;
};

int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
  if (record->iType != EMR_EXTTEXTOUTW) return 1;
  auto& recording = *reinterpret_cast<Recording*>(data);
  const auto* out = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
  const EMRTEXT& t = out->emrtext;
  if (t.nChars == 0) return 1;  // a background fill
  Run run;
  run.text.assign(
      reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(record) + t.offString),
      t.nChars);
  const HDC dc = GetDC(nullptr);
  const HGDIOBJ old = SelectObject(dc, recording.font);
  SIZE extent{};
  GetTextExtentPoint32W(dc, run.text.c_str(), static_cast<int>(run.text.size()), &extent);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  run.box = RECT{t.ptlReference.x, t.ptlReference.y, t.ptlReference.x + extent.cx,
                 t.ptlReference.y + tm.tmHeight};
  run.clipped = (t.fOptions & ETO_CLIPPED) != 0;
  run.clip = RECT{t.rcl.left, t.rcl.top, t.rcl.right, t.rcl.bottom};
  recording.runs.push_back(run);
  return 1;
}

HFONT FontOf(HWND control) {
  return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
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

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

std::string Describe(const RECT& r) {
  std::ostringstream out;
  out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
  return out.str();
}

std::vector<std::wstring> Words(const std::wstring& text) {
  std::vector<std::wstring> words;
  std::wistringstream in(text);
  for (std::wstring word; in >> word;) words.push_back(word);
  return words;
}

std::wstring Trimmed(const std::wstring& text) {
  const auto first = text.find_first_not_of(L' ');
  if (first == std::wstring::npos) return {};
  return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

// A caption as it reads on the screen: an access-key ampersand is not shown.
std::wstring Shown(const ControlSpec& c) {
  const std::wstring caption = Widen(c.caption);
  if (c.kind == ControlKind::Label) return caption;
  std::wstring shown;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
    shown += caption[i];
  }
  return shown;
}

// The lines the design gives a caption at every resolution: a 500-twip button holds two.
const std::map<std::string, std::vector<std::wstring>>& DesignedLines() {
  static const std::map<std::string, std::vector<std::wstring>> lines{
      {"cmdOk", {L"Add Virtual", L"Drive"}},
      {"cmdDefault", {L"Make", L"Permanent"}},
      {"cmdRemove", {L"Remove", L"Virtual Drive"}},
      {"cmdCancel", {L"Exit"}},
      {"cmdOK", {L"OK"}},
      {"lblDescription", {L"Another Quality Application", L"from Halvecki"}},
  };
  return lines;
}

void ExpectCaptionFits(HWND control, const ControlSpec& c) {
  SCOPED_TRACE(c.name);
  const std::vector<Run> runs = DrawnText(control);
  ASSERT_FALSE(runs.empty()) << "the caption was not drawn";
  RECT client{};
  GetClientRect(control, &client);
  std::wstring drawn;
  std::vector<std::wstring> lines;
  for (const Run& run : runs) {
    EXPECT_TRUE(Inside(run.box, client))
        << "\"" << Narrow(run.text) << "\" covers " << Describe(run.box) << " of a control of "
        << Describe(client);
    if (run.clipped) {
      EXPECT_TRUE(Inside(run.box, run.clip))
          << "\"" << Narrow(run.text) << "\" is cut to " << Describe(run.clip);
    }
    drawn += run.text + L" ";
    lines.push_back(Trimmed(run.text));
  }
  EXPECT_EQ(Words(drawn), Words(Shown(c))) << "words of the caption went missing";
  const auto designed = DesignedLines().find(c.name);
  if (designed != DesignedLines().end()) {
    std::string got;
    for (const auto& line : lines) got += "[" + Narrow(line) + "]";
    EXPECT_EQ(lines, designed->second) << "drawn as " << got;
  }
}

TEXTMETRICW MetricsOf(HWND control) {
  const HDC dc = GetDC(control);
  const HGDIOBJ old = SelectObject(dc, FontOf(control));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return tm;
}

// The font's em, its height less the room kept for accents, against its design size scaled
// from 96 dots per inch to the nearest whole pixel, which is all a font can be.
void ExpectDesignedFont(HWND control, const ControlSpec& c, int dpi) {
  SCOPED_TRACE(c.name);
  ASSERT_NE(FontOf(control), nullptr);
  const TEXTMETRICW tm = MetricsOf(control);
  const double points = c.font.face.empty() ? kStandardPoints : c.font.points;
  const long want = std::lround(points * 96 / 72 * dpi / 96);
  EXPECT_NEAR(tm.tmHeight - tm.tmInternalLeading, want, 1)
      << "font of " << tm.tmHeight << " pixels at " << dpi << " dpi";
  EXPECT_EQ(tm.tmWeight >= FW_BOLD, c.font.bold);
}

void ExpectRowsFitTheFont(HWND control, const ControlSpec& c) {
  SCOPED_TRACE(c.name);
  const TEXTMETRICW tm = MetricsOf(control);
  const UINT message = c.kind == ControlKind::DriveList ? CB_GETITEMHEIGHT : LB_GETITEMHEIGHT;
  EXPECT_GE(SendMessageW(control, message, 0, 0), tm.tmHeight);
}

// Every letter stands clear of the list's right border by at least the room before it.
void ExpectLettersClearOfTheBorder(HWND list) {
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
    const std::wstring entry{letter, L':'};
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  }
  RECT client{};
  GetClientRect(list, &client);
  int seen = 0;
  for (const int top : {0, 13}) {
    SendMessageW(list, LB_SETTOPINDEX, top, 0);
    for (const Run& run : DrawnText(list)) {
      ++seen;
      EXPECT_GE(client.right - run.box.right, run.box.left - client.left)
          << "\"" << Narrow(run.text) << "\" ends at " << run.box.right << " in a list "
          << client.right << " wide";
    }
  }
  EXPECT_GE(seen, 26);
}

void ExpectSeenAsDesigned(HWND window, const WindowSpec& design, int dpi) {
  for (const ControlSpec& c : design.controls) {
    const HWND control = GetDlgItem(window, c.id);
    ASSERT_NE(control, nullptr) << c.name;
    if (c.kind == ControlKind::Picture) continue;
    ExpectDesignedFont(control, c, dpi);
    if (!c.caption.empty()) ExpectCaptionFits(control, c);
    switch (c.kind) {
      case ControlKind::ListBox:
        ExpectRowsFitTheFont(control, c);
        ExpectLettersClearOfTheBorder(control);
        break;
      case ControlKind::FolderList:
      case ControlKind::DriveList: ExpectRowsFitTheFont(control, c); break;
      default: break;
    }
  }
}

// A parent that answers its controls' drawing as the program's windows do.
constexpr wchar_t kHostClass[] = L"KestraneDpiTestHost";

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* view = reinterpret_cast<LayoutView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (view != nullptr) {
    LRESULT result = 0;
    if (view->AnswerDrawing(msg, wParam, lParam, result)) return result;
    if (msg == WM_DRAWITEM && view->DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
      return TRUE;
    }
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
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kHostClass;
    RegisterClassExW(&wc);
    host_ = CreateWindowExW(0, kHostClass, L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                            1200, 900, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(host_, nullptr);
  }
  void TearDown() override {
    SetWindowLongPtrW(host_, GWLP_USERDATA, 0);
    DestroyWindow(host_);
  }
  void Render(const WindowSpec& design) {
    view_.Create(host_, GetModuleHandleW(nullptr), design, Dpi{GetParam(), GetParam()});
    SetWindowLongPtrW(host_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&view_));
  }

  HWND host_ = nullptr;
  LayoutView view_;
};

TEST_P(SeenAt, MainWindowAtStart) {
  Render(MainWindowSpec());
  ExpectSeenAsDesigned(host_, MainWindowSpec(), GetParam());
}

TEST_P(SeenAt, AboutBox) {
  const AboutBox about = BuildAboutBox();
  Render(about.window);
  ExpectSeenAsDesigned(host_, about.window, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Dpi, SeenAt, ::testing::Values(96, 120, 144));

// The program's own window, moved while it runs to a monitor of another resolution.
class SeenAfterDpiChange : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    ASSERT_TRUE(window_.Create(GetModuleHandleW(nullptr)));
  }
  void TearDown() override {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  Win32Controls controls_;
  Win32Dialogs dialogs_{GetModuleHandleW(nullptr)};
  Win32Drives drives_;
  Win32Files files_;
  Win32Processes processes_;
  Win32Shell shell_;
  Win32Clock clock_;
  Module1 module_;
  frmQOR_Pro form_{Ports{controls_, dialogs_, drives_, files_, processes_, shell_, clock_},
                   module_};
  MainWindow window_{form_};
};

TEST_F(SeenAfterDpiChange, From96To144) {
  const int from = window_.DpiUsed().y;
  ExpectSeenAsDesigned(window_.Hwnd(), MainWindowSpec(), from);
  const int to = from == 144 ? 96 : 144;
  RECT frame{};
  GetWindowRect(window_.Hwnd(), &frame);
  RECT suggested{frame.left, frame.top, frame.left + MulDiv(frame.right - frame.left, to, from),
                 frame.top + MulDiv(frame.bottom - frame.top, to, from)};
  SendMessageW(window_.Hwnd(), WM_DPICHANGED, MAKEWPARAM(to, to),
               reinterpret_cast<LPARAM>(&suggested));
  ExpectSeenAsDesigned(window_.Hwnd(), MainWindowSpec(), to);
  RECT client{};
  GetClientRect(window_.Hwnd(), &client);
  EXPECT_EQ(client.right, TwipsToPixels(MainWindowSpec().clientWidth, to));
  EXPECT_EQ(client.bottom, TwipsToPixels(MainWindowSpec().clientHeight, to));
}

}  // namespace
