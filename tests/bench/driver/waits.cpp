// How long the window leaves a posted message untaken while it waits: at the start, during each
// command whose subst is held for eight seconds, and with a network drive whose server does not
// answer. From this process a marker is posted to the path box every 50 ms and timed until the
// box shows it taken. The floor is the program's window made with plain calls, idle in its
// message loop and probed the same way, for as many markers as the measure had: the longest of
// more markers is longer by chance alone.

#include <windows.h>
// After windows.h, which it builds on.
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cwctype>
#include <filesystem>
#include <stdexcept>
#include <thread>
#include <utility>

#include "app/control_ids.h"
#include "e2e_support.h"
#include "product.h"
#include "slow_window.h"
#include "wine_mount.h"

namespace bench {

namespace {

namespace ids = kestrane::ids;

constexpr double kMarkerEveryMs = 50;
constexpr DWORD kHoldMs = 8000;
constexpr double kGoalMs = 100;
// Markers the idle window gets in a run: more than an eight-second wait brings.
constexpr int kIdleMarkers = 180;
constexpr double kLimitMs = 30000;
constexpr wchar_t kWork[] = L"C:\\Work";
constexpr wchar_t kTitle[] = L"Kestrane - Pro";
// The bed's share that stalls (tests/wine/stall_fs.py): C:\Remote passes through to C:\Served,
// and what lies below C:\Remote\Share is held while C:\server-stalled exists.
constexpr wchar_t kShare[] = L"C:\\Remote\\Share";
constexpr wchar_t kServed[] = L"C:\\Served\\Share\\Projects";
constexpr wchar_t kStallFlag[] = L"C:\\server-stalled";
constexpr wchar_t kStalledLetter = L'N';

// A single-line edit's text limit is the marker: nothing of the program sets it, and the text
// the program writes into the box, which resets its selection, leaves it alone.
class Markers {
 public:
  // A null box would post to this thread's own queue instead.
  explicit Markers(HWND box) : box_(box) {
    if (box == nullptr) throw std::runtime_error("no path box to post to");
  }

  // One marker posted and waited for; its delay.
  double One() {
    limit_ = limit_ == kLimitA ? kLimitB : kLimitA;
    const double posted = NowMs();
    if (!PostMessageW(box_, EM_SETLIMITTEXT, limit_, 0)) {
      throw std::runtime_error("a marker could not be posted");
    }
    const bool taken = Poll(
        [&] {
          DWORD_PTR limit = 0;
          return SendMessageTimeoutW(box_, EM_GETLIMITTEXT, 0, 0, SMTO_NORMAL, 50, &limit) &&
                 limit == limit_;
        },
        kLimitMs);
    if (!taken) throw std::runtime_error("a marker was never taken");
    return NowMs() - posted;
  }

  // Markers every 50 ms until `done`, each delay kept.
  template <typename Done>
  std::vector<double> Until(Done done) {
    std::vector<double> delays;
    const double end = NowMs() + kLimitMs;
    while (!done()) {
      if (NowMs() > end) throw std::runtime_error("the wait did not end");
      const double sent = NowMs();
      delays.push_back(One());
      const double next = sent + kMarkerEveryMs;
      if (const double now = NowMs(); now < next) Sleep(static_cast<DWORD>(next - now));
    }
    return delays;
  }

 private:
  static constexpr WPARAM kLimitA = 0x7ffd, kLimitB = 0x7ffe;
  HWND box_;
  WPARAM limit_ = kLimitA;
};

double Longest(const std::vector<double>& delays, std::size_t first = SIZE_MAX) {
  double longest = 0;
  for (std::size_t i = 0; i < delays.size() && i < first; ++i)
    longest = std::max(longest, delays[i]);
  return longest;
}

// The main window of the process as soon as it has its path box, shown or not.
HWND MainWindowOf(const e2e::Program& program) {
  const auto withPathBox = [](HWND window) {
    return e2e::Control(window, ids::txtPath) != nullptr;
  };
  HWND found = nullptr;
  Poll(
      [&] {
        found = e2e::FindWindowOf(program.Id(), ids::kMainWindowClass, withPathBox);
        return found != nullptr || !program.Running();
      },
      kLimitMs);
  if (found == nullptr) throw std::runtime_error("no window");
  return found;
}

bool Ready(HWND main) {
  return IsWindowVisible(main) && e2e::TextOf(main) == kTitle &&
         SendMessageW(e2e::Control(main, ids::lstAvail), LB_GETCOUNT, 0, 0) > 0 &&
         SendMessageW(e2e::Control(main, ids::lstUsedLtrs), LB_GETCOUNT, 0, 0) > 0;
}

// Closed as a user closes it; a box left open is answered first.
void Close(e2e::Program& program, HWND main) {
  if (!e2e::CloseAsUser(program, main))
    std::fprintf(stderr, "  (the program did not close; ended)\n");
}

// The program started, probed from its window's making to the ready window.
std::vector<double> StartDelays(e2e::Program& program, HWND& main) {
  main = MainWindowOf(program);
  Markers markers(e2e::Control(main, ids::txtPath));
  return markers.Until([&] { return Ready(main); });
}

// The start's floor window, shown and idle, probed for `count` markers.
std::vector<double> IdleDelays(const std::wstring& plainWindow) {
  e2e::Program program = e2e::Program::Start(plainWindow);
  const HWND main = program.WaitForWindow(ids::kMainWindowClass, kTitle);
  if (main == nullptr) throw std::runtime_error("no floor window");
  Markers markers(e2e::Control(main, ids::txtPath));
  // Its first paint and first idle moment are part of its start, not of its idling.
  for (int i = 0; i < 3; ++i) markers.One();
  int left = kIdleMarkers;
  std::vector<double> delays = markers.Until([&] { return left-- == 0; });
  PostMessageW(main, WM_CLOSE, 0, 0);
  program.WaitForExit();
  return delays;
}

e2e::Box BoxOf(const e2e::Program& program, HWND exclude = nullptr) {
  auto box = e2e::WaitForBox(program, e2e::kStepLimit, exclude);
  if (!box) throw std::runtime_error("no box from the program");
  return *box;
}

[[noreturn]] void Unexpected(const e2e::Box& box, const char* step) {
  e2e::Answer(box, box.Has(IDOK) ? IDOK : IDCANCEL);
  throw std::runtime_error(std::string(step) + ": box \"" + e2e::Narrow(box.title) + "\" " +
                           e2e::Narrow(box.text));
}

void Expect(const e2e::Box& box, const wchar_t* title, const char* step) {
  if (box.title != title) Unexpected(box, step);
}

bool Defined(wchar_t letter) {
  const wchar_t root[] = {letter, L':', L'\\', 0};
  return GetDriveTypeW(root) != DRIVE_NO_ROOT_DIR;
}

// K: taken away where a failed run left it mapped, so that the next run starts on the same bed.
void UnmapK() {
  if (!Defined(L'K')) return;
  wine_mount::RemoveDrive(L'K');
  DefineDosDeviceW(DDD_REMOVE_DEFINITION, L"K:", nullptr);
}

// Holds the next subst.exe the program starts for `holdMs`, suspended: subst's listing
// announces nothing, so no slow window can hold it.
class HeldListing {
 public:
  HeldListing(DWORD parent, DWORD holdMs)
      : thread_([this, parent, holdMs] { Hold(parent, holdMs); }) {}
  ~HeldListing() {
    stop_ = true;
    thread_.join();
  }
  bool Held() const { return held_; }

 private:
  void Hold(DWORD parent, DWORD holdMs) {
    DWORD child = 0;
    while (!stop_ && child == 0) {
      const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
      PROCESSENTRY32W entry{};
      entry.dwSize = sizeof entry;
      for (BOOL more = Process32FirstW(snapshot, &entry); more && child == 0;
           more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ParentProcessID == parent && _wcsicmp(entry.szExeFile, L"subst.exe") == 0) {
          child = entry.th32ProcessID;
        }
      }
      CloseHandle(snapshot);
      if (child == 0) Sleep(1);
    }
    if (child == 0) return;
    const ULONGLONG end = GetTickCount64() + holdMs;
    std::vector<HANDLE> threads;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
      if (entry.th32OwnerProcessID != child) continue;
      if (const HANDLE t = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)) {
        if (SuspendThread(t) != static_cast<DWORD>(-1)) {
          threads.push_back(t);
        } else {
          CloseHandle(t);
        }
      }
    }
    CloseHandle(snapshot);
    held_ = !threads.empty();
    while (!stop_ && GetTickCount64() < end) Sleep(10);
    for (const HANDLE t : threads) {
      ResumeThread(t);
      CloseHandle(t);
    }
  }

  std::atomic<bool> stop_{false}, held_{false};
  std::thread thread_;
};

// One run of the commands, each with its subst held for eight seconds: Add, Remove, Make
// Permanent and Restore by a window slow to take subst's drive announcement, View's listing
// suspended.
struct CommandDelays {
  std::vector<double> add, remove, permanent, view, restore;
};

CommandDelays HeldCommands() {
  UnmapK();
  DeleteFileW((e2e::StartupFolder() + L"\\subit.bat").c_str());
  e2e::WriteInitialDataFile();
  e2e::Program program = e2e::Program::Start();
  const HWND main = program.WaitForWindow(ids::kMainWindowClass, kTitle);
  if (main == nullptr) throw std::runtime_error("no main window");
  CommandDelays d;
  try {
    if (!e2e::OpenFolder(main, kWork)) throw std::runtime_error("cannot open C:\\Work");
    Markers markers(e2e::Control(main, ids::txtPath));
    const auto boxUp = [&](HWND exclude = nullptr) {
      return [&program, exclude] { return e2e::FindBox(program.Id(), exclude) != nullptr; };
    };
    const auto pick = [&](int list) {
      if (!e2e::WaitFor([&] { return e2e::SelectLetter(e2e::Control(main, list), L'K'); })) {
        throw std::runtime_error("K: is not in its list");
      }
    };
    const auto done = [&](const char* step) {
      const e2e::Box box = BoxOf(program);
      Expect(box, L"Done!", step);
      e2e::Answer(box, IDOK);
    };
    e2e::SlowWindow slow(kHoldMs);

    pick(ids::lstAvail);
    e2e::Click(e2e::Control(main, ids::cmdOk));
    d.add = markers.Until(boxUp());
    done("Add");

    pick(ids::lstUsedLtrs);
    e2e::Click(e2e::Control(main, ids::cmdRemove));
    d.remove = markers.Until(boxUp());
    done("Remove");

    pick(ids::lstAvail);
    e2e::Click(e2e::Control(main, ids::cmdDefault));
    const e2e::Box confirm = BoxOf(program);
    Expect(confirm, L"Make Permanent?", "Make Permanent's question");
    e2e::Answer(confirm, IDOK);
    d.permanent = markers.Until(boxUp(confirm.window));
    done("Make Permanent");

    e2e::ChooseMenu(main, ids::mnuView);
    const e2e::Box notice = BoxOf(program);
    Expect(notice, L"View Virtual Drives", "View's notice");
    {
      HeldListing held(program.Id(), kHoldMs);
      e2e::Answer(notice, IDOK);
      d.view = markers.Until(boxUp(notice.window));
      if (!held.Held()) throw std::runtime_error("View's listing ended before it was held");
    }
    const e2e::Box listing = BoxOf(program, notice.window);
    Expect(listing, L"Assigned Virtual Drives", "View");
    e2e::Answer(listing, IDOK);

    e2e::ChooseMenu(main, ids::mnuRepair);
    const e2e::Box question = BoxOf(program);
    Expect(question, L"Restore QOR", "Restore's question");
    e2e::Answer(question, IDOK);
    // Restore ends without a box: its drive gone, the mask reset last, the window given back.
    d.restore = markers.Until([&] {
      try {
        return IsWindowEnabled(main) && !Defined(L'K') &&
               e2e::LetterMaskOf(e2e::ReadBytes(e2e::DataFilePath())) == e2e::kInitialMask;
      } catch (const std::exception&) {
        return false;  // being written
      }
    });
    if (e2e::FindBox(program.Id())) Unexpected(BoxOf(program), "Restore");
  } catch (...) {
    Close(program, main);
    UnmapK();
    throw;
  }
  Close(program, main);
  return d;
}

// A start with the stalled drive in use, then the drive picked in the drive list, to the box
// that says it does not answer.
void StalledStartAndPick(std::vector<double>& start, std::vector<double>& pick) {
  if (wine_mount::DefineDrive(kStalledLetter, DRIVE_REMOTE, kShare) != ERROR_SUCCESS) {
    throw std::runtime_error("the stalled drive could not be defined");
  }
  e2e::WriteText(kStallFlag, "");
  e2e::Program program = e2e::Program::Start();
  HWND main = nullptr;
  try {
    start = StartDelays(program, main);
    const HWND drives = e2e::Control(main, ids::DrvList);
    const auto items = e2e::ComboItems(drives);
    const auto n = std::find_if(items.begin(), items.end(), [](const std::wstring& item) {
      return item.size() > 1 && towupper(item[0]) == kStalledLetter && item[1] == L':';
    });
    if (n == items.end()) throw std::runtime_error("the stalled drive is not in the drive list");
    e2e::SelectComboItem(drives, static_cast<int>(n - items.begin()));
    Markers markers(e2e::Control(main, ids::txtPath));
    pick = markers.Until([&] { return e2e::FindBox(program.Id()) != nullptr; });
    const e2e::Box box = BoxOf(program);
    if (box.text.find(L"does not answer") == std::wstring::npos) {
      e2e::Answer(box, IDOK);
      throw std::runtime_error("the stalled drive's pick: box " + e2e::Narrow(box.text));
    }
    e2e::Answer(box, IDOK);
  } catch (...) {
    DeleteFileW(kStallFlag);
    Close(program, main);
    wine_mount::RemoveDrive(kStalledLetter);
    throw;
  }
  // Held calls go first: a program blocked in one may not end before.
  DeleteFileW(kStallFlag);
  Close(program, main);
  wine_mount::RemoveDrive(kStalledLetter);
}

// A row: the median of the runs' longest waits, against the median of the idle window's longest
// over as many markers as each run had.
struct WaitRow {
  explicit WaitRow(std::string name) : what(std::move(name)) {}
  std::string what;
  std::vector<double> longest, floor;
  void Add(const std::vector<double>& delays, const std::vector<double>& idle) {
    longest.push_back(Longest(delays));
    floor.push_back(Longest(idle, delays.size()));
  }
  Row Out() const {
    Row row{"Posted message's longest wait: " + what, Median(longest),
            "its window in plain calls, idle", Median(floor)};
    row.goal = kGoalMs;
    return row;
  }
};

}  // namespace

std::vector<Row> MeasureWaits(const Paths& paths, bool startOnly) {
  const std::wstring plainWindow =
      std::filesystem::path(paths.floorWindow).replace_filename(L"bench_floor_plain.exe").wstring();
  const bool stall = !startOnly && e2e::Exists(L"C:\\Remote");
  if (stall) e2e::CreateFolders(kServed);
  e2e::CreateFolders(kWork);
  WaitRow start("start, window made to ready"), add("Add, 8-s subst"), remove("Remove, 8-s subst"),
      permanent("Make Permanent, 8-s subst"), view("View, 8-s listing"),
      restore("Restore, 1 mapping, 8-s subst"), stalledStart("start with a stalled network drive"),
      stalledPick("stalled drive picked in the drive list, to its box");
  for (int run = 1; run <= kWaitRuns; ++run) {
    std::vector<double> idle;
    Measured("Posted message, idle window", run, [&] { idle = IdleDelays(plainWindow); });
    if (idle.empty()) continue;
    Measured("Posted message, start", run, [&] {
      e2e::Program program = e2e::Program::Start();
      HWND main = nullptr;
      const auto delays = StartDelays(program, main);
      Close(program, main);
      start.Add(delays, idle);
    });
    if (!startOnly) {
      Measured("Posted message, 8-s subst", run, [&] {
        const CommandDelays d = HeldCommands();
        add.Add(d.add, idle);
        remove.Add(d.remove, idle);
        permanent.Add(d.permanent, idle);
        view.Add(d.view, idle);
        restore.Add(d.restore, idle);
      });
    }
    if (stall) {
      Measured("Posted message, stalled drive", run, [&] {
        std::vector<double> startDelays, pickDelays;
        StalledStartAndPick(startDelays, pickDelays);
        stalledStart.Add(startDelays, idle);
        stalledPick.Add(pickDelays, idle);
      });
    }
    std::fprintf(stderr, "  posted message %d: idle %.0f ms", run, Longest(idle));
    for (const WaitRow* row :
         {&start, &add, &remove, &permanent, &view, &restore, &stalledStart, &stalledPick}) {
      if (static_cast<int>(row->longest.size()) == run) {
        std::fprintf(stderr, "; %s %.0f ms", row->what.c_str(), row->longest.back());
      }
    }
    std::fprintf(stderr, "\n");
  }
  RequireSamples("Posted message, start", start.longest);
  std::vector<Row> rows{start.Out()};
  if (startOnly) return rows;
  for (const WaitRow* row : {&add, &remove, &permanent, &view, &restore}) {
    RequireSamples("Posted message, " + row->what, row->longest);
    rows.push_back(row->Out());
  }
  for (const WaitRow* row : {&stalledStart, &stalledPick}) {
    rows.push_back(row->longest.empty() ? Row{"Posted message's longest wait: " + row->what, -1,
                                              "(no share that stalls in this bed)", -1}
                                        : row->Out());
  }
  return rows;
}

}  // namespace bench
