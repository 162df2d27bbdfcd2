#pragma once

// Drives the real kestrane.exe from a second process in the same Wine bed: starts it, finds its
// windows, reads and operates its controls, answers its message boxes, and looks at what it left on
// disk. Every wait polls with a time limit; nothing sleeps for a fixed time.

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;
using Duration = std::chrono::milliseconds;

inline constexpr Duration kStartLimit = 20s;  // a cold Wine start of a GUI program can take a while
inline constexpr Duration kStepLimit = 10s;

// Polls `ready` every few milliseconds until it answers true or `limit` passes.
template <typename Ready>
bool WaitFor(Ready ready, Duration limit = kStepLimit) {
  auto end = std::chrono::steady_clock::now() + limit;
  while (true) {
    if (ready()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    Sleep(20);
  }
}

// The installed program and its working folder; the folder of the running test driver.
std::wstring InstalledExe();
std::wstring DriverFolder();
std::wstring FolderOf(const std::wstring& path);

class Program {
 public:
  // Starts `exe` with `folder` as the working folder, its own folder when none is given.
  static Program Start(const std::wstring& exe = InstalledExe(), const std::wstring& arguments = {},
                       const std::wstring& folder = {});
  Program(Program&& other) noexcept;
  Program& operator=(Program&&) = delete;
  Program(const Program&) = delete;
  ~Program();  // ends a program that is still running, so a failed test leaves no window behind

  DWORD Id() const { return info_.dwProcessId; }
  bool Running() const;
  // Waits for the end of the process; its exit code, or nothing when it is still running.
  std::optional<DWORD> WaitForExit(Duration limit = kStepLimit);

  // A visible top-level window of this process with the class and title (title null: any).
  HWND WaitForWindow(const wchar_t* windowClass, const wchar_t* title,
                     Duration limit = kStartLimit) const;
  // Any visible top-level window of this process with the class, without waiting.
  HWND FindVisible(const wchar_t* windowClass) const;

 private:
  explicit Program(const PROCESS_INFORMATION& info) : info_(info) {}
  PROCESS_INFORMATION info_{};
};

// Runs a console command line to its end, with stdout and stderr caught together.
struct CommandResult {
  DWORD exitCode = 0;
  std::string output;
};
std::optional<CommandResult> RunCommand(const std::wstring& commandLine,
                                        const std::wstring& workingFolder,
                                        Duration limit = kStepLimit);

// Text in a narrow code page (UTF-8 unless told), for messages and the files cmd.exe reads.
std::string Narrow(const std::wstring& text, UINT codePage = CP_UTF8);

// Controls.
std::wstring TextOf(HWND window);
std::vector<std::wstring> ListItems(HWND list);
int ListSelection(HWND list);
void Click(HWND button);  // posted: the click may open a modal box
void SelectListItem(HWND list, int index);
void DoubleClickListItem(HWND list, int index);
int IndexOf(HWND list, const std::wstring& item);  // -1 when absent
HWND Control(HWND window, int id);                 // null when the window has no such control
HWND FocusOf(HWND window);                         // the focus on the window's thread

// Combo boxes and menus, with the notifications their parent gets from a user's pick.
std::vector<std::wstring> ComboItems(HWND combo);
void SelectComboItem(HWND combo, int index);
void ChooseMenu(HWND window, int command);  // posted: the command may open a modal box

// The main window's folder and letter choice, made through its lists the way a user makes it;
// each answers whether the window followed within the step limit.
bool ChooseDrive(HWND main, wchar_t letter);             // the drive list, then its root shown
bool OpenFolder(HWND main, const std::wstring& folder);  // from the root down, row by row
bool SelectLetter(HWND list, wchar_t letter);            // the "K:" row of a letter list

// Message boxes.
enum class Icon { None, Critical, Question, Exclamation, Information, Unknown };
const char* NameOf(Icon icon);
inline void PrintTo(Icon icon, std::ostream* out) { *out << NameOf(icon); }

struct Box {
  HWND window = nullptr;
  std::wstring title;
  std::wstring text;
  std::vector<int> buttons;  // IDOK, IDCANCEL, IDYES, IDNO present, in that order
  Icon icon = Icon::Unknown;
  bool Has(int button) const;
};

// The first top-level window of process `processId` that `wanted` takes, of class
// `windowClass`; null when there is none.
HWND FindWindowOf(DWORD processId, const std::wstring& windowClass,
                  const std::function<bool(HWND)>& wanted);
// A visible message box of process `processId` other than `exclude`; null when there is none.
HWND FindBox(DWORD processId, HWND exclude = nullptr);
// Waits for a box of the program other than `exclude` and reads it.
std::optional<Box> WaitForBox(const Program& program, Duration limit = kStepLimit,
                              HWND exclude = nullptr);
// Presses `button` and waits until the box is gone.
bool Answer(const Box& box, int button, Duration limit = kStepLimit);
// Closes the program as a user closes it: a box left open is answered first, then the main
// window is closed and the program waited for. False when it had to be ended.
bool CloseAsUser(Program& program, HWND main);

// Pixels of an area, row by row: of the screen under a window's client area, or of an icon drawn
// on a plain background; and how far two such areas are apart, summed over the colour channels.
using Pixels = std::vector<COLORREF>;
Pixels ScreenPixels(HWND window, int width, int height);
Pixels IconPixels(HICON icon, int width, int height, COLORREF background);
long ColourDistance(const Pixels& a, const Pixels& b);

// Files.
std::wstring KnownFolder(int csidl);  // SHGetFolderPath's answer; throws when it has none
std::wstring AppDataFolder();
std::wstring DataFolder();  // ends with a backslash
std::wstring DataFilePath();
std::wstring StartupFolder();
bool Exists(const std::wstring& path);
std::vector<std::uint8_t> ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes);
std::string ReadText(const std::wstring& path);
void WriteText(const std::wstring& path, const std::string& text);
// Every folder of an absolute path, also past the classic path limit; whether it exists then.
bool CreateFolders(const std::wstring& path);
void DeleteTree(const std::wstring& path);

// The data file as an installation leaves it: two 1,250-byte records of zeros, record 2's letter
// mask 134,217,728.
inline constexpr std::size_t kRecordLength = 1250;
inline constexpr std::size_t kLetterMaskOffset = 116;
inline constexpr std::int32_t kInitialMask = 134217728;
std::vector<std::uint8_t> InitialDataFile();
std::int32_t LetterMaskOf(const std::vector<std::uint8_t>& dataFile);
void SetLetterMask(std::vector<std::uint8_t>& dataFile, std::int32_t mask);
void WriteInitialDataFile();
// The installation's data file with record 2's letter mask set to `mask`.
void WriteDataFileWithMask(std::int32_t mask);
// Names in a folder (FindFirstFile on folder\*), without "." and "..", sorted.
std::vector<std::wstring> FolderEntries(const std::wstring& folder);

}  // namespace e2e
