// The soak: Add and Remove, round after round, in one running program, driven through its window
// as a user drives it, while another program maps and removes drives on letters of its own and a
// window of this driver is slow to answer the drive announcements, now and then for longer than
// the program once waited for subst. It reports every box that is not "Done!" and the program's
// working set; it measures, it does not pass or fail.

#include <windows.h>
// After windows.h, which they build on.
#include <dbt.h>
#include <psapi.h>

#include <atomic>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <thread>

#include "app/control_ids.h"
#include "e2e_support.h"
#include "product.h"

namespace bench {

namespace {

namespace ids = kestrane::ids;
using namespace std::chrono_literals;

constexpr wchar_t kFolder[] = L"C:\\Soak";
// The soak's rounds take these letters in turn; the other program never touches them.
constexpr wchar_t kRoundLetters[] = L"KLMN";
constexpr wchar_t kOtherLetters[] = L"RSTU";
constexpr e2e::Duration kBoxLimit = 90s;
// One round in this many has its announcement held for longer than the program's old limit.
constexpr int kLongHoldEvery = 50;
constexpr DWORD kLongHoldMs = 12000;
constexpr DWORD kShortHoldMaxMs = 300;
constexpr int kProgressEvery = 50;

// A box's text on one line, its line breaks shown as " / ".
std::string OneLine(const std::wstring& text) {
  std::string line;
  for (const char c : e2e::Narrow(text)) {
    if (c == '\n') line += " / ";
    if (c != '\r' && c != '\n') line += c;
  }
  return line;
}

double MiB(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

std::string WorkingSet(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return "unknown";
  char text[64];
  std::snprintf(text, sizeof text, "%.1f MiB (peak %.1f MiB)", MiB(counters.WorkingSetSize),
                MiB(counters.PeakWorkingSetSize));
  return text;
}

// Pumps this thread's messages for `ms`: a window busy this way still answers Windows' questions,
// so it counts as slow, not hung, and whoever sent it a message waits for it.
void PumpFor(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (ULONGLONG now; (now = GetTickCount64()) < end;) {
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      DispatchMessageW(&msg);
    }
  }
}

// A hidden top-level window on a thread of its own that holds every drive announcement a little
// while, and the one for an armed letter for long.
class SlowListener {
 public:
  SlowListener() {
    thread_ = std::thread([this] { Run(); });
    if (!e2e::WaitFor([this] { return window_.load() != nullptr; }, 10s)) {
      throw std::runtime_error("the slow window did not come up");
    }
  }
  SlowListener(const SlowListener&) = delete;
  SlowListener& operator=(const SlowListener&) = delete;
  ~SlowListener() {
    PostMessageW(window_.load(), WM_CLOSE, 0, 0);
    thread_.join();
  }

  // The next announcement for `letter` is held for `ms`.
  void HoldNext(wchar_t letter, DWORD ms) {
    armedMs_ = ms;
    armed_ = 1u << (letter - L'A');
  }
  int LongHolds() const { return longHolds_; }
  int Announcements() const { return announcements_; }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<SlowListener*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_DEVICECHANGE && self) return self->Answer(wParam, lParam);
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
  }

  LRESULT Answer(WPARAM event, LPARAM lParam) {
    ++announcements_;
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) return TRUE;
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
    DWORD units = 0;
    if (header && header->dbch_devicetype == DBT_DEVTYP_VOLUME) {
      units = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(header)->dbcv_unitmask;
    }
    // The armed letter's announcement is held for long even when it comes while another one is
    // held; other announcements that come meanwhile are answered at once.
    DWORD expected = units;
    if (units != 0 && armed_.compare_exchange_strong(expected, 0)) {
      ++longHolds_;
      PumpFor(armedMs_);
      return TRUE;
    }
    if (holding_) return TRUE;
    holding_ = true;
    PumpFor(static_cast<DWORD>(Random() % (kShortHoldMaxMs + 1)));
    holding_ = false;
    return TRUE;
  }

  void Run() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"KestraneSoakSlowListener";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Slow listener", WS_OVERLAPPED, 0,
                                  0, 100, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    window_ = window;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  }

  std::thread thread_;
  std::atomic<HWND> window_{nullptr};
  std::atomic<DWORD> armed_{0};
  std::atomic<DWORD> armedMs_{0};
  std::atomic<int> longHolds_{0};
  std::atomic<int> announcements_{0};
  // The listener's thread alone.
  bool holding_ = false;
  unsigned randomState_ = 12345;
  unsigned Random() {
    randomState_ = randomState_ * 1103515245u + 12345u;
    return randomState_ >> 16;
  }
};

// Another program at work on drives of its own: our subst.exe, run from a thread of the driver,
// maps a letter and removes it again, one of its letters after the other, until the soak ends.
class OtherMapper {
 public:
  OtherMapper() : stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    e2e::CreateFolders(std::wstring(kFolder) + L"\\Other");
    thread_ = std::thread([this] { Run(); });
  }
  OtherMapper(const OtherMapper&) = delete;
  OtherMapper& operator=(const OtherMapper&) = delete;
  ~OtherMapper() {
    SetEvent(stop_);
    thread_.join();
    CloseHandle(stop_);
  }
  int Cycles() const { return cycles_; }
  int Failures() const { return failures_; }

 private:
  void Run() {
    for (int i = 0; WaitForSingleObject(stop_, 200) == WAIT_TIMEOUT; ++i) {
      const std::wstring letter{kOtherLetters[i % 4], L':'};
      const bool made = Subst(letter + L" \"" + kFolder + L"\\Other\"");
      const bool removed = Subst(letter + L" /D");
      if (made && removed) ++cycles_;
    }
  }
  bool Subst(const std::wstring& arguments) {
    const auto run = e2e::RunCommand(L"subst.exe " + arguments, kFolder, 120s);
    if (run && run->exitCode == 0) return true;
    ++failures_;
    return false;
  }

  HANDLE stop_;
  std::thread thread_;
  std::atomic<int> cycles_{0};
  std::atomic<int> failures_{0};
};

class Soak {
 public:
  Soak() : program_(e2e::Program::Start()) {
    main_ = program_.WaitForWindow(ids::kMainWindowClass, L"Kestrane - Pro");
    if (main_ == nullptr) throw std::runtime_error("no main window");
    process_ = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program_.Id());
    if (!e2e::OpenFolder(main_, kFolder)) throw std::runtime_error("cannot open C:\\Soak");
  }
  Soak(const Soak&) = delete;
  Soak& operator=(const Soak&) = delete;
  ~Soak() {
    if (process_) CloseHandle(process_);
    if (IsWindow(main_)) PostMessageW(main_, WM_CLOSE, 0, 0);
    program_.WaitForExit();
  }

  std::string WorkingSetNow() const { return WorkingSet(process_); }
  bool WindowThere() const { return program_.Running() && IsWindow(main_); }

  // One command: the letter picked in its list, the button clicked, and every box it brings
  // answered; each box other than "Done!" is printed and counted.
  void Command(int round, const char* name, int list, int button, wchar_t letter) {
    const std::wstring entry{letter, L':'};
    if (!e2e::WaitFor([&] { return e2e::SelectLetter(e2e::Control(main_, list), letter); })) {
      Note(round, name, letter, "its letter is not in the list; the command was not given");
      return;
    }
    e2e::Click(e2e::Control(main_, button));
    for (e2e::Duration limit = kBoxLimit;; limit = e2e::kStepLimit) {
      const auto box = e2e::WaitForBox(program_, limit);
      if (!box) {
        if (limit == kBoxLimit) {
          ++noBox_;
          Note(round, name, letter, "no box within 90 s");
        }
        return;
      }
      const bool done = box->title == L"Done!" && box->text == L"Operation Completed!";
      if (!done) {
        ++notDone_;
        const std::string shown = "\"" + e2e::Narrow(box->title) + "\": " + OneLine(box->text);
        ++kinds_[shown];
        Note(round, name, letter, "box " + shown);
      }
      const int answer = box->Has(IDOK) ? IDOK : box->Has(IDCANCEL) ? IDCANCEL : IDNO;
      if (!e2e::Answer(*box, answer)) Note(round, name, letter, "its box did not close");
      if (done) return;
    }
  }

  int NotDone() const { return notDone_; }
  int NoBox() const { return noBox_; }
  const std::map<std::string, int>& Kinds() const { return kinds_; }

 private:
  static void Note(int round, const char* name, wchar_t letter, const std::string& what) {
    std::printf("round %d, %s %c: %s\n", round, name, static_cast<char>(letter), what.c_str());
    std::fflush(stdout);
  }

  e2e::Program program_;
  HWND main_ = nullptr;
  HANDLE process_ = nullptr;
  int notDone_ = 0;
  int noBox_ = 0;
  std::map<std::string, int> kinds_;
};

}  // namespace

int RunSoak(int rounds) {
  e2e::WriteInitialDataFile();
  e2e::CreateFolders(kFolder);
  SlowListener listener;
  Soak soak;
  std::printf("soak: %d rounds of Add and Remove; working set at the start: %s\n", rounds,
              soak.WorkingSetNow().c_str());
  std::fflush(stdout);
  int round = 0;
  {
    OtherMapper other;
    while (round < rounds && soak.WindowThere()) {
      ++round;
      const wchar_t letter = kRoundLetters[(round - 1) % 4];
      // Half way through each fifty rounds; Add's announcement in one fifty, Remove's in the next.
      const bool hold = round % kLongHoldEvery == kLongHoldEvery / 2;
      const bool holdAdd = (round / kLongHoldEvery) % 2 == 0;
      if (hold && holdAdd) listener.HoldNext(letter, kLongHoldMs);
      soak.Command(round, "Add", ids::lstAvail, ids::cmdOk, letter);
      if (hold && !holdAdd) listener.HoldNext(letter, kLongHoldMs);
      soak.Command(round, "Remove", ids::lstUsedLtrs, ids::cmdRemove, letter);
      if (round % kProgressEvery == 0) {
        std::fprintf(stderr,
                     "  round %d: %d boxes not Done!, working set %s, other program %d "
                     "cycles\n",
                     round, soak.NotDone(), soak.WorkingSetNow().c_str(), other.Cycles());
      }
    }
    std::printf("other program: %d map-and-remove cycles, %d subst runs failed\n", other.Cycles(),
                other.Failures());
  }
  if (!soak.WindowThere()) std::printf("the program's window is gone after round %d\n", round);
  std::printf("slow window: %d announcements, %d held %lu s\n", listener.Announcements(),
              listener.LongHolds(), kLongHoldMs / 1000);
  std::printf("working set at the end: %s\n", soak.WorkingSetNow().c_str());
  for (const auto& [kind, count] : soak.Kinds()) std::printf("  %dx %s\n", count, kind.c_str());
  std::printf("soak: %d rounds, %d boxes not Done!, %d commands without a box\n", round,
              soak.NotDone(), soak.NoBox());
  return soak.WindowThere() ? 0 : 1;
}

}  // namespace bench
