// Add, Remove, View and Restore, each against the work it cannot do without, measured side by
// side on the same bed. A floor runs its commands through the program's own process adapter, so
// they start and are waited for exactly as the program starts them and waits for them. It runs
// while no copy of the program is open: subst announces every drive it makes or removes to all
// windows and waits for their answers, and an open program answers another program's
// announcement by listing the letters again, work of its own that no floor may hold.

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <thread>

#include "app/control_ids.h"
#include "drives/subst_runner.h"
#include "e2e_support.h"
#include "processes.h"
#include "product.h"
#include "win32/platform/win32_processes.h"
#include "wine_mount.h"

namespace bench {

namespace {

namespace ids = kestrane::ids;

constexpr wchar_t kWork[] = L"C:\\Work";
constexpr wchar_t kImage[] = L"kestrane.exe";
constexpr int kLimitMs = 30000;
// The spare letter the floors map, as the program writes its arguments.
constexpr char kMapSpare[] = "L: \"C:\\Bench\"";
constexpr char kDropSpare[] = "L: /D";

std::wstring Root(wchar_t letter) { return {letter, L':', L'\\'}; }
bool Defined(wchar_t letter) { return GetDriveTypeW(Root(letter).c_str()) != DRIVE_NO_ROOT_DIR; }

// A mapping as our subst.exe makes one (a DOS device link and a mount-manager drive), made in
// this process: three hundred milliseconds of process start per mapping would double the bench.
void Map(wchar_t letter) {
  const wchar_t device[] = {letter, L':', 0};
  if (!DefineDosDeviceW(0, device, kWork) ||
      wine_mount::DefineDrive(letter, DRIVE_FIXED, kWork) != ERROR_SUCCESS || !Defined(letter)) {
    throw std::runtime_error("a mapping for the bench was not made");
  }
}

// Waits, finely, for a message box of the program other than `exclude`; then reads it.
e2e::Box NextBox(const e2e::Program& program, HWND exclude = nullptr) {
  Poll([&] { return e2e::FindBox(program.Id(), exclude) != nullptr; }, 30000);
  auto box = e2e::WaitForBox(program, e2e::kStepLimit, exclude);
  if (!box) throw std::runtime_error("no box from the program");
  return *box;
}

void Dismiss(const e2e::Box& box) {
  if (!e2e::Answer(box, IDOK)) throw std::runtime_error("a box did not close");
}

// A box that is not the one a step waits for is answered before the step fails, so that the
// program can close and the sample be measured again.
[[noreturn]] void Unexpected(const e2e::Box& box, const std::string& step) {
  e2e::Answer(box, box.Has(IDOK) ? IDOK : IDCANCEL);
  throw std::runtime_error(step + ": box \"" + e2e::Narrow(box.title) + "\" " +
                           e2e::Narrow(box.text));
}

// Takes away mappings that a failed sample left, so that the next one starts on the same bed.
void Unmap(const std::wstring& letters) {
  for (wchar_t letter : letters) {
    if (!Defined(letter)) continue;
    const wchar_t device[] = {letter, L':', 0};
    wine_mount::RemoveDrive(letter);
    DefineDosDeviceW(DDD_REMOVE_DEFINITION, device, nullptr);
  }
}

class Session {
 public:
  Session() : program_(e2e::Program::Start()) {
    main_ = program_.WaitForWindow(ids::kMainWindowClass, L"Kestrane - Pro");
    if (main_ == nullptr) throw std::runtime_error("no main window");
    process_ = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program_.Id());
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  // Closed as a user closes it, so that the floor after it meets no window of the program; a
  // box that a failed step left open is answered first.
  ~Session() {
    if (process_) CloseHandle(process_);
    if (!e2e::CloseAsUser(program_, main_)) {
      std::fprintf(stderr, "  (the program did not close; ended)\n");
    }
  }
  double Cpu() const { return CpuTimeMs(process_, kImage).ms; }
  const char* CpuSource() const { return CpuTimeMs(process_, kImage).source; }
  double PeakMiB() const { return PeakWorkingSetMiB(process_); }

  // Click to the "Done!" box; the program's CPU over that span goes to `cpu`.
  double AddOrRemove(int list, int button, wchar_t letter, double& cpu) {
    // The lists are filled anew after each drive announcement; a row may be read mid-fill.
    if (!e2e::WaitFor([&] { return e2e::SelectLetter(e2e::Control(main_, list), letter); })) {
      throw std::runtime_error(std::string(list == ids::lstAvail ? "Add: " : "Remove: ") +
                               static_cast<char>(letter) + ": not in its list");
    }
    const double cpuBefore = Cpu();
    const double start = NowMs();
    e2e::Click(e2e::Control(main_, button));
    const e2e::Box done = NextBox(program_);
    const double elapsed = NowMs() - start;
    cpu = Cpu() - cpuBefore;
    if (done.title != L"Done!") Unexpected(done, button == ids::cmdOk ? "Add" : "Remove");
    Dismiss(done);
    return elapsed;
  }

  // OK on View's notice to the listing's box.
  double View() {
    e2e::ChooseMenu(main_, ids::mnuView);
    const e2e::Box notice = NextBox(program_);
    const double start = NowMs();
    Dismiss(notice);
    const e2e::Box listing = NextBox(program_, notice.window);
    const double elapsed = NowMs() - start;
    if (listing.title != L"Assigned Virtual Drives") Unexpected(listing, "View");
    Dismiss(listing);
    return elapsed;
  }

  // OK on Restore's question to its end: every mapping gone and the letter mask reset, which it
  // writes last.
  double Restore(const std::wstring& letters) {
    e2e::WriteDataFileWithMask(e2e::kInitialMask | 1 << (letters[0] - L'A'));
    e2e::ChooseMenu(main_, ids::mnuRepair);
    const e2e::Box confirm = NextBox(program_);
    if (confirm.title != L"Restore QOR") Unexpected(confirm, "Restore's question");
    const double start = NowMs();
    Dismiss(confirm);
    const bool ended = Poll(
        [] {
          try {
            return e2e::LetterMaskOf(e2e::ReadBytes(e2e::DataFilePath())) == e2e::kInitialMask;
          } catch (const std::exception&) {
            return false;  // being written
          }
        },
        60000);
    const double elapsed = NowMs() - start;
    if (!ended) {
      const auto box = e2e::WaitForBox(program_, e2e::kStepLimit, confirm.window);
      throw std::runtime_error("Restore did not reset the mask" +
                               (box ? ": it said " + e2e::Narrow(box->text) : std::string()));
    }
    for (wchar_t letter : letters) {
      if (Defined(letter)) throw std::runtime_error("Restore left a mapping");
    }
    return elapsed;
  }

  HWND Main() const { return main_; }
  bool Alive() const { return IsWindow(main_) != FALSE; }

 private:
  e2e::Program program_;
  HWND main_ = nullptr;
  HANDLE process_ = nullptr;
};

// What a box costs by itself, shown as the program shows its own: on a thread that has shown a
// box before and owns the window the box belongs to, from the call until the box is visible.
// Add, Remove and View cannot do without one, so their floors include it. A thread's first box
// also pays for the thread's queue and its first window, which the program's thread has long
// had: a box on a new thread costs a third more.
class BoxThread {
 public:
  BoxThread() {
    thread_ = std::thread([this] { Run(); });
    Poll([this] { return ready_.load(); }, 10000);
    Show();  // the thread's first box, not counted
  }
  BoxThread(const BoxThread&) = delete;
  BoxThread& operator=(const BoxThread&) = delete;
  ~BoxThread() {
    PostThreadMessageW(id_, WM_QUIT, 0, 0);
    thread_.join();
  }
  double Show() {
    shownAt_ = -1;
    PostThreadMessageW(id_, kShowBox, 0, 0);
    HWND found = nullptr;
    Poll([&] { return (found = e2e::FindBox(GetCurrentProcessId())) != nullptr; }, 30000);
    const double elapsed = NowMs() - shownAt_;
    if (found == nullptr) throw std::runtime_error("a floor's box did not show");
    PostMessageW(found, WM_COMMAND, IDOK, 0);
    Poll([&] { return e2e::FindBox(GetCurrentProcessId()) == nullptr; }, 30000);
    return elapsed;
  }

 private:
  static constexpr UINT kShowBox = WM_APP;
  void Run() {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue, before anyone posts to it
    id_ = GetCurrentThreadId();
    const HWND owner =
        CreateWindowExW(0, L"STATIC", L"Bench Floor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                        100, nullptr, nullptr, nullptr, nullptr);
    ready_ = true;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (msg.message == kShowBox && msg.hwnd == nullptr) {
        shownAt_ = NowMs();
        MessageBoxW(owner, L"Operation Completed!", L"Done!", MB_OK);
        continue;
      }
      DispatchMessageW(&msg);
    }
    DestroyWindow(owner);
  }

  std::thread thread_;
  std::atomic<bool> ready_{false};
  std::atomic<double> shownAt_{-1};
  std::atomic<DWORD> id_{0};
};

// A box on a thread of its own made for it, warmed by a first box. The thread goes with it: a
// window of this process would be one more that subst's announcement waits for.
double BoxMs() { return BoxThread().Show(); }

kestrane::win32::Win32Processes processes;

std::string SystemFolder() {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  return e2e::Narrow(system);
}

// The system folder's subst started hidden and detached in that folder and waited for, as the
// program runs it.
kestrane::ProcessOutcome Subst(const std::string& arguments) {
  const std::string system = SystemFolder();
  return processes.RunHidden(kestrane::SubstCommandLine(system, arguments), system, kLimitMs);
}

double SubstMs(const char* arguments) {
  const double start = NowMs();
  const kestrane::ProcessOutcome run = Subst(arguments);
  const double elapsed = NowMs() - start;
  if (!run.finished || run.exitCode != 0) throw std::runtime_error("a floor's subst failed");
  return elapsed;
}

// subst's listing read from its output: what View and Restore start with.
void Listing() {
  const std::string system = SystemFolder();
  const kestrane::CapturedRun listing =
      processes.RunCaptured(kestrane::SubstCommandLine(system, ""), system, kLimitMs);
  if (!listing.run.finished) throw std::runtime_error("a floor's listing did not end");
}

std::wstring Letters(int count) { return std::wstring(L"KLMNOPQRST").substr(0, count); }

// The listing, one removal per mapping, and the letter mask written back.
double RestoreFloorMs(const std::wstring& letters) {
  const double start = NowMs();
  Listing();
  for (wchar_t letter : letters) {
    if (!Subst(std::string(1, static_cast<char>(letter)) + ": /D").finished) {
      throw std::runtime_error("a floor's removal did not end");
    }
  }
  e2e::WriteDataFileWithMask(e2e::kInitialMask);
  return NowMs() - start;
}

Row MeasureRestore(int count, double& peakMiB) {
  const std::wstring letters = Letters(count);
  const std::string measure =
      "Restore, " + std::to_string(count) + " mapping" + (count > 1 ? "s" : "");
  std::vector<double> product, floor;
  for (int run = 1; run <= kRestoreRuns; ++run) {
    Measured(measure, run, [&] {
      Unmap(letters);
      for (wchar_t letter : letters) Map(letter);
      const double floorMs = RestoreFloorMs(letters);
      for (wchar_t letter : letters) {
        if (Defined(letter)) throw std::runtime_error("the floor left a mapping");
        Map(letter);
      }
      Session session;
      session.View();  // the session's first listing, not Restore's
      const double productMs = session.Restore(letters);
      peakMiB = std::max(peakMiB, session.PeakMiB());
      product.push_back(productMs);
      floor.push_back(floorMs);
      std::fprintf(stderr, "  restore %d, %d mappings: %.0f ms (floor %.0f ms)\n", run, count,
                   productMs, floorMs);
    });
  }
  Unmap(letters);
  RequireSamples(measure, product);
  return {measure, Median(product),
          "listing, " + std::to_string(count) + " subst /D as the program runs them, mask",
          Median(floor)};
}

}  // namespace

std::vector<Row> MeasureOperations() {
  e2e::WriteInitialDataFile();
  e2e::CreateFolders(kWork);
  e2e::CreateFolders(L"C:\\Bench");
  std::vector<Row> rows;
  double idleCpu = 0, peakMiB = 0;
  std::string cpuSource;
  {
    Session session;
    const double idleBefore = session.Cpu();
    Sleep(2000);
    idleCpu = session.Cpu() - idleBefore;
    cpuSource = session.CpuSource();
  }

  std::vector<double> add, remove, addFloor, removeFloor, addCpu, box;
  for (int run = 1; run <= kRuns; ++run) {
    Measured("Add and Remove", run, [&] {
      Unmap(L"KLM");
      // All the work the command cannot avoid, in this run: subst as the program runs it, then
      // one message box up.
      const double mapFloor = SubstMs(kMapSpare) + BoxMs();
      const double dropFloor = SubstMs(kDropSpare) + BoxMs();
      const double boxAlone = BoxMs();
      Session session;
      if (!e2e::OpenFolder(session.Main(), kWork)) {
        throw std::runtime_error("cannot open C:\\Work");
      }
      double cpu = 0, unused = 0;
      // A first Add and Remove in a new process: its first subst and its first box.
      session.AddOrRemove(ids::lstAvail, ids::cmdOk, L'M', unused);
      session.AddOrRemove(ids::lstUsedLtrs, ids::cmdRemove, L'M', unused);
      const double added = session.AddOrRemove(ids::lstAvail, ids::cmdOk, L'K', cpu);
      const double removed = session.AddOrRemove(ids::lstUsedLtrs, ids::cmdRemove, L'K', unused);
      peakMiB = std::max(peakMiB, session.PeakMiB());
      add.push_back(added);
      remove.push_back(removed);
      addFloor.push_back(mapFloor);
      removeFloor.push_back(dropFloor);
      addCpu.push_back(cpu);
      box.push_back(boxAlone);
      std::fprintf(stderr, "  add %d: %.0f ms (floor %.0f ms), remove %.0f ms (floor %.0f ms)\n",
                   run, added, mapFloor, removed, dropFloor);
    });
  }
  Unmap(L"KLM");
  RequireSamples("Add and Remove", add);
  const std::string mapName = "subst L: \"folder\" as the program runs it, then a box";
  const std::string dropName = "subst L: /D as the program runs it, then a box";
  rows.push_back({"Add, click to \"Done!\"", Median(add), mapName, Median(addFloor)});
  rows.push_back({"Remove, click to \"Done!\"", Median(remove), dropName, Median(removeFloor)});
  rows.push_back({"(a message box alone, call to shown)", Median(box), "", -1});

  const std::wstring five = Letters(5);
  for (wchar_t letter : five) Map(letter);
  std::vector<double> view, viewFloor;
  {
    std::optional<Session> session;
    for (int run = 1; run <= kRuns; ++run) {
      Measured("View", run, [&] {
        if (!session || !session->Alive()) {
          session.reset();
          session.emplace();
          session->View();  // the session's first listing, not a measured one
        }
        // The listing makes no announcement: the open program plays no part in this floor.
        const double start = NowMs();
        Listing();
        const double floorMs = NowMs() - start + BoxMs();
        const double viewMs = session->View();
        viewFloor.push_back(floorMs);
        view.push_back(viewMs);
        std::fprintf(stderr, "  view %d: %.0f ms (floor %.0f ms)\n", run, viewMs, floorMs);
      });
    }
    if (session) peakMiB = std::max(peakMiB, session->PeakMiB());
  }
  RequireSamples("View", view);
  Unmap(five);
  rows.push_back({"View, 5 mappings, OK to listing", Median(view),
                  "subst's listing as the program reads it, then a box", Median(viewFloor)});

  for (int count : {1, 5, 10}) rows.push_back(MeasureRestore(count, peakMiB));

  rows.push_back({"CPU of kestrane.exe over 2 s idle", idleCpu, "", -1, "ms CPU"});
  rows.push_back({"CPU of kestrane.exe over Add's wait (median, " + cpuSource + ")", Median(addCpu),
                  "", -1, "ms CPU"});
  rows.push_back({"Peak working set of kestrane.exe", peakMiB, "", -1, "MiB"});
  return rows;
}

}  // namespace bench
