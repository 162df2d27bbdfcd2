// Help, About and Check for Upgrade, used from the running program's menus and keys.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "info/version.h"
#include "installer_steps.h"
#include "program_test.h"

#ifndef KESTRANE_WEB_HOST
#error "the build names the product page's host in KESTRANE_WEB_HOST"
#endif

namespace {

using namespace e2e;

// The Wine processes' own diagnostics, which the bed's runner copies into this file: the help
// viewer names the page it opens there, and nowhere a second process could read it.
constexpr wchar_t kWineLog[] = L"C:\\e2e-wine-debug.log";

std::string ReadAll(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The installed program started and showing its main window. The installer puts the help file
// beside it, as on a user's machine.
class RunningProgram : public ProgramTest {
 protected:
  static void SetUpTestSuite() { installed_ = RunSilentSetup() == 0; }

  void SetUp() override {
    ProgramTest::SetUp();
    ASSERT_TRUE(installed_) << "the installer failed";
  }

  static void PressKey(HWND target, WPARAM key) {
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
  }

  // The main window still answers, and nothing of the program's own came up.
  void ExpectStillRunningWithoutABox() {
    ASSERT_TRUE(program_->Running());
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer), 0)
        << "the main window does not answer";
    EXPECT_EQ(program_->FindVisible(L"#32770"), nullptr) << "a message box came up";
  }

  static bool installed_;
};

bool RunningProgram::installed_ = false;

// ---- help topics

struct Topic {
  const char* name;
  int command;  // 0: the F1 key
  const char* page;
};

class HelpViewer : public RunningProgram, public ::testing::WithParamInterface<Topic> {
 protected:
  void SetUp() override {
    RunningProgram::SetUp();
    // Only the program started here reports the viewer's navigation.
    wchar_t previous[256] = {};
    hadDebug_ = GetEnvironmentVariableW(L"WINEDEBUG", previous, 256) > 0;
    previousDebug_ = previous;
    SetEnvironmentVariableW(L"WINEDEBUG", L"+htmlhelp");
  }
  void TearDown() override {
    SetEnvironmentVariableW(L"WINEDEBUG", hadDebug_ ? previousDebug_.c_str() : nullptr);
    RunningProgram::TearDown();
  }
  bool hadDebug_ = false;
  std::wstring previousDebug_;
};

TEST_P(HelpViewer, OpensTheViewerOwnedByTheMainWindowOnItsTopic) {
  ASSERT_TRUE(Exists(kWineLog)) << "the bed does not keep Wine's diagnostics";
  ASSERT_NE(Start(), nullptr);
  const std::size_t logStart = ReadAll(kWineLog).size();

  if (GetParam().command == 0) {
    PressKey(FocusOf(main_), VK_F1);
  } else {
    Choose(GetParam().command);
  }

  HWND viewer = program_->WaitForWindow(L"HH Parent", L"Kestrane - Pro Help", kStepLimit);
  ASSERT_NE(viewer, nullptr) << "the help viewer did not open";
  EXPECT_EQ(GetWindow(viewer, GW_OWNER), main_);
  const std::string page = std::string("qor.chm::/") + GetParam().page;
  EXPECT_TRUE(WaitFor([&] { return ReadAll(kWineLog).find(page, logStart) != std::string::npos; }))
      << "the viewer did not open " << page;
  const std::string opened = ReadAll(kWineLog).substr(logStart);
  EXPECT_EQ(opened.find("qor.chm::/", opened.find(page) + page.size()), std::string::npos)
      << "the viewer went on to another page";
  ExpectStillRunningWithoutABox();
}

// Menu order; the numbers behind them (100, 110, 120, 140, 130, ...) are the help file's.
INSTANTIATE_TEST_SUITE_P(
    HelpTopics, HelpViewer,
    ::testing::Values(Topic{"F1", 0, "intro.htm"},
                      Topic{"Introduction", ids::MnuHelpIntro, "intro.htm"},
                      Topic{"CreateVirtualDrive", ids::mnuHelpCreate, "create.htm"},
                      Topic{"CreateAVirtualCD", ids::mnuHelpCD, "virtual_cd.htm"},
                      Topic{"UsingTheKeyboard", ids::mnuHelpKB, "keyboard.htm"},
                      Topic{"MakePermanent", ids::mnuHelpPerm, "permanent.htm"},
                      Topic{"RemoveVirtualDrive", ids::mnuHelpRemove, "remove.htm"},
                      Topic{"MiscFunctions", ids::mnuHelpMisc, "misc.htm"},
                      Topic{"Support", ids::mnuHelpSupport, "support.htm"},
                      Topic{"OrderingInformation", ids::mnuHelpOrder, "ordering.htm"},
                      Topic{"License", ids::mnuHelpLicense, "license.htm"}),
    [](const auto& info) { return std::string(info.param.name); });

class MissingHelpFile : public RunningProgram {};

TEST_F(MissingHelpFile, F1ShowsNothingOfTheProgramsOwnAndTheProgramRunsOn) {
  const std::wstring chm = InstallFolder() + L"\\qor.chm";
  const std::wstring aside = InstallFolder() + L"\\qor.chm.aside";
  ASSERT_TRUE(MoveFileW(chm.c_str(), aside.c_str()));
  ASSERT_NE(Start(), nullptr);

  PressKey(FocusOf(main_), VK_F1);
  Choose(ids::mnuHelpLicense);
  // The About box comes up after both, so both have been handled by the time it shows.
  Choose(ids::mnuAbout);
  HWND about = program_->WaitForWindow(ids::kAboutWindowClass, L"About Kestrane - Pro", kStepLimit);
  EXPECT_NE(about, nullptr);
  EXPECT_EQ(program_->FindVisible(L"HH Parent"), nullptr);
  EXPECT_EQ(program_->FindVisible(L"#32770"), nullptr) << "a message box came up";
  if (about) Click(Control(about, IDOK));
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(about); }));
  ExpectStillRunningWithoutABox();
  MoveFileW(aside.c_str(), chm.c_str());
}

// ---- About box

class AboutBox : public RunningProgram {
 protected:
  HWND Open() {
    Choose(ids::mnuAbout);
    HWND about =
        program_->WaitForWindow(ids::kAboutWindowClass, L"About Kestrane - Pro", kStepLimit);
    EXPECT_NE(about, nullptr) << "no About box titled \"About Kestrane - Pro\"";
    return about;
  }

  static std::vector<HWND> Buttons(HWND window) {
    std::vector<HWND> found;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM param) -> BOOL {
          wchar_t cls[64] = {};
          GetClassNameW(child, cls, 64);
          if (_wcsicmp(cls, L"Button") == 0 && IsWindowVisible(child)) {
            reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
  }

  // The closing key goes where the user's keystroke would: to the control with the focus.
  void ExpectKeyCloses(WPARAM key) {
    ASSERT_NE(Start(), nullptr);
    HWND about = Open();
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(WaitFor([&] { return FocusOf(about) != nullptr; }));
    PressKey(FocusOf(about), key);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(about) || !IsWindowVisible(about); }))
        << "the About box is still open";
    ExpectStillRunningWithoutABox();
  }
};

int ToPixels(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

// Mean difference per colour channel between `icon` drawn at `size` and the best-matching place of
// the same size in `seen` (width x height).
double Mismatch(const Pixels& seen, int width, int height, HICON icon, int size) {
  const Pixels drawn = IconPixels(icon, size, size, seen.front());
  double best = 1e9;
  for (int dy = 0; dy + size <= height; ++dy) {
    for (int dx = 0; dx + size <= width; ++dx) {
      Pixels place;
      for (int y = 0; y < size; ++y) {
        const auto row = seen.begin() + (dy + y) * width + dx;
        place.insert(place.end(), row, row + size);
      }
      best = std::min(best, ColourDistance(place, drawn) / (3.0 * size * size));
    }
  }
  return best;
}

TEST_F(AboutBox, ShowsNameVersionAndOneOkButtonAtItsPlace) {
  ASSERT_NE(Start(), nullptr);
  HWND about = Open();
  ASSERT_NE(about, nullptr);

  EXPECT_EQ(TextOf(Control(about, ids::lblTitle)), L"Kestrane - Pro\u2122");
  EXPECT_EQ(TextOf(Control(about, ids::lblVersion)), L"Version " KESTRANE_PRODUCT_VERSION_TEXT);
  EXPECT_EQ(TextOf(Control(about, ids::lblDescription)),
            L"Another Quality Application         from Halvecki");
  EXPECT_FALSE(TextOf(Control(about, ids::lblDisclaimer)).empty());

  const std::vector<HWND> buttons = Buttons(about);
  ASSERT_EQ(buttons.size(), 1u);
  HWND ok = buttons[0];
  EXPECT_EQ(GetDlgCtrlID(ok), IDOK);
  EXPECT_EQ(TextOf(ok), L"&OK");
  EXPECT_EQ(GetWindowLongW(ok, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);

  const HDC screen = GetDC(nullptr);
  const int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  RECT place{};
  GetWindowRect(ok, &place);
  MapWindowPoints(nullptr, about, reinterpret_cast<POINT*>(&place), 2);
  EXPECT_EQ(place.left, ToPixels(4320, dpiX));
  EXPECT_EQ(place.top, ToPixels(1880, dpiY));
  EXPECT_EQ(place.right - place.left, ToPixels(1260, dpiX));
  EXPECT_EQ(place.bottom - place.top, ToPixels(345, dpiY));

  RECT client{};
  GetClientRect(about, &client);
  EXPECT_EQ(client.right, ToPixels(5730, dpiX));
  EXPECT_EQ(client.bottom, ToPixels(3585, dpiY));
  // A fixed dialog frame: neither minimise nor maximise.
  const LONG style = GetWindowLongW(about, GWL_STYLE);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  // Modal: the main window takes no input while the box is open.
  EXPECT_FALSE(IsWindowEnabled(main_));

  Click(ok);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(about); }));
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(main_) != FALSE; }));
}

TEST_F(AboutBox, ShowsTheProgramsOwnIconAt48Pixels) {
  ASSERT_NE(Start(), nullptr);
  HWND about = Open();
  ASSERT_NE(about, nullptr);
  HWND picture = Control(about, ids::picIcon);
  ASSERT_NE(picture, nullptr);
  RECT client{};
  GetClientRect(picture, &client);
  ASSERT_GE(client.right, 48);
  ASSERT_GE(client.bottom, 48);

  const HMODULE exe = LoadLibraryExW(InstalledExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(exe, nullptr);
  const auto own = static_cast<HICON>(LoadImageW(exe, MAKEINTRESOURCEW(1), IMAGE_ICON, 48, 48, 0));
  ASSERT_NE(own, nullptr) << "the program has no icon 1";
  const auto stock =
      static_cast<HICON>(LoadImageW(nullptr, IDI_APPLICATION, IMAGE_ICON, 48, 48, LR_SHARED));
  // Painted by the time the box shows its texts; poll all the same.
  Pixels seen;
  double mine = 1e9;
  WaitFor([&] {
    seen = ScreenPixels(picture, client.right, client.bottom);
    mine = Mismatch(seen, client.right, client.bottom, own, 48);
    return mine < 8;
  });
  EXPECT_LT(mine, 8) << "the picture is not the program's icon at 48 x 48";
  EXPECT_GT(Mismatch(seen, client.right, client.bottom, stock, 48), 3 * mine + 8)
      << "the comparison cannot tell icons apart";
  DestroyIcon(own);
  FreeLibrary(exe);
}

TEST_F(AboutBox, EnterClosesIt) { ExpectKeyCloses(VK_RETURN); }

TEST_F(AboutBox, EscClosesIt) { ExpectKeyCloses(VK_ESCAPE); }

TEST_F(AboutBox, OpeningItAgainShowsTheSameBox) {
  ASSERT_NE(Start(), nullptr);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    HWND about = Open();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(TextOf(Control(about, ids::lblVersion)), L"Version " KESTRANE_PRODUCT_VERSION_TEXT);
    EXPECT_EQ(Buttons(about).size(), 1u);
    Click(Control(about, IDOK));
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(about); }));
  }
  ExpectStillRunningWithoutABox();
}

// ---- version check

constexpr wchar_t kVersionMessage[] =
    L"Your current version is " KESTRANE_PRODUCT_VERSION_TEXT
    ". Connect to the internet \r"
    L"then click 'OK' and your browser will link directly to the \r"
    L"What's New section of the QOR page on our Web Site!";

// A stand-in browser: the bed's handler of http addresses writes each address it is given to a
// file, one line per opening.
class VersionCheck : public RunningProgram {
 protected:
  void SetUp() override {
    RunningProgram::SetUp();
    record_ = AppDataFolder() + L"\\opened-addresses.txt";
    DeleteFileW(record_.c_str());
    const std::wstring command = L"C:\\windows\\system32\\cmd.exe /c echo %1>>\"" + record_ + L"\"";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", nullptr, REG_SZ,
                              command.c_str(),
                              static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }

  std::vector<std::string> Opened() const {
    std::vector<std::string> lines;
    std::istringstream in(ReadAll(record_));
    for (std::string line; std::getline(in, line);) {
      while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
      if (!line.empty()) lines.push_back(line);
    }
    return lines;
  }

  std::optional<Box> Ask() {
    Choose(ids::mnuChk4Upgrade);
    auto box = NextBox();
    EXPECT_TRUE(box.has_value()) << "no version message";
    return box;
  }

  std::wstring record_;
};

TEST_F(VersionCheck, ShowsTheVersionInThreeLinesWithOkAndCancel) {
  ASSERT_NE(Start(), nullptr);
  auto box = Ask();
  ASSERT_TRUE(box.has_value());
  EXPECT_TRUE(Looks(*box, {kVersionMessage, L"Version Check", Icon::None, kOkCancel}));
  ASSERT_TRUE(Answer(*box, IDCANCEL));
  ExpectStillRunningWithoutABox();
}

TEST_F(VersionCheck, CancelOpensNothingAndOkOpensTheWhatsNewSection) {
  ASSERT_NE(Start(), nullptr);
  auto first = Ask();
  ASSERT_TRUE(first.has_value());
  ASSERT_TRUE(Answer(*first, IDCANCEL));
  auto second = Ask();
  ASSERT_TRUE(second.has_value());
  ASSERT_TRUE(Answer(*second, IDOK));

  // Had Cancel opened the page, its line would have come first.
  ASSERT_TRUE(WaitFor([&] { return !Opened().empty(); })) << "the browser was not started";
  EXPECT_EQ(Opened(), (std::vector<std::string>{"http://" KESTRANE_WEB_HOST "/qor.htm#Whats_New"}));
  ExpectStillRunningWithoutABox();
}

}  // namespace
