// bench_driver: runs in a prepared Wine bed (the program installed, our subst.exe in system32),
// measures every figure against its floor, and prints one table, also written as Markdown.
// Usage: bench_driver FLOOR_WINDOW_EXE INSTALLER_EXE MARKDOWN_OUT MACHINE [start | soak ROUNDS]
// With "start", only the start and its profile are measured; "soak" runs the soak instead.

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "e2e_support.h"
#include "processes.h"
#include "product.h"

namespace {

using bench::Row;

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, value >= 100 ? "%.0f" : value >= 10 ? "%.1f" : "%.3g", value);
  return text;
}

// The target a row's ratio is held to, or 0 where none is set.
double TargetOf(const std::string& what) {
  if (what.rfind("Start", 0) == 0) return 1.1;
  if (what.rfind("Add", 0) == 0 || what.rfind("Remove", 0) == 0) return 1.1;
  if (what == "Restore, 10 mappings") return 1.5;
  return 0;
}

std::string Table(const std::vector<Row>& rows, const std::string& machine) {
  std::ostringstream out;
  out << "Machine: " << machine << "; medians of " << bench::kRuns
      << " runs (Restore: " << bench::kRestoreRuns
      << "; a posted message's longest wait: " << bench::kWaitRuns << ").\n\n";
  out << "| Measure | Median | Floor | Floor median | Ratio | Target |\n";
  out << "|---|---:|---|---:|---:|---|\n";
  for (const Row& row : rows) {
    const std::string value = row.value < 0 ? "n/a" : Number(row.value) + " " + row.unit;
    out << "| " << row.what << " | " << value << " | " << row.floorName << " | ";
    if (row.floor > 0) {
      const double ratio = row.value / row.floor;
      out << Number(row.floor) << " " << row.unit << " | " << Number(ratio) << "x | ";
      if (row.goal > 0) {
        out << "<= " << Number(row.goal) << " " << row.unit << " "
            << (row.value <= row.goal ? "met" : "MISSED");
      } else if (const double target = TargetOf(row.what); target > 0) {
        out << "<= " << Number(target) << "x " << (ratio <= target ? "met" : "MISSED");
      }
    } else {
      out << " | | ";
    }
    out << " |\n";
  }
  if (!bench::Remeasured().empty()) out << "\n";
  for (const std::string& line : bench::Remeasured()) out << "- " << line << "\n";
  return out.str();
}

}  // namespace

std::vector<std::string>& bench::Remeasured() {
  static std::vector<std::string> lines;
  return lines;
}

int wmain(int argc, wchar_t** argv) {
  const bool startOnly = argc == 6 && std::wstring(argv[5]) == L"start";
  const int soakRounds = argc == 7 && std::wstring(argv[5]) == L"soak" ? _wtoi(argv[6]) : 0;
  if (argc != 5 && !startOnly && soakRounds <= 0) {
    std::fprintf(stderr,
                 "usage: bench_driver FLOOR_WINDOW_EXE INSTALLER_EXE MARKDOWN_OUT MACHINE "
                 "[start | soak ROUNDS]\n");
    return 2;
  }
  const bench::Paths paths{argv[1], argv[2], argv[3]};
  std::string machine;
  for (const wchar_t* c = argv[4]; *c; ++c) machine += static_cast<char>(*c);
  try {
    if (soakRounds > 0) return bench::RunSoak(soakRounds);
    std::vector<Row> rows;
    std::fprintf(stderr, "start to ready window\n");
    for (Row& row : bench::MeasureStart(paths)) rows.push_back(row);
    rows.push_back(bench::MeasureProbeWorkers());
    if (!startOnly) {
      std::fprintf(stderr, "add, remove, view, restore\n");
      for (Row& row : bench::MeasureOperations()) rows.push_back(row);
      std::fprintf(stderr, "letter listing\n");
      for (int drives : {2, 6, 12}) rows.push_back(bench::MeasureLetterListing(drives));
    }
    std::fprintf(stderr, "posted messages: the window's longest wait\n");
    for (Row& row : bench::MeasureWaits(paths, startOnly)) rows.push_back(row);
    for (Row& row : rows) {
      if (row.what.rfind("Letter listing", 0) == 0) {
        row.value *= 1000;
        row.floor *= 1000;
        row.unit = "us";
      }
    }
    rows.push_back(
        {"Size of kestrane.exe", bench::FileSizeKiB(e2e::InstalledExe()), "", -1, "KiB"});
    rows.push_back({"Size of the installer", bench::FileSizeKiB(paths.installer), "", -1, "KiB"});
    const std::string table = Table(rows, machine);
    std::fputs(table.c_str(), stdout);
    std::ofstream markdown(std::filesystem::path(paths.markdown), std::ios::binary);
    markdown << "# Kestrane benchmark\n\n" << table;
    return markdown ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench: %s\n", e.what());
    return 1;
  }
}
