// Add, Remove, View and Restore in one running program, each against the processes it cannot
// do without, measured side by side on the same bed.

#include <cstdio>
#include <stdexcept>
#include <thread>

#include "app/control_ids.h"
#include "e2e_support.h"
#include "processes.h"
#include "product.h"
#include "wine_mount.h"

namespace bench {

namespace {

namespace ids = kestrane::ids;

constexpr wchar_t kSubst[] = L"C:\\windows\\system32\\subst.exe";
constexpr wchar_t kWork[] = L"C:\\Work";
constexpr wchar_t kBench[] = L"C:\\Bench";
constexpr wchar_t kImage[] = L"kestrane.exe";

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

class Session {
 public:
  Session() : program_(e2e::Program::Start()) {
    main_ = program_.WaitForWindow(ids::kMainWindowClass, L"Kestrane - Pro");
    if (main_ == nullptr) throw std::runtime_error("no main window");
    process_ = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program_.Id());
  }
  ~Session() {
    if (process_) CloseHandle(process_);
  }
  double Cpu() const { return CpuTimeMs(process_, kImage).ms; }
  const char* CpuSource() const { return CpuTimeMs(process_, kImage).source; }
  double PeakMiB() const { return PeakWorkingSetMiB(process_); }

  // Click to the "Done!" box; the program's CPU over that span goes to `cpu`.
  double AddOrRemove(int list, int button, wchar_t letter, double& cpu) {
    if (!e2e::SelectLetter(e2e::Control(main_, list), letter)) {
      throw std::runtime_error("letter not in its list");
    }
    const double cpuBefore = Cpu();
    const double start = NowMs();
    e2e::Click(e2e::Control(main_, button));
    const e2e::Box done = NextBox(program_);
    const double elapsed = NowMs() - start;
    cpu = Cpu() - cpuBefore;
    if (done.title != L"Done!") throw std::runtime_error("Add or Remove did not say Done!");
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
    if (listing.title != L"Assigned Virtual Drives") throw std::runtime_error("no listing");
    Dismiss(listing);
    return elapsed;
  }

  // OK on Restore's question to its end: every mapping gone and the letter mask reset, which it
  // writes last.
  double Restore(const std::wstring& letters) {
    e2e::WriteDataFileWithMask(e2e::kInitialMask | 1 << (letters[0] - L'A'));
    e2e::ChooseMenu(main_, ids::mnuRepair);
    const e2e::Box confirm = NextBox(program_);
    if (confirm.title != L"Restore QOR") {
      throw std::runtime_error("Restore's question did not come; the program said " +
                               e2e::Narrow(confirm.title) + ": " + e2e::Narrow(confirm.text));
    }
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

 private:
  e2e::Program program_;
  HWND main_ = nullptr;
  HANDLE process_ = nullptr;
};

// What a "Done!" box costs by itself: MessageBox called on a thread of this process until the box
// is visible. Add and Remove cannot do without one, so their floors include it.
double BoxMs() {
  double start = 0;
  std::thread shower([&start] {
    start = NowMs();
    MessageBoxW(nullptr, L"Operation Completed!", L"Done!", MB_OK);
  });
  HWND found = nullptr;
  Poll([&] { return (found = e2e::FindBox(GetCurrentProcessId())) != nullptr; }, 30000);
  const double elapsed = NowMs() - start;
  if (found) PostMessageW(found, WM_COMMAND, IDOK, 0);
  shower.join();
  return elapsed;
}

double Floor(const std::vector<std::wstring>& commands) {
  double total = 0;
  for (const auto& command : commands) total += RunHiddenMs(command, Hidden::HiddenConsole, kBench);
  return total;
}

std::wstring Letters(int count) { return std::wstring(L"KLMNOPQRST").substr(0, count); }

Row MeasureRestore(Session& session, int count) {
  const std::wstring letters = Letters(count);
  std::vector<double> product, floor;
  for (int run = 0; run < kRestoreRuns; ++run) {
    for (wchar_t letter : letters) Map(letter);
    // What Restore cannot do without: the listing, then one removal per mapping.
    std::vector<std::wstring> commands = {L"cmd.exe /C subst.exe > temp"};
    for (wchar_t letter : letters) {
      commands.push_back(std::wstring(L"cmd.exe /C subst.exe ") + letter + L": /D");
    }
    floor.push_back(Floor(commands));
    for (wchar_t letter : letters) Map(letter);
    product.push_back(session.Restore(letters));
    std::fprintf(stderr, "  restore %d, %d mappings: %.0f ms (floor %.0f ms)\n", run + 1, count,
                 product.back(), floor.back());
  }
  return {"Restore, " + std::to_string(count) + " mapping" + (count > 1 ? "s" : ""),
          Median(product), std::to_string(count + 1) + " hidden cmd /C subst runs", Median(floor)};
}

}  // namespace

std::vector<Row> MeasureOperations() {
  e2e::WriteInitialDataFile();
  e2e::CreateFolders(kWork);
  e2e::CreateFolders(kBench);
  Session session;
  std::vector<Row> rows;

  const double idleBefore = session.Cpu();
  Sleep(2000);
  const double idleCpu = session.Cpu() - idleBefore;

  if (!e2e::OpenFolder(session.Main(), kWork)) throw std::runtime_error("cannot open C:\\Work");
  // The floors run the very command the program runs, on a spare letter: subst's own work of
  // making and dropping a mapping is the platform's, not ours.
  const std::wstring mapSpare = std::wstring(kSubst) + L" L: \"" + kBench + L"\"";
  const std::wstring dropSpare = std::wstring(kSubst) + L" L: /D";
  std::vector<double> add, remove, addFloor, removeFloor, addCpu, box;
  for (int run = 0; run < kRuns; ++run) {
    // All the work the command cannot avoid, in this run: subst started detached and waited
    // for, then one message box up.
    addFloor.push_back(RunHiddenMs(mapSpare, Hidden::Detached) + BoxMs());
    removeFloor.push_back(RunHiddenMs(dropSpare, Hidden::Detached) + BoxMs());
    box.push_back(BoxMs());
    double cpu = 0, unused = 0;
    add.push_back(session.AddOrRemove(ids::lstAvail, ids::cmdOk, L'K', cpu));
    addCpu.push_back(cpu);
    remove.push_back(session.AddOrRemove(ids::lstUsedLtrs, ids::cmdRemove, L'K', unused));
    std::fprintf(stderr, "  add %d: %.0f ms (floor %.0f ms), remove %.0f ms (floor %.0f ms)\n",
                 run + 1, add.back(), addFloor.back(), remove.back(), removeFloor.back());
  }
  const std::string mapName = "detached subst.exe L: \"folder\", then a box";
  const std::string dropName = "detached subst.exe L: /D, then a box";
  rows.push_back({"Add, click to \"Done!\"", Median(add), mapName, Median(addFloor)});
  rows.push_back({"Remove, click to \"Done!\"", Median(remove), dropName, Median(removeFloor)});
  rows.push_back({"(a message box alone, call to shown)", Median(box), "", -1});

  const std::wstring five = Letters(5);
  for (wchar_t letter : five) Map(letter);
  std::vector<double> view, viewFloor;
  for (int run = 0; run < kRuns; ++run) {
    viewFloor.push_back(Floor({L"cmd.exe /C subst.exe > temp"}));
    view.push_back(session.View());
    std::fprintf(stderr, "  view %d: %.0f ms (floor %.0f ms)\n", run + 1, view.back(),
                 viewFloor.back());
  }
  for (wchar_t letter : five)
    RunHiddenMs(std::wstring(kSubst) + L" " + letter + L": /D", Hidden::Detached);
  rows.push_back({"View, 5 mappings, OK to listing", Median(view), "hidden cmd /C subst > file",
                  Median(viewFloor)});

  for (int count : {1, 5, 10}) rows.push_back(MeasureRestore(session, count));

  const std::string cpuSource = session.CpuSource();
  rows.push_back({"CPU of kestrane.exe over 2 s idle", idleCpu, "", -1, "ms CPU"});
  rows.push_back({"CPU of kestrane.exe over Add's wait (median, " + cpuSource + ")", Median(addCpu),
                  "", -1, "ms CPU"});
  rows.push_back({"Peak working set of kestrane.exe", session.PeakMiB(), "", -1, "MiB"});
  return rows;
}

}  // namespace bench
