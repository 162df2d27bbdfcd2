// Every command, every port call it makes, every failure number: whatever fails, nothing is lost
// and the program keeps running.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "fakes/fakes.h"
#include "fakes/simulated_subst.h"
#include "permanent/startup_script.h"
#include "platform/text_lines.h"

namespace kestrane::fakes {
namespace {

const int kNumbers[] = {53, 68, 70, 71, 75, 76, 5};
constexpr int kMaxNth = 3;  // the first few calls of each kind are where the steps differ

struct Command {
  const char* name;
  std::function<void(Machine&)> act;
  bool loaded = true;  // start-up has run before the fault is armed
};

struct World {
  Machine m;
  SimulatedSubst subst{m};
  explicit World(bool load) {
    m.StandardSetup();
    m.drives.Add('D', DriveType::CdRom, 44, false);
    m.InstallDataFile(kInitialMask | (1 << ('P' - 'A')) | (1 << ('R' - 'A')));
    auto* data = m.files.Find(m.DataFilePath());
    for (std::size_t i = 0; i < data->bytes.size(); ++i) {
      if (i % kRecordLength < 116 || i % kRecordLength >= 120 || i < kRecordLength) {
        data->bytes[i] = static_cast<std::uint8_t>(i * 13 + 1);
      }
    }
    m.files.AddText(m.BatchPath(),
                    "echo on\r\nsubst P: \"C:\\Work\"\r\nsubst R: \"C:\\Windows\"\r\n");
    subst.Map('P', "C:\\Work");
    subst.Map('R', "C:\\Windows");
    if (load) {
      EXPECT_TRUE(m.Load());
      m.Choose("C:\\Work");
    }
    m.dialogs.boxes.clear();
    m.faults.Clear();
  }
};

std::vector<Command> Commands() {
  return {
      {"Startup", [](Machine& m) { m.Load(); }, false},
      {"Add",
       [](Machine& m) {
         m.Pick(ControlId::lstAvail, "E:");
         m.form.cmdOk_Click();
       }},
      {"RemovePermanentYes",
       [](Machine& m) {
         m.Pick(ControlId::lstUsedLtrs, "P:");
         m.dialogs.answers = {Answer::Yes};
         m.form.cmdRemove_Click();
       }},
      {"RemovePermanentNo",
       [](Machine& m) {
         m.Pick(ControlId::lstUsedLtrs, "P:");
         m.dialogs.answers = {Answer::No};
         m.form.cmdRemove_Click();
       }},
      {"RemovePermanentCancel",
       [](Machine& m) {
         m.Pick(ControlId::lstUsedLtrs, "P:");
         m.dialogs.answers = {Answer::Cancel};
         m.form.cmdRemove_Click();
       }},
      {"MakePermanent",
       [](Machine& m) {
         m.Pick(ControlId::lstAvail, "E:");
         m.form.cmdDefault_Click();
       }},
      {"Restore", [](Machine& m) { m.form.mnuRepair_Click(); }},
      {"View", [](Machine& m) { m.form.mnuView_Click(); }},
      {"HiddenFolder",
       [](Machine& m) {
         m.dialogs.inputs = {"Work"};
         m.form.dirList_MouseDown(kRightButton, kAltMask);
       }},
      {"OpenFolder",
       [](Machine& m) {
         m.form.FolderListOpen(0);  // up to the root
       }},
      {"DriveChange",
       [](Machine& m) {
         m.form.DriveListPick(1);  // the empty CD-ROM drive
       }},
  };
}

struct Snapshot {
  Bytes data;
  std::optional<std::string> batch;
  std::int32_t mask = 0;
};

Snapshot Take(const Machine& m) {
  const auto* e = m.files.Find(m.DataFilePath());
  Snapshot s{e ? e->bytes : Bytes{}, m.files.TextOf(m.BatchPath()), m.StoredMask()};
  return s;
}

class FaultSweep : public ::testing::TestWithParam<Command> {
 protected:
  int runs_ = 0;
  int checks_ = 0;

  void Check(bool ok, const std::string& what) {
    ++checks_;
    EXPECT_TRUE(ok) << what;
  }

  void Invariants(const Machine& m, const Snapshot& before, const Snapshot& clean,
                  const std::string& where, bool deleteFailed) {
    const Snapshot now = Take(m);
    // The data file: only bytes 116 to 119 of record 2 may change, and only to a mask the
    // command's completed steps produce.
    Check(now.data.size() == before.data.size(), where + ": data file size");
    bool fieldsKept = now.data.size() == before.data.size();
    for (std::size_t i = 0; fieldsKept && i < now.data.size(); ++i) {
      const bool maskByte = i >= kRecordLength + 116 && i < kRecordLength + 120;
      if (!maskByte && now.data[i] != before.data[i]) fieldsKept = false;
    }
    Check(fieldsKept, where + ": data file bytes outside the mask changed");
    Check(now.mask == before.mask || now.mask == clean.mask,
          where + ": mask " + std::to_string(now.mask));
    // The batch file: old or new content, never part of either.
    Check(now.batch == before.batch || now.batch == clean.batch, where + ": subit.bat torn");
    // A letter has its line exactly when it has its bit, whatever step failed.
    const std::vector<std::string> lines = SplitLines(now.batch.value_or(""));
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      const bool line = std::any_of(lines.begin(), lines.end(), [letter](const std::string& l) {
        return NamesLetter(l, letter);
      });
      Check(
          line == LetterIsSet(now.mask, letter),
          where + ": " + letter + ": has " + (line ? "its line without its bit" : "its bit alone"));
    }
    // No scratch or capture file is left behind.
    bool leftover = false;
    for (const auto& [key, entry] : m.files.files) {
      if (key.ends_with("\\TEMP") || key.ends_with("\\TEMP.DAT") ||
          key.find(".TMP") != std::string::npos) {
        leftover = true;
      }
    }
    // A scratch file survives only when deleting it is what failed.
    Check(!leftover || deleteFailed, where + ": scratch or capture file left behind");
  }
};

TEST_P(FaultSweep, NothingIsLostAndTheProgramRunsOn) {
  const Command& command = GetParam();
  World cleanWorld(command.loaded);
  const Snapshot before = Take(cleanWorld.m);
  command.act(cleanWorld.m);
  const Snapshot clean = Take(cleanWorld.m);
  const auto counts = cleanWorld.m.faults.Counts();

  for (const auto& [call, count] : counts) {
    if (IsDialogCall(call)) continue;
    for (int nth = 1; nth <= std::min(count, kMaxNth); ++nth) {
      for (int number : kNumbers) {
        const std::string where = std::string(command.name) + " / " + NameOf(call) + " #" +
                                  std::to_string(nth) + " fails with " + std::to_string(number);
        World w(command.loaded);
        w.m.faults.Arm(call, nth, number);
        ++runs_;
        bool escaped = false;
        try {
          command.act(w.m);
        } catch (const std::exception&) {
          escaped = true;
        }
        Check(!escaped, where + ": a failure escaped the handler");
        const bool endedBy255 = !w.m.dialogs.boxes.empty() &&
                                w.m.dialogs.boxes.back().body.starts_with("There is a missing");
        Check(!w.m.controls.ended || (!command.loaded && endedBy255), where + ": program ended");
        Check(w.m.controls.pointer == MousePointer::Default, where + ": pointer left as hourglass");
        Invariants(w.m, before, clean, where, call == Call::FilesDelete);
      }
    }
  }
  std::printf("[ sweep    ] %s: %d runs, %d invariant checks\n", command.name, runs_, checks_);
}

INSTANTIATE_TEST_SUITE_P(Commands, FaultSweep, ::testing::ValuesIn(Commands()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kestrane::fakes
